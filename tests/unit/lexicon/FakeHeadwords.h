#pragma once

#include "lexicon/WordForms.h"

#include <QHash>

// Headwords with the parts of speech their entries have, found case-insensitively.
class FakeHeadwords final : public Headwords
{
public:
    FakeHeadwords &add(const QString &word, QStringList partsOfSpeech = {QStringLiteral("noun")})
    {
        m_words.insert(word.toLower(), {word, partsOfSpeech});
        return *this;
    }

    QString find(const QString &word) const override { return m_words.value(word.toLower()).first; }
    bool hasSenses(const QString &headword, QLatin1StringView partOfSpeech) const override
    {
        return m_words.value(headword.toLower()).second.contains(partOfSpeech);
    }

private:
    QHash<QString, QPair<QString, QStringList>> m_words;
};
