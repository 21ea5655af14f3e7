#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

// What the suggestion line needs of the dictionary.
class Headwords
{
public:
    virtual ~Headwords() = default;
    // The headword spelt as word when case is ignored, as the dictionary spells it; empty when none is.
    virtual QString find(const QString &word) const = 0;
    // Whether the headword's entry has senses of that part of speech ("noun", "verb", "adjective").
    // Dictionaries that do not say answer false for all.
    virtual bool hasSenses(const QString &headword, QLatin1StringView partOfSpeech) const = 0;
};

enum class Relation { Plural, ThirdPerson, PastTense, PresentParticiple, Comparative, Superlative };

// "plural of", "past tense of", ...
QString relationText(Relation relation);

struct BaseForm
{
    QString base;  // a headword
    Relation relation;
    friend bool operator==(const BaseForm &, const BaseForm &) = default;
};

// The base words of an inflected form, from its morphological analyses (" st:dog fl:S"), kept to
// headwords, in the order the analyses give them and without repeats.
QList<BaseForm> baseForms(const QStringList &analyses, const Headwords &headwords);

// Spelling suggestions kept to headwords (as the dictionary spells them), best first, at most limit.
QStringList headwordSuggestions(const QStringList &suggestions, const Headwords &headwords, qsizetype limit = 6);

// Whether a search text is worth the spelling dictionary's time: one word or a few, with a letter,
// no longer than a headword. Pasted pages, punctuation and blanks are not.
bool worthAnalysing(const QString &text);
