#include "dictionary/HeadwordOrder.h"

#include <QChar>

namespace {

inline char32_t foldUnit(char16_t c)
{
    // ASCII is nearly all of the dictionary; keep it off the Unicode tables.
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char32_t(c + 32) : char32_t(c);
    return QChar::toCaseFolded(char32_t(c));
}

} // namespace

int compareHeadwordsIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < common; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char32_t fa = foldUnit(pa[i]);
        const char32_t fb = foldUnit(pb[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return 0;
}

QStringView searchKey(QStringView text)
{
    return text.size() > kMaxHeadwordLength ? text.first(kMaxHeadwordLength) : text;
}

int compareHeadwords(QStringView a, QStringView b)
{
    if (const int folded = compareHeadwordsIgnoringCase(a, b))
        return folded;
    // Equal but for case (and so of one length): the first case difference decides.
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    return 0;
}
