#pragma once

#include <QStringView>

// Where a double-click's word lies within a text: characters [start, start + length).
struct WordSpan
{
    qsizetype start = 0;
    qsizetype length = 0;

    bool isEmpty() const { return length == 0; }
    friend bool operator==(const WordSpan &, const WordSpan &) = default;
};

// The word that contains the character at `index`. A word is a run of letters and digits; a single
// apostrophe (' or ’) or hyphen between two such characters belongs to it, so "o'clock", "well-being" and
// "dog's" are whole words. Anything else around it is left out. Empty (at `index`) when that character
// belongs to no word or `index` lies outside the text.
WordSpan wordSpanAt(QStringView text, qsizetype index);
