#include "platform/SettingsKey.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool asciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool hexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A value written by QSettings for a non-text type looks like "@Type(...)".
bool typedValue(QStringView value)
{
    if (!value.startsWith(u'@'))
        return false;
    qsizetype i = 1;
    while (i < value.size() && asciiLetter(value.at(i)))
        ++i;
    return i > 1 && i < value.size() && value.at(i) == u'(';
}

struct KeyLocation
{
    QString file;
    QString group;
};

std::optional<KeyLocation> locate(const QString &configFolder, const QString &keyPath)
{
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(u"SOFTWARE", Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.size() < 2)
        return std::nullopt;
    for (const QString &part : parts) {
        if (part.trimmed().isEmpty() || part == u"." || part == u".." || part.contains(u'/'))
            return std::nullopt;
    }
    const QString group = parts.takeLast();
    return KeyLocation{configFolder + u'/' + parts.join(u'/') + QStringLiteral(".conf"), group};
}

bool headerName(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// The name of a "name=value" line; null for comments and lines without "=".
QString entryName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(u';') || t.startsWith(u'#'))
        return {};
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return {};
    return t.left(eq).trimmed();
}

QString entryValue(const QString &line)
{
    return line.mid(line.indexOf(u'=') + 1).trimmed();
}

AppError invalidType(const QString &name)
{
    return AppError(QStringLiteral("Invalid data type for '%1'").arg(name));
}

// One quoted string, or nothing when the text holds more than that.
std::optional<QString> unquote(const QString &text)
{
    QString out;
    qsizetype i = 1;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"')
            break;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text.at(i).unicode()) {
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 'x': {
            const QString digits = text.mid(i + 1, 2);
            if (digits.size() != 2 || !hexDigit(digits.at(0)) || !hexDigit(digits.at(1)))
                return std::nullopt;
            out += QChar(digits.toInt(nullptr, 16));
            i += 2;
            break;
        }
        default: out += text.at(i);
        }
    }
    if (i >= text.size() || !text.mid(i + 1).trimmed().isEmpty())
        return std::nullopt;
    return out;
}

QString encodeValue(const QString &value)
{
    bool plain = value == value.trimmed() && !value.startsWith(u'"') && !value.startsWith(u'@');
    for (const QChar c : value)
        plain = plain && c.unicode() >= 0x20 && c.unicode() != 0x7f;
    if (plain)
        return value;
    QString out = QStringLiteral("\"");
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

bool validName(const QString &name)
{
    return !name.isEmpty() && name == name.trimmed() && !name.contains(u'=') && !name.contains(u'\n')
        && !name.contains(u'\r') && !name.startsWith(u'[') && !name.startsWith(u';') && !name.startsWith(u'#');
}

// Where a save goes: through a symbolic link to the file it names, so that the link stays a link.
QString writeTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    // A link to a file not yet made: the file is made where the link points.
    return target.isEmpty() ? info.symLinkTarget() : target;
}

// Writes a file beside the target, makes it durable and renames it over the target, so that the target is
// always the old file or the new one whole. Every step is checked: QSaveFile in Qt 6.4 reported success
// for a file whose buffered data never reached a full disk (QTBUG-75077).
bool writeReplacing(const QString &path, const std::optional<QByteArray> &data)
{
    if (!data)
        return false;
    QByteArray temp = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file replaced keeps its permissions (one kept in a repository may be shared); a new one is the user's own.
    struct stat existing = {};
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &existing) == 0 ? (existing.st_mode & 0777) : 0600;
    bool ok = ::fchmod(fd, mode) == 0;
    for (qsizetype done = 0; ok && done < data->size();) {
        const ssize_t n = ::write(fd, data->constData() + done, size_t(data->size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            ok = false;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    // The rename itself is made durable with the folder.
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

QString SettingsKey::userConfigFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

std::unique_ptr<SettingsKey> SettingsKey::openOrCreate(const QString &configFolder, const QString &keyPath)
{
    const auto where = locate(configFolder, keyPath);
    if (!where)
        return nullptr;
    const QString folder = QFileInfo(where->file).absolutePath();
    if (!QDir().mkpath(folder))
        return nullptr;
    // A folder that cannot be written still gives what it holds; the save then fails and says so.
    std::unique_ptr<SettingsKey> key(new SettingsKey(where->file, where->group));
    key->load();
    return key;
}

QString SettingsKey::filePathFor(const QString &configFolder, const QString &keyPath)
{
    const auto where = locate(configFolder, keyPath);
    return where ? where->file : QString();
}

SettingsKey::SettingsKey(QString filePath, QString group) : m_filePath(std::move(filePath)), m_group(std::move(group))
{
}

SettingsKey::~SettingsKey()
{
    close();
}

void SettingsKey::load()
{
    const QFileInfo info(m_filePath);
    // No file yet (or a link to a file not yet made): nothing to read, and the save makes it.
    if (!info.exists())
        return;
    bool tooLarge = false;
    std::optional<QByteArray> read = readRegularFile(m_filePath, kMaxFileSize, &tooLarge);
    if (tooLarge) {
        // Far more than ten values ever take: the file is damaged. It is kept as it is until the save sets it aside.
        m_oversized = true;
        return;
    }
    if (!read) {
        // Not allowed to read it, or not a file at all (a pipe, a device): what it holds is unknown and is never
        // written over.
        m_unreadable = true;
        return;
    }
    QByteArray data = std::move(*read);
    // A damaged file is read as far as it goes: a NUL ends a line, a bad byte becomes U+FFFD.
    m_unclean = data.contains('\0');
    data.replace('\0', '\n');
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(data);
    m_unclean = m_unclean || decode.hasError();
    m_lines = text.split(u'\n');
    if (text.endsWith(u'\n'))
        m_lines.removeLast();
    for (QString &line : m_lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
}

int SettingsKey::groupHeader() const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (headerName(m_lines.at(i), &name) && name.compare(m_group, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int SettingsKey::groupEnd(int header) const
{
    QString name;
    int i = header + 1;
    while (i < m_lines.size() && !headerName(m_lines.at(i), &name))
        ++i;
    return i;
}

int SettingsKey::findEntry(const QString &name) const
{
    const int header = groupHeader();
    if (header < 0)
        return -1;
    const int end = groupEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (entryName(m_lines.at(i)).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString SettingsKey::readString(const QString &name) const
{
    if (!validName(name))
        return {};
    const int line = findEntry(name);
    if (line < 0)
        return {};
    const QString value = entryValue(m_lines.at(line));
    if (value.startsWith(u'"')) {
        if (auto text = unquote(value))
            return *text;
        throw invalidType(name);
    }
    if (typedValue(value))
        throw invalidType(name);
    return value;
}

bool SettingsKey::writeString(const QString &name, const QString &value)
{
    if (!validName(name))
        return false;
    const QString line = name + u'=' + encodeValue(value);
    const int existing = findEntry(name);
    if (existing >= 0) {
        m_lines[existing] = line;
    } else if (const int header = groupHeader(); header >= 0) {
        // After the group's last entry, before the blank lines that separate it from the next group.
        int at = groupEnd(header);
        while (at > header + 1 && m_lines.at(at - 1).trimmed().isEmpty())
            --at;
        m_lines.insert(at, line);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + m_group + u']');
        m_lines.append(line);
    }
    m_dirty = true;
    return true;
}

bool SettingsKey::close()
{
    if (!m_dirty)
        return true;
    if (m_unreadable)
        return false;
    const QString target = writeTarget(m_filePath);
    const QString bad = target + QStringLiteral(".bad");
    // The original of a damaged file is kept beside it: what could not be read is not lost by the save.
    if (m_oversized) {
        if (::rename(QFile::encodeName(target).constData(), QFile::encodeName(bad).constData()) != 0 && errno != ENOENT)
            return false;
    } else if (m_unclean && QFile::exists(target)) {
        if (!writeReplacing(bad, readRegularFile(target, kMaxFileSize)))
            return false;
    }
    if (!writeReplacing(target, (m_lines.join(u'\n') + u'\n').toUtf8()))
        return false;
    m_dirty = false;
    m_unclean = false;
    m_oversized = false;
    return true;
}
