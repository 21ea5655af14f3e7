#pragma once

#include <QAnyStringView>
#include <QList>
#include <QString>

class DictionaryTable;

// A headword pattern: "*" stands for any run of characters (none too), "?" for exactly one, and the
// pattern must cover the whole headword. Case is ignored.
class HeadwordPattern final
{
public:
    // Whether the user's text is a pattern rather than words to look for in the entries.
    static bool isPattern(QStringView text);

    explicit HeadwordPattern(QStringView pattern);

    bool matches(QAnyStringView headword) const;

    // The rows of every matching headword, in dictionary order, at most limit of them; total gets the
    // number of all matches.
    QList<int> matchingRows(const DictionaryTable &table, qsizetype limit, qsizetype *total = nullptr) const;

private:
    template <typename View>
    bool matchesView(View headword) const;

    QString m_folded;
    // Quick refusals before the walk: fewer characters than the pattern's letters and "?"s, or a last
    // character other than the one a pattern not ending in "*" asks for.
    qsizetype m_minLength = 0;
    char16_t m_last = 0;
};
