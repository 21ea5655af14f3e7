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

int compareHeadwords(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    int exact = 0;
    for (qsizetype i = 0; i < common; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char32_t fa = foldUnit(pa[i]);
        const char32_t fb = foldUnit(pb[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        // Remember the first case difference; it only decides when the folded texts are equal.
        if (exact == 0)
            exact = pa[i] < pb[i] ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return exact;
}

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
