#include "app/WordSelection.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace {

bool isWordChar(QChar c)
{
    // Combining marks keep decomposed accented letters in one piece.
    return c.isLetterOrNumber() || c.isMark();
}

bool isJoiner(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
    case u'\u2019':  // right single quotation mark, the typographic apostrophe
    case u'-':
    case u'\u2010':  // hyphen
    case u'\u2011':  // non-breaking hyphen
        return true;
    default:
        return false;
    }
}

bool joinedAt(QStringView text, qsizetype i)
{
    return i > 0 && i + 1 < text.size() && isJoiner(text[i]) && isWordChar(text[i - 1]) && isWordChar(text[i + 1]);
}

} // namespace

WordSpan wordSpanAt(QStringView text, qsizetype index)
{
    if (index < 0 || index >= text.size() || !(isWordChar(text[index]) || joinedAt(text, index)))
        return {qBound<qsizetype>(0, index, text.size()), 0};

    qsizetype start = index;
    while (start > 0 && (isWordChar(text[start - 1]) || joinedAt(text, start - 1)))
        --start;
    qsizetype end = index + 1;
    while (end < text.size() && (isWordChar(text[end]) || joinedAt(text, end)))
        ++end;
    return {start, end - start};
}

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
