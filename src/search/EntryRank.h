#pragma once

#include <QtGlobal>

// How well one entry answers a full-text query, from the engine's matchinfo(..., 'pcnalx') numbers.
struct EntryRank
{
    bool inHeadword = false; // every word or phrase of the query occurs in the headword
    double score = 0;        // BM25 over both columns, the headword's hits weighing more

    // Best first: a match in the headword before any match in the entry alone, then by score.
    bool operator<(const EntryRank &other) const
    {
        return inHeadword != other.inHeadword ? inHeadword : score > other.score;
    }
};

// info holds count 32-bit numbers; a malformed array ranks last.
EntryRank rankEntry(const quint32 *info, qsizetype count);
