#pragma once

#include <QString>
#include <QStringList>

// A full-text query built from what the user typed. Only words reach the engine, each inside double
// quotes, so nothing typed can be read as the engine's own syntax (AND, NEAR, -, *, column filters).
struct FullTextQuery
{
    QString match;     // the MATCH expression: quoted words and phrases, all of which must occur
    QStringList words; // every word of the query once, lower case, for excerpts and highlighting

    bool isEmpty() const { return match.isEmpty(); }
};

// Words are runs of letters and digits; anything else separates them. Text between double quotes
// is one phrase (an unclosed quote runs to the end, as while the user is still typing it).
// Long input is cut: the first kMaxQueryWords words count. Compatibility forms (fullwidth letters, ligatures) count
// as their plain letters, and a word with accents also finds its spelling without them.
FullTextQuery buildFullTextQuery(QStringView typed);

inline constexpr int kMaxQueryWords = 16;
