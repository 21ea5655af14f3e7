#include "app/EntryView.h"

#include "editing/WordSelection.h"

#include <QMouseEvent>

EntryView::EntryView(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void EntryView::setEntry(int row, const QString &html)
{
    if (row == m_row)
        return;
    m_row = row;
    // Marks of found words belong to the entry they were made for.
    setExtraSelections({});
    setHtml(html);
}

void EntryView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    // Our own word rule: inner apostrophes and hyphens belong to the word, trailing blanks do not.
    setTextCursor(wordCursorAt(this, event->position().toPoint()));
    event->accept();
    emit doubleClicked();
}
