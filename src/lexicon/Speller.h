#pragma once

#include <QString>
#include <QStringList>

#include <functional>
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

// Which words of the .dic Hunspell is to hold. Every answer the program uses is a headword, so a
// dictionary kept to headwords answers the same with a good third less memory.
using WordFilter = std::function<bool(QStringView word)>;

// Hunspell over <dir>/<name>.aff and .dic, looked for in $DICPATH (colon-separated) and then in
// /usr/share/hunspell, holding only the words keep accepts (all when keep is empty). Null when the pair is
// missing or does not load as a dictionary.
std::unique_ptr<Speller> openHunspell(const QString &name = QStringLiteral("en_US"), const WordFilter &keep = {});
std::unique_ptr<Speller> openHunspellFiles(const QString &affPath, const QString &dicPath, const WordFilter &keep = {});
