#pragma once

#include <QLatin1StringView>
#include <QStringView>

// Headwords hold at most this many characters; longer search texts are cut to it.
inline constexpr qsizetype kMaxHeadwordLength = 32;

// The order of the index "IndexWordName": case-insensitive, ties broken by the exact
// UTF-16 code units, so the order is total. Returns <0, 0 or >0.
// The builder, the SQLite collation and the in-memory binary search all use this function.
int compareHeadwords(QStringView a, QStringView b);
// The same for headwords kept as Latin-1 (one byte per character, as nearly all are).
int compareHeadwords(QLatin1StringView a, QLatin1StringView b);

// The case-insensitive level of compareHeadwords alone. Nearest-key positioning compares with it,
// so that "paris", "Paris" and "PARIS" all find the first of the headwords spelt so, whatever
// the tie-break between them. Rows sorted by compareHeadwords are sorted by this too.
int compareHeadwordsIgnoringCase(QStringView a, QStringView b);
int compareHeadwordsIgnoringCase(QLatin1StringView a, QStringView b);

// The first of count rows, sorted by compareHeadwords, whose headword is >= key case aside (the first of a
// word's case twins); count when there is none. at(row) gives a row's headword as either kind of view.
template <typename At>
int lowerBoundIgnoringCase(int count, QStringView key, At at)
{
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareHeadwordsIgnoringCase(at(middle), key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// The part of a search text that is compared with headwords: its first 32 characters.
QStringView searchKey(QStringView text);

// Name under which compareHeadwords is registered as an SQLite collation.
inline constexpr char kHeadwordCollation[] = "HEADWORD";
