#pragma once

#include "lexicon/WordForms.h"

class DictionaryTable;

// The dictionary table as the suggestion line sees it. Entries written by verbarium-mkdict head each
// part of speech with its name in bold, which is what hasSenses looks for.
class TableHeadwords final : public Headwords
{
public:
    explicit TableHeadwords(const DictionaryTable *table) : m_table(table) { }

    QString find(const QString &word) const override;
    bool hasSenses(const QString &headword, QLatin1StringView partOfSpeech) const override;

private:
    const DictionaryTable *m_table;
};
