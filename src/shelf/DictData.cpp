#include "shelf/DictData.h"

#include "platform/RegularFile.h"

#include <QCoreApplication>

#include <sys/stat.h>

#include <zlib.h>

namespace {

quint16 le16(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

QString tr(const char *text)
{
    return QCoreApplication::translate("DictData", text);
}

} // namespace

bool DictData::open(const QString &path)
{
    m_file.close();
    m_file.setFileName(path);
    m_compressed = false;
    m_chunkStarts.clear();
    m_cachedIndex = -1;
    m_cached.clear();
    m_error.clear();
    QString why;
    const int fd = openRegularFile(path, &why);
    if (fd < 0 || !m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        m_error = tr("%1 cannot be read: %2.").arg(path, fd < 0 ? why : m_file.errorString());
        return false;
    }
    m_openedSize = -1;
    struct stat info;
    if (fstat(m_file.handle(), &info) == 0) {
        m_openedSize = info.st_size;
        m_openedModified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    uchar magic[2] = {0, 0};
    if (m_file.peek(reinterpret_cast<char *>(magic), 2) == 2 && magic[0] == 0x1f && magic[1] == 0x8b) {
        m_compressed = true;
        if (!readHeader()) {
            m_file.close();
            return false;
        }
    }
    return true;
}

bool DictData::readHeader()
{
    const auto damaged = [this](const char *what) {
        m_error = tr("%1 is damaged (%2); install it again or remove it.").arg(m_file.fileName(), tr(what));
        return false;
    };
    // The header with its extra field fits in the first 64 KiB: the field's length is 16 bits.
    const QByteArray head = m_file.read(10 + 2 + 65535 + 4096);
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    const qsizetype size = head.size();
    if (size < 12 || p[2] != 8)
        return damaged("not a gzip header");
    const uchar flags = p[3];
    if (!(flags & 0x04))
        return damaged("no random-access table: it was compressed with gzip, not dictzip");
    const qsizetype extraLength = le16(p + 10);
    qsizetype pos = 12;
    if (pos + extraLength > size)
        return damaged("header cut short");
    const qsizetype extraEnd = pos + extraLength;
    bool found = false;
    while (pos + 4 <= extraEnd) {
        const qsizetype fieldLength = le16(p + pos + 2);
        const qsizetype data = pos + 4;
        if (data + fieldLength > extraEnd)
            return damaged("header field past its end");
        if (p[pos] == 'R' && p[pos + 1] == 'A' && fieldLength >= 6) {
            const quint16 chunkLength = le16(p + data + 2);
            const quint16 count = le16(p + data + 4);
            if (le16(p + data) != 1 || chunkLength == 0 || 6 + 2 * qsizetype(count) > fieldLength)
                return damaged("random-access table");
            m_chunkLength = chunkLength;
            m_chunkStarts.resize(count + 1);
            quint64 offset = 0;
            for (int i = 0; i < count; ++i) {
                m_chunkStarts[i] = offset;
                offset += le16(p + data + 6 + 2 * i);
            }
            m_chunkStarts[count] = offset;
            found = true;
        }
        pos = data + fieldLength;
    }
    if (!found)
        return damaged("no random-access table: it was compressed with gzip, not dictzip");
    pos = extraEnd;
    // The optional file name and comment end with a NUL each; the header checksum takes two bytes.
    for (const uchar flag : {uchar(0x08), uchar(0x10)}) {
        if (!(flags & flag))
            continue;
        while (pos < size && p[pos] != 0)
            ++pos;
        if (pos >= size)
            return damaged("header cut short");
        ++pos;
    }
    if (flags & 0x02)
        pos += 2;
    for (quint64 &start : m_chunkStarts)
        start += quint64(pos);
    if (m_chunkStarts.last() > quint64(m_file.size()))
        return damaged("cut short");
    return true;
}

std::optional<QByteArray> DictData::chunk(int index, QString *error) const
{
    if (index == m_cachedIndex)
        return m_cached;
    const quint64 start = m_chunkStarts[index];
    const quint64 compressedLength = m_chunkStarts[index + 1] - start;
    QByteArray compressed;
    if (m_file.seek(qint64(start)))
        compressed = m_file.read(qint64(compressedLength));
    if (quint64(compressed.size()) != compressedLength) {
        *error = tr("%1 is cut short or changed while in use; install it again.").arg(m_file.fileName());
        return std::nullopt;
    }
    QByteArray out(qsizetype(m_chunkLength), Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        *error = tr("Out of memory.");
        return std::nullopt;
    }
    stream.next_in = reinterpret_cast<Bytef *>(compressed.data());
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int rc = inflate(&stream, Z_SYNC_FLUSH);
    const qsizetype produced = out.size() - qsizetype(stream.avail_out);
    inflateEnd(&stream);
    // A chunk ends at a flush point (Z_OK, input used up) or at the end of the stream.
    if ((rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) || produced == 0) {
        *error = tr("%1 is damaged (part %2 does not inflate); install it again.")
                     .arg(m_file.fileName())
                     .arg(index + 1);
        return std::nullopt;
    }
    out.truncate(produced);
    m_cachedIndex = index;
    m_cached = out;
    return out;
}

bool DictData::unchanged() const
{
    struct stat info;
    return fstat(m_file.handle(), &info) == 0 && info.st_size == m_openedSize
        && qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec == m_openedModified;
}

std::optional<QByteArray> DictData::read(quint64 offset, quint32 length, QString *error) const
{
    if (length > kMaxEntryBytes) {
        *error = tr("This entry is too long to show (%1 MB).").arg(length >> 20);
        return std::nullopt;
    }
    if (!m_file.isOpen()) {
        *error = m_error;
        return std::nullopt;
    }
    // A file replaced by another (a package upgrade) keeps the one opened; one rewritten in place does not.
    if (!unchanged()) {
        *error = tr("%1 changed while in use; the dictionary is read again at the next start.").arg(m_file.fileName());
        return std::nullopt;
    }
    const auto pastEnd = [&] {
        *error = tr("This entry lies past the end of %1: its index does not belong to it. Install the "
                    "dictionary again.")
                     .arg(m_file.fileName());
        return std::nullopt;
    };
    if (!m_compressed) {
        if (offset + length > quint64(m_file.size()) || !m_file.seek(qint64(offset)))
            return pastEnd();
        QByteArray bytes = m_file.read(length);
        if (bytes.size() != qsizetype(length))
            return pastEnd();
        return bytes;
    }
    const qsizetype chunks = m_chunkStarts.size() - 1;
    if (offset + length > quint64(chunks) * m_chunkLength)
        return pastEnd();
    QByteArray bytes;
    bytes.reserve(length);
    quint64 at = offset;
    while (bytes.size() < qsizetype(length)) {
        const int index = int(at / m_chunkLength);
        const auto data = chunk(index, error);
        if (!data)
            return std::nullopt;
        const qsizetype within = qsizetype(at % m_chunkLength);
        if (within >= data->size())
            return pastEnd();
        const qsizetype take = std::min<qsizetype>(data->size() - within, qsizetype(length) - bytes.size());
        bytes.append(data->constData() + within, take);
        at += quint64(take);
    }
    return bytes;
}

std::optional<QByteArray> inflateGzipFile(const QString &path, qint64 limit, QString *error)
{
    auto read = readRegularFile(path, limit);
    if (!read) {
        *error = tr("%1 cannot be read, or is too large.").arg(path);
        return std::nullopt;
    }
    QByteArray compressed = std::move(*read);
    z_stream stream{};
    if (inflateInit2(&stream, MAX_WBITS + 16) != Z_OK) {
        *error = tr("Out of memory.");
        return std::nullopt;
    }
    QByteArray out;
    stream.next_in = reinterpret_cast<Bytef *>(compressed.data());
    stream.avail_in = uInt(compressed.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (out.size() >= limit) {
            rc = Z_MEM_ERROR;
            break;
        }
        const qsizetype before = out.size();
        out.resize(std::min<qint64>(limit, std::max<qint64>(before * 2, 1 << 16)));
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + before);
        stream.avail_out = uInt(out.size() - before);
        rc = inflate(&stream, Z_NO_FLUSH);
        out.truncate(out.size() - qsizetype(stream.avail_out));
    }
    inflateEnd(&stream);
    if (rc != Z_STREAM_END) {
        *error = tr("%1 is damaged or cut short; install it again.").arg(path);
        return std::nullopt;
    }
    return out;
}
