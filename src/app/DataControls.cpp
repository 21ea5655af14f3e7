#include "app/DataControls.h"

#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordListModel.h"
#include "app/WordSelection.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

WordGrid::WordGrid(QWidget *parent) : QTableView(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(false);
    setTabKeyNavigation(false);
    // 147k rows of one height: fixed sections keep scrolling and jumping O(1).
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setFrameShape(QFrame::NoFrame);
}

void WordGrid::setTable(DictionaryTable *table)
{
    m_model = new HeadwordListModel(table, this);
    setModel(m_model);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
}

void WordGrid::setColumnWidthPx(int width)
{
    setColumnWidth(0, width);
}

void WordGrid::showRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    m_following = true;
    const QModelIndex index = model()->index(row, 0);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    m_following = false;
}

void WordGrid::centerCurrent()
{
    const QModelIndex index = currentIndex();
    if (index.isValid())
        scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void WordGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_following && current.isValid() && current.row() != previous.row())
        emit rowChosen(current.row());
}

void WordGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    emit entered();
}

void SearchEdit::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event);
    QLineEdit::keyPressEvent(event);
}

void HeadwordLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

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

DataLink::DataLink(DictionaryTable *table, WordGrid *grid, HeadwordLabel *label, EntryView *view, QObject *parent)
    : QObject(parent), m_table(table), m_grid(grid), m_label(label), m_view(view)
{
    connect(table, &DictionaryTable::dataChanged, this, &DataLink::refresh);
}

void DataLink::refresh()
{
    const int row = m_table->currentRow();
    m_grid->showRow(row);
    m_label->setText(row < 0 ? QString() : m_table->currentHeadword());
    m_label->adjustSize();
    m_view->setEntry(row, row < 0 ? QString() : m_table->currentEntry());
}
