#include "search/EntryRank.h"

#include <cmath>

namespace {

// The usual BM25 constants; a headword hit counts as much as several in the entry's text.
constexpr double kK1 = 1.2;
constexpr double kB = 0.75;
constexpr double kColumnWeights[] = {4.0, 1.0};

} // namespace

EntryRank rankEntry(const quint32 *info, qsizetype count)
{
    EntryRank rank;
    if (count < 3)
        return rank;
    const quint32 phrases = info[0];
    const quint32 columns = info[1];
    const double rows = info[2];
    // p, c, n; then a (c), l (c), x (3 * p * c).
    if (phrases == 0 || columns == 0 || count != qsizetype(3 + 2 * columns + 3 * phrases * columns))
        return rank;
    const quint32 *average = info + 3;
    const quint32 *length = average + columns;
    const quint32 *hits = length + columns;
    bool allInHeadword = true;
    for (quint32 p = 0; p < phrases; ++p) {
        for (quint32 c = 0; c < columns; ++c) {
            const quint32 *x = hits + 3 * (p * columns + c);
            const double here = x[0];
            const double documents = x[2];
            if (c == 0 && here == 0)
                allInHeadword = false;
            if (here == 0)
                continue;
            // The "+ 1" keeps the weight of a word found in most entries positive.
            const double idf = std::log(1.0 + (rows - documents + 0.5) / (documents + 0.5));
            const double avg = std::max(1.0, double(average[c]));
            const double norm = here + kK1 * (1.0 - kB + kB * double(length[c]) / avg);
            const double weight = c < std::size(kColumnWeights) ? kColumnWeights[c] : 1.0;
            rank.score += weight * idf * here * (kK1 + 1.0) / norm;
        }
    }
    rank.inHeadword = allInHeadword;
    return rank;
}
