#include "platform/ProfileFile.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString decodeText(const QByteArray &data)
{
    // A byte-order mark chooses the encoding; otherwise UTF-8, and Latin-1 for files saved in a legacy code page.
    if (const auto bom = QStringConverter::encodingForData(data)) {
        QStringDecoder decode(*bom);
        return decode(data);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(data);
    return utf8.hasError() ? QString::fromLatin1(data) : text;
}

QString stripQuotes(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path))
{
    const QByteArray data = readRegularFile(m_path, kMaxFileSize).value_or(QByteArray());
    if (data.isEmpty())
        return;
    const QStringList lines = decodeText(data).split(u'\n');
    Section *current = nullptr;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close > 0) {
                m_sections.push_back({line.mid(1, close - 1).trimmed(), {}});
                current = &m_sections.back();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        current->entries.emplace_back(line.left(eq).trimmed(), stripQuotes(line.mid(eq + 1).trimmed()));
    }
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    for (const Section &s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const auto &[name, value] : s.entries) {
            if (name.compare(key, Qt::CaseInsensitive) == 0)
                return value;
        }
        // Only the first section of a name is searched.
        return defaultValue;
    }
    return defaultValue;
}
