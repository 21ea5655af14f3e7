#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <memory>

class DictionaryTable;
class Speller;

// A section that another source (an added dictionary) has for a word: its title and its rich text.
struct DefineSection
{
    QString title;
    QString html;
};
// What the added dictionaries have for a word; none by default.
using DefineSectionSource = std::function<QList<DefineSection>(const QString &word)>;

// "verbarium --define WORD…": each word's entry printed as plain text, without a window or a display.
class DefineCommand
{
public:
    DefineCommand(const DictionaryTable *table, std::FILE *out, std::FILE *err);
    ~DefineCommand();
    DefineCommand(const DefineCommand &) = delete;
    DefineCommand &operator=(const DefineCommand &) = delete;

    // Wrap width for the entries; 0 leaves lines whole (output that is not a terminal).
    void setWidth(int width) { m_width = width; }
    void setSectionSource(DefineSectionSource source) { m_sections = std::move(source); }
    // Opened only when a word is missing: its load costs more than all the rest.
    void setSpeller(std::function<std::unique_ptr<Speller>()> open) { m_openSpeller = std::move(open); }

    // Prints the entry of word and answers true, or says on the error stream that there is none and what
    // may have been meant.
    bool define(const QString &word);

private:
    QStringList nearWords(const QString &word);

    const DictionaryTable *m_table;
    std::FILE *m_out;
    std::FILE *m_err;
    int m_width = 0;
    DefineSectionSource m_sections;
    std::function<std::unique_ptr<Speller>()> m_openSpeller;
    std::unique_ptr<Speller> m_speller;
    bool m_spellerTried = false;
};

// The folder a command-line start opens data.dat from: the working folder when it holds one (as every start
// does), else the installed data folder, so that "verbarium --define" works from any terminal folder.
QString commandLineDataFolder();
// The password the dictionary file is opened with.
QString dictionaryPassword();

// The whole command: opens the dictionary, defines each word in turn. Exit status 0 when
// every word was found, 1 when any was missing or the dictionary cannot be opened.
int runDefine(const QStringList &words, const QString &tableFile, const QString &password);
