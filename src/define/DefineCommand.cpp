#include "define/DefineCommand.h"

#include "define/EntryText.h"
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "lexicon/Speller.h"
#include "lexicon/WordForms.h"
#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "shelf/AddedDictionary.h"
#include "shelf/ShelfLookup.h"

#include <QDir>
#include <QFileInfo>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// The dictionary as the base-form and spelling rules ask it, through its index.
class IndexedHeadwords final : public Headwords
{
public:
    explicit IndexedHeadwords(const DictionaryTable *table) : m_table(table) { }

    QString find(const QString &word) const override
    {
        QString spelling;
        m_table->findHeadword(word, &spelling);
        return spelling;
    }
    bool hasSenses(const QString &headword, QLatin1StringView partOfSpeech) const override
    {
        QString spelling;
        const int row = m_table->findHeadword(headword, &spelling);
        QString entry, pronunciation;
        return row >= 0 && spelling == headword && m_table->readRow(row, &entry, &pronunciation)
            && entry.contains(QLatin1String("<p><b>") + partOfSpeech + QLatin1String("</b></p>"));
    }

private:
    const DictionaryTable *m_table;
};

// The terminal's width, or 0 when the output goes to a file or a pipe.
int terminalWidth()
{
    if (!::isatty(STDOUT_FILENO))
        return 0;
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

DefineCommand::DefineCommand(const DictionaryTable *table, std::FILE *out, std::FILE *err)
    : m_table(table), m_out(out), m_err(err)
{
}

DefineCommand::~DefineCommand() = default;

bool DefineCommand::define(const QString &word)
{
    QString heading;
    const int row = m_table->findHeadword(word, &heading);
    QString text;
    if (row >= 0) {
        QString entry, pronunciation;
        m_table->readRow(row, &entry, &pronunciation);
        if (!pronunciation.isEmpty())
            heading += QStringLiteral("  ") + pronunciation;
        text = layOut({{heading, 0, 2}}, m_width) + layOut(entryLines(entry), m_width);
    }
    // Added dictionaries follow the built-in entry, each under its own title.
    const QList<DefineSection> sections = m_sections ? m_sections(word) : QList<DefineSection>();
    for (const DefineSection &section : sections) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += layOut({{section.title, 0, 2}}, m_width) + layOut(entryLines(section.html), m_width);
        if (!text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('\n');
    }
    if (!text.isEmpty()) {
        write(m_out, text);
        std::fflush(m_out);
        return true;
    }
    write(m_err, QStringLiteral("No entry for \"%1\".\n").arg(word));
    if (const QStringList near = nearWords(word); !near.isEmpty())
        write(m_err, QStringLiteral("Did you mean: %1\n").arg(near.join(QStringLiteral(", "))));
    std::fflush(m_err);
    return false;
}

QStringList DefineCommand::nearWords(const QString &word)
{
    if (!worthAnalysing(word))
        return {};
    if (!m_spellerTried) {
        m_spellerTried = true;
        if (m_openSpeller)
            m_speller = m_openSpeller();
    }
    if (!m_speller)
        return {};
    const IndexedHeadwords headwords(m_table);
    QStringList near;
    for (const BaseForm &form : baseForms(m_speller->analyze(word), headwords)) {
        if (!near.contains(form.base))
            near.append(form.base);
    }
    for (const QString &suggestion : headwordSuggestions(m_speller->suggest(word), headwords)) {
        if (!near.contains(suggestion))
            near.append(suggestion);
    }
    return near;
}

QString commandLineDataFolder()
{
    const QString name = QStringLiteral("data.dat");
    if (QFileInfo::exists(name))
        return QDir::currentPath();
    const QString installed = QStringLiteral(VERBARIUM_DATADIR);
    return QFileInfo::exists(installed + QLatin1Char('/') + name) ? installed : QDir::currentPath();
}

QString dictionaryPassword()
{
    // The builder writes the file with this password; it ships inside the program, so it keeps out only
    // other programs, not people.
    return QStringLiteral("marbol47quen");
}

int runDefine(const QStringList &words, const QString &tableFile, const QString &password)
{
    if (words.isEmpty()) {
        std::fputs("Usage: verbarium --define WORD...: give one or more words to look up.\n", stderr);
        return 1;
    }
    DictionarySession session;
    session.addPassword(password);
    session.setPrivateDir(QDir::tempPath());
    DictionaryTable table(&session);
    table.setTableName(tableFile);
    try {
        table.open();
    } catch (const AppError &error) {
        write(stderr, error.message() + QLatin1Char('\n'));
        return 1;
    }
    DefineCommand command(&table, stdout, stderr);
    command.setWidth(terminalWidth());
    command.setSpeller([] { return openHunspell(); });
    // The dictionaries the user has on in the window follow the built-in entry, in the window's order.
    command.setSectionSource([configFolder = xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"))](const QString &word) {
        QList<DefineSection> sections;
        for (const ShelfSection &section : lookUpInAddedDictionaries(word, configFolder, keyCacheFolder()))
            sections.append({section.dictionaryName, section.html});
        return sections;
    });
    bool allFound = true;
    for (const QString &word : words)
        allFound = command.define(word) && allFound;
    return allFound ? 0 : 1;
}
