#include "editing/WordSelection.h"

#include "text/WordSpan.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

QTextCursor wordCursorAt(const QTextEdit *edit, const QPoint &viewportPos)
{
    const QTextDocument *doc = edit->document();
    const QAbstractTextDocumentLayout *docLayout = doc->documentLayout();

    // Viewport to document coordinates, as the text edit itself maps them.
    const QScrollBar *hbar = edit->horizontalScrollBar();
    const int dx = edit->isRightToLeft() ? hbar->maximum() - hbar->value() : hbar->value();
    const QPointF docPoint = QPointF(viewportPos) + QPointF(dx, edit->verticalScrollBar()->value());

    const int hit = qMax(0, docLayout->hitTest(docPoint, Qt::FuzzyHit));
    QTextCursor cursor(const_cast<QTextDocument *>(doc));
    cursor.setPosition(hit);

    const QTextBlock block = doc->findBlock(hit);
    const QTextLayout *layout = block.layout();
    if (!block.isValid() || !layout)
        return cursor;

    // Line coordinates are relative to the block's top left corner in the document.
    const QPointF local = docPoint - docLayout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (local.y() < line.y() || local.y() >= line.y() + line.height())
            continue;
        // The fuzzy hit snaps to the nearest character; a point beside the text is no word.
        if (local.x() < line.x() || local.x() >= line.x() + line.naturalTextWidth())
            return cursor;
        const int index = line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
        const WordSpan span = wordSpanAt(block.text(), index);
        if (span.isEmpty())
            return cursor;
        cursor.setPosition(block.position() + int(span.start));
        cursor.setPosition(block.position() + int(span.start + span.length), QTextCursor::KeepAnchor);
        return cursor;
    }
    return cursor;
}

QString selectedTextOrAll(const QTextEdit *view)
{
    QString text = view->textCursor().selectedText();
    if (text.isEmpty())
        return view->toPlainText();
    // A selection marks paragraph and line ends with separators of its own; the speech engine wants line breaks.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}
