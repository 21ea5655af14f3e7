#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// What the suggestion line asks of a spelling dictionary. Used from one thread at a time.
class Speller
{
public:
    virtual ~Speller() = default;
    // Morphological analyses of word, one per reading, as Hunspell writes them (" st:dog fl:S").
    virtual QStringList analyze(const QString &word) = 0;
    // Spellings close to word, best first.
    virtual QStringList suggest(const QString &word) = 0;
};

// Hunspell over <dir>/<name>.aff and .dic, looked for in $DICPATH (colon-separated) and then in
// /usr/share/hunspell. Null when the pair is missing or does not load as a dictionary.
std::unique_ptr<Speller> openHunspell(const QString &name = QStringLiteral("en_US"));
std::unique_ptr<Speller> openHunspellFiles(const QString &affPath, const QString &dicPath);
