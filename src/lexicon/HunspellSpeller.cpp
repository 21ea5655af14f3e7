#include "lexicon/Speller.h"

#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

#include <hunspell/hunspell.h>

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
    if (!QFileInfo(affPath).isFile() || QFileInfo(affPath).size() == 0)
        return false;
    QFile dic(dicPath);
    if (!dic.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const qlonglong count = dic.readLine(64).trimmed().toLongLong(&ok);
    return ok && count > 0;
}

} // namespace

std::unique_ptr<Speller> openHunspellFiles(const QString &affPath, const QString &dicPath)
{
    if (!looksLikeDictionary(affPath, dicPath))
        return nullptr;
    Hunhandle *handle = Hunspell_create(QFile::encodeName(affPath).constData(), QFile::encodeName(dicPath).constData());
    if (!handle)
        return nullptr;
    // A truncated pair loads without complaint but knows nothing: such a dictionary is no dictionary.
    if (Hunspell_spell(handle, "the") == 0) {
        Hunspell_destroy(handle);
        return nullptr;
    }
    return std::make_unique<HunspellSpeller>(handle);
}

std::unique_ptr<Speller> openHunspell(const QString &name)
{
    QStringList dirs = qEnvironmentVariable("DICPATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    dirs.append(QStringLiteral("/usr/share/hunspell"));
    for (const QString &dir : std::as_const(dirs)) {
        const QString base = dir + QLatin1Char('/') + name;
        if (QFileInfo::exists(base + QStringLiteral(".dic")))
            return openHunspellFiles(base + QStringLiteral(".aff"), base + QStringLiteral(".dic"));
    }
    return nullptr;
}
