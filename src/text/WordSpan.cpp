#include "text/WordSpan.h"

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
