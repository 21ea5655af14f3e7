#include "lexicon/Speller.h"

#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

#include <hunspell/hunspell.h>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Hunspell refuses longer words itself; cutting here keeps a pasted page from costing anything.
constexpr qsizetype kLongestWord = 100;

class HunspellSpeller final : public Speller
{
public:
    HunspellSpeller(Hunhandle *handle) : m_handle(handle)
    {
        const QByteArray encoding = Hunspell_get_dic_encoding(handle);
        m_utf8 = encoding.compare("UTF-8", Qt::CaseInsensitive) == 0;
    }
    ~HunspellSpeller() override { Hunspell_destroy(m_handle); }

    QStringList analyze(const QString &word) override
    {
        return collect(word, [this](char ***list, const char *text) { return Hunspell_analyze(m_handle, list, text); });
    }

    QStringList suggest(const QString &word) override
    {
        return collect(word, [this](char ***list, const char *text) { return Hunspell_suggest(m_handle, list, text); });
    }

private:
    template <typename Call>
    QStringList collect(const QString &word, Call call)
    {
        if (word.isEmpty() || word.size() > kLongestWord)
            return {};
        const QByteArray text = m_utf8 ? word.toUtf8() : word.toLatin1();
        char **list = nullptr;
        const int count = call(&list, text.constData());
        QStringList result;
        for (int i = 0; i < count; ++i)
            result.append(m_utf8 ? QString::fromUtf8(list[i]) : QString::fromLatin1(list[i]));
        if (list)
            Hunspell_free_list(m_handle, &list, count);
        return result;
    }

    Hunhandle *m_handle;
    bool m_utf8 = true;
};

// A .dic begins with its word count; anything else is not a dictionary Hunspell can be trusted with.
bool looksLikeDictionary(const QString &affPath, const QString &dicPath)
{
    // Only regular files: a pipe or a device would hold the reading thread for good.
    if (!QFileInfo(affPath).isFile() || QFileInfo(affPath).size() == 0 || !QFileInfo(dicPath).isFile())
        return false;
    QFile dic(dicPath);
    if (!dic.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const qlonglong count = dic.readLine(64).trimmed().toLongLong(&ok);
    return ok && count > 0;
}

bool affixFileIsUtf8(const QString &affPath)
{
    QFile aff(affPath);
    if (!aff.open(QIODevice::ReadOnly))
        return false;
    while (!aff.atEnd()) {
        const QByteArray line = aff.readLine(256).trimmed();
        if (line.startsWith("SET "))
            return line.sliced(4).trimmed().compare("UTF-8", Qt::CaseInsensitive) == 0;
    }
    return false;
}

// The word of a .dic line: up to its flags ("dog/MS") or its fields, "\/" standing for a slash.
QByteArray dicWord(const QByteArray &line)
{
    QByteArray word;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '/')
            word.append(line[++i]);
        else if (c == '/' || c == '\t' || c == ' ' || c == '\r')
            break;
        else
            word.append(c);
    }
    return word;
}

// The .dic with only the kept words, in a file that lives in memory, since Hunspell reads only files.
// -1 when the .dic cannot be read or lacks the commonest word, as a truncated one does.
int filteredDictionary(const QString &affPath, const QString &dicPath, const WordFilter &keep)
{
    QFile dic(dicPath);
    if (!dic.open(QIODevice::ReadOnly))
        return -1;
    const bool utf8 = affixFileIsUtf8(affPath);
    dic.readLine(64);
    QByteArray kept;
    qsizetype count = 0;
    bool hasThe = false;
    while (!dic.atEnd()) {
        const QByteArray line = dic.readLine();
        const QByteArray word = dicWord(line);
        if (word.isEmpty())
            continue;
        hasThe = hasThe || word == "the";
        if (keep(utf8 ? QString::fromUtf8(word) : QString::fromLatin1(word))) {
            kept.append(line);
            if (!line.endsWith('\n'))
                kept.append('\n');
            ++count;
        }
    }
    if (!hasThe)
        return -1;
    const int fd = memfd_create("verbarium-words.dic", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    QFile out;
    if (!out.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
        || out.write(QByteArray::number(count) + '\n') < 0 || out.write(kept) != kept.size() || !out.flush()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::unique_ptr<Speller> openHunspellFiles(const QString &affPath, const QString &dicPath, const WordFilter &keep)
{
    if (!looksLikeDictionary(affPath, dicPath))
        return nullptr;
    QString wordsPath = dicPath;
    int filtered = -1;
    if (keep) {
        filtered = filteredDictionary(affPath, dicPath, keep);
        if (filtered < 0)
            return nullptr;
        wordsPath = QStringLiteral("/proc/self/fd/%1").arg(filtered);
    }
    Hunhandle *handle = Hunspell_create(QFile::encodeName(affPath).constData(), QFile::encodeName(wordsPath).constData());
    if (filtered >= 0)
        ::close(filtered);
    if (!handle)
        return nullptr;
    // A truncated pair loads without complaint but knows nothing: such a dictionary is no dictionary.
    // A filtered one was checked for the word while it was read, and may rightly lack it.
    if (!keep && Hunspell_spell(handle, "the") == 0) {
        Hunspell_destroy(handle);
        return nullptr;
    }
    return std::make_unique<HunspellSpeller>(handle);
}

std::unique_ptr<Speller> openHunspell(const QString &name, const WordFilter &keep)
{
    QStringList dirs = qEnvironmentVariable("DICPATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    dirs.append(QStringLiteral("/usr/share/hunspell"));
    for (const QString &dir : std::as_const(dirs)) {
        const QString base = dir + QLatin1Char('/') + name;
        if (QFileInfo::exists(base + QStringLiteral(".dic")))
            return openHunspellFiles(base + QStringLiteral(".aff"), base + QStringLiteral(".dic"), keep);
    }
    return nullptr;
}
