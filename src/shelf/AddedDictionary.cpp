#include "shelf/AddedDictionary.h"

#include "platform/RegularFile.h"

#include "shelf/DictdIndex.h"
#include "shelf/DictdText.h"
#include "shelf/SafeMarkup.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("AddedDictionary", text);
}

// Index files larger than this are not read: no real dictionary's index comes near it.
constexpr qint64 kMaxIndexBytes = qint64(1) << 30;

std::optional<QByteArray> readWhole(const QString &path, QString *error)
{
    if (path.endsWith(u".gz"))
        return inflateGzipFile(path, kMaxIndexBytes, error);
    bool tooLarge = false;
    auto read = readRegularFile(path, kMaxIndexBytes, &tooLarge);
    if (!read)
        *error = tooLarge ? tr("%1 is too large to be an index.").arg(path) : tr("%1 cannot be read.").arg(path);
    return read;
}

} // namespace

QStringList DictionarySource::files() const
{
    QStringList list{indexPath, dataPath};
    if (format == DictionaryFormat::StarDict)
        list.prepend(id);
    if (!synonymPath.isEmpty())
        list.append(synonymPath);
    return list;
}

QString DictionarySource::folder() const
{
    return QFileInfo(id).absolutePath();
}

QString DictionarySource::baseName() const
{
    return QFileInfo(id).completeBaseName();
}

QStringList standardDictionaryFolders()
{
    return {QStringLiteral("/usr/share/dictd"), QStringLiteral("/usr/share/stardict/dic"),
            QDir::homePath() + QStringLiteral("/.stardict/dic"),
            xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/verbarium/dictionaries")};
}

QString keyCacheFolder()
{
    return xdgFolder("XDG_CACHE_HOME", QStringLiteral("/.cache")) + QStringLiteral("/verbarium");
}

QList<DictionarySource> findDictionaries(const QStringList &folders)
{
    QList<DictionarySource> found;
    QSet<QString> seen;
    const auto firstExisting = [](const QString &stem, std::initializer_list<const char *> endings) {
        for (const char *ending : endings) {
            const QString path = stem + QLatin1StringView(ending);
            if (QFileInfo::exists(path))
                return path;
        }
        return QString();
    };
    for (const QString &folder : folders) {
        QStringList paths;
        QDirIterator it(folder, {QStringLiteral("*.index"), QStringLiteral("*.ifo")}, QDir::Files | QDir::Readable,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext())
            paths.append(QFileInfo(it.next()).canonicalFilePath());
        paths.sort();
        for (const QString &path : paths) {
            if (path.isEmpty() || seen.contains(path))
                continue;
            seen.insert(path);
            DictionarySource source;
            source.id = path;
            if (path.endsWith(u".index")) {
                const QString stem = path.chopped(6);
                source.format = DictionaryFormat::Dictd;
                source.indexPath = path;
                source.dataPath = firstExisting(stem, {".dict.dz", ".dict"});
            } else {
                const QString stem = path.chopped(4);
                source.format = DictionaryFormat::StarDict;
                source.indexPath = firstExisting(stem, {".idx", ".idx.gz"});
                source.dataPath = firstExisting(stem, {".dict.dz", ".dict"});
                source.synonymPath = firstExisting(stem, {".syn"});
            }
            found.append(source);
        }
    }
    return found;
}

bool isOnByDefault(const DictionarySource &source)
{
    return !(source.format == DictionaryFormat::Dictd && source.baseName() == u"wn");
}

AddedDictionary::AddedDictionary(DictionarySource source)
    : m_source(std::move(source))
{
    const QString base = m_source.baseName();
    m_gcide = base.startsWith(u"gcide") || base == u"web1913";
}

QStringList AddedDictionary::warnings() const
{
    return m_keys.warnings() + m_cacheWarnings;
}

QString AddedDictionary::name() const
{
    const QString own = m_ready ? m_keys.name() : QString();
    return own.isEmpty() ? m_source.baseName() : own;
}

qint64 AddedDictionary::sizeOnDisk() const
{
    qint64 total = 0;
    for (const QString &path : m_source.files())
        total += QFileInfo(path).size();
    return total;
}

bool AddedDictionary::readIndex(KeyListing *listing)
{
    auto index = readWhole(m_source.indexPath, &m_error);
    if (!index)
        return false;
    if (m_source.format == DictionaryFormat::Dictd) {
        *listing = readDictdIndex(*index, m_data);
        return true;
    }
    QByteArray synonyms;
    if (!m_source.synonymPath.isEmpty()) {
        QString synonymError;
        if (auto read = readWhole(m_source.synonymPath, &synonymError))
            synonyms = std::move(*read);
        else
            listing->warnings.append(synonymError);
    }
    QStringList earlier = listing->warnings;
    *listing = readStarDictIndex(*index, synonyms, m_info);
    listing->warnings = earlier + listing->warnings;
    return true;
}

void AddedDictionary::prepare(const QString &cacheFolder)
{
    m_ready = false;
    m_error.clear();
    m_cacheWarnings.clear();
    if (m_source.indexPath.isEmpty() || m_source.dataPath.isEmpty()) {
        m_error = m_source.format == DictionaryFormat::Dictd
                      ? tr("The text file (.dict or .dict.dz) beside the index is missing.")
                      : tr("The .idx or .dict file beside the .ifo is missing.");
        return;
    }
    if (m_source.format == DictionaryFormat::StarDict) {
        QString error;
        auto ifo = readWhole(m_source.id, &error);
        if (!ifo || !parseStarDictInfo(ifo->left(1 << 20), &m_info, &error)) {
            m_error = error;
            return;
        }
    }
    // The text file is opened before the sources are checked: it then stays the one the keys were read with,
    // even if the dictionary is replaced while the program runs.
    if (!m_data.open(m_source.dataPath)) {
        m_error = m_data.error();
        return;
    }
    m_identity = KeyFile::identityOf(m_source.files());
    const QString keyPath = cacheFolder + QStringLiteral("/keys/")
                            + QString::fromLatin1(QCryptographicHash::hash(m_source.id.toUtf8(), QCryptographicHash::Sha1).toHex())
                            + QStringLiteral(".keys");
    if (m_keys.map(keyPath, m_identity)) {
        m_ready = true;
        return;
    }
    KeyListing listing;
    if (!readIndex(&listing))
        return;
    if (listing.records.isEmpty()) {
        m_error = listing.warnings.isEmpty() ? tr("Its index lists no words.") : listing.warnings.join(u' ');
        return;
    }
    QByteArray bytes = KeyFile::build(listing, m_identity);
    listing = {};
    QString writeError;
    if (KeyFile::write(keyPath, bytes, &writeError) && m_keys.map(keyPath, m_identity)) {
        m_ready = true;
        return;
    }
    m_cacheWarnings.append(writeError);
    m_ready = m_keys.adopt(std::move(bytes), m_identity);
    if (!m_ready)
        m_error = tr("Its word list could not be made.");
}

RenderedEntry AddedDictionary::entry(int record) const
{
    const auto failed = [](const QString &message) {
        return RenderedEntry{message, QStringLiteral("<i>") + plainToHtml(message) + QStringLiteral("</i>")};
    };
    if (!m_ready || record < 0 || record >= m_keys.count())
        return failed(m_error.isEmpty() ? tr("This dictionary is not read yet.") : m_error);
    QString error;
    const auto bytes = m_data.read(m_keys.offsetAt(record), m_keys.lengthAt(record), &error);
    if (!bytes)
        return failed(error);
    if (m_source.format == DictionaryFormat::StarDict)
        return renderStarDictEntry(*bytes, m_info.sameTypeSequence);
    return renderDictdEntry(decodeDictionaryText(*bytes), m_gcide);
}

QString AddedDictionary::pronunciation(int record) const
{
    if (!m_ready || m_source.format != DictionaryFormat::Dictd || m_gcide)
        return {};
    QString error;
    const auto bytes = m_data.read(m_keys.offsetAt(record), std::min<quint32>(m_keys.lengthAt(record), 512), &error);
    return bytes ? dictdPronunciation(QString::fromUtf8(*bytes)) : QString();
}
