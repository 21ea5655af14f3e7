#include "lexicon/TableHeadwords.h"

#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordOrder.h"

QString TableHeadwords::find(const QString &word) const
{
    if (word.isEmpty() || word.size() > kMaxHeadwordLength || !m_table->isOpen())
        return {};
    const int first = m_table->nearestRow(word);
    if (first < 0)
        return {};
    QString found = m_table->headwordAt(first);
    if (compareHeadwordsIgnoringCase(found, word) != 0)
        return {};
    // Case twins ("Mars", "mars") sit side by side: the one spelt exactly so wins.
    for (int row = first; row < m_table->recordCount(); ++row) {
        const QString twin = m_table->headwordAt(row);
        if (twin == word)
            return twin;
        if (compareHeadwordsIgnoringCase(twin, word) != 0)
            break;
    }
    return found;
}

bool TableHeadwords::hasSenses(const QString &headword, QLatin1StringView partOfSpeech) const
{
    const int row = m_table->nearestRow(headword);
    if (row < 0 || m_table->headwordAt(row) != headword)
        return false;
    return m_table->entryAt(row).contains(QLatin1String("<p><b>") + partOfSpeech + QLatin1String("</b></p>"));
}
