#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <optional>

// An entry longer than this is refused rather than read: no real entry comes near it, and a damaged length
// must not make the program allocate and inflate hundreds of megabytes.
inline constexpr quint32 kMaxEntryBytes = 8u << 20;

// Random access to a dictionary's text file: plain, or dictzip (gzip with a table of chunk sizes in its "RA"
// header field, each chunk flushed so it inflates on its own). Only the chunks a read needs are inflated.
class DictData final
{
public:
    // False, with error(), when the file cannot be opened or its dictzip header is damaged.
    bool open(const QString &path);
    QString error() const { return m_error; }
    bool isCompressed() const { return m_compressed; }

    // The bytes [offset, offset + length) of the text; nothing, with *error set, when they lie past its end,
    // the chunks that hold them are damaged, or length passes kMaxEntryBytes.
    std::optional<QByteArray> read(quint64 offset, quint32 length, QString *error) const;

private:
    bool readHeader();
    std::optional<QByteArray> chunk(int index, QString *error) const;

    // Whether the open file is still as it was opened; one rewritten in place no longer matches the index.
    bool unchanged() const;

    mutable QFile m_file;
    qint64 m_openedSize = 0;
    qint64 m_openedModified = 0;
    QString m_error;
    bool m_compressed = false;
    quint32 m_chunkLength = 0;
    // File offsets of the chunks, with the end of the last as the final element.
    QList<quint64> m_chunkStarts;
    mutable int m_cachedIndex = -1;
    mutable QByteArray m_cached;
};

// The whole of a gzip file (an index kept as ".idx.gz"), inflated by zlib; nothing when it is damaged or would
// inflate past limit bytes.
std::optional<QByteArray> inflateGzipFile(const QString &path, qint64 limit, QString *error);
