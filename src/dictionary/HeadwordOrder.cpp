#include "dictionary/HeadwordOrder.h"

#include <QChar>

#include <algorithm>

namespace {

inline char32_t foldUnit(char16_t c)
{
    // ASCII is nearly all of the dictionary; keep it off the Unicode tables.
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char32_t(c + 32) : char32_t(c);
    return QChar::toCaseFolded(char32_t(c));
}

// Latin-1 bytes are the first 256 code points, so both kinds of text compare unit by unit.
inline char16_t unitOf(char c)
{
    return char16_t(static_cast<unsigned char>(c));
}
inline char16_t unitOf(char16_t c)
{
    return c;
}

template <typename A, typename B>
int compareFolded(const A *pa, qsizetype na, const B *pb, qsizetype nb)
{
    const qsizetype common = std::min(na, nb);
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t ua = unitOf(pa[i]);
        const char16_t ub = unitOf(pb[i]);
        if (ua == ub)
            continue;
        const char32_t fa = foldUnit(ua);
        const char32_t fb = foldUnit(ub);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (na != nb)
        return na < nb ? -1 : 1;
    return 0;
}

template <typename T>
int compareExact(const T *pa, qsizetype na, const T *pb, qsizetype nb)
{
    if (const int folded = compareFolded(pa, na, pb, nb))
        return folded;
    // Equal but for case (and so of one length): the first case difference decides.
    for (qsizetype i = 0; i < na; ++i) {
        if (pa[i] != pb[i])
            return unitOf(pa[i]) < unitOf(pb[i]) ? -1 : 1;
    }
    return 0;
}

} // namespace

int compareHeadwordsIgnoringCase(QStringView a, QStringView b)
{
    return compareFolded(a.utf16(), a.size(), b.utf16(), b.size());
}

int compareHeadwordsIgnoringCase(QLatin1StringView a, QStringView b)
{
    return compareFolded(a.data(), a.size(), b.utf16(), b.size());
}

QStringView searchKey(QStringView text)
{
    return text.size() > kMaxHeadwordLength ? text.first(kMaxHeadwordLength) : text;
}

int compareHeadwords(QStringView a, QStringView b)
{
    return compareExact(a.utf16(), a.size(), b.utf16(), b.size());
}

int compareHeadwords(QLatin1StringView a, QLatin1StringView b)
{
    return compareExact(a.data(), a.size(), b.data(), b.size());
}
