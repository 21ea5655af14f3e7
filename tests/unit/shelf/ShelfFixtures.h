#pragma once

// Small dictionaries of each format, written by the tests themselves.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QtEndian>

#include <zlib.h>

namespace shelf_fixtures {

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline void putLe16(QByteArray *out, int value)
{
    out->append(char(value & 0xff));
    out->append(char((value >> 8) & 0xff));
}

// text as dictzip: chunks of chunkLength bytes, each deflated and flushed so it inflates on its own.
inline QByteArray dictzip(const QByteArray &text, int chunkLength)
{
    QList<QByteArray> chunks;
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    for (qsizetype at = 0; at < text.size() || chunks.isEmpty(); at += chunkLength) {
        QByteArray in = text.mid(at, chunkLength);
        QByteArray out(chunkLength * 2 + 64, '\0');
        stream.next_in = reinterpret_cast<Bytef *>(in.data());
        stream.avail_in = uInt(in.size());
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, at + chunkLength >= text.size() ? Z_FINISH : Z_FULL_FLUSH);
        out.truncate(out.size() - qsizetype(stream.avail_out));
        chunks.append(out);
    }
    deflateEnd(&stream);
    QByteArray file("\x1f\x8b\x08\x04\0\0\0\0\0\x03", 10);
    putLe16(&file, 4 + 6 + 2 * int(chunks.size()));
    file.append("RA");
    putLe16(&file, 6 + 2 * int(chunks.size()));
    putLe16(&file, 1);
    putLe16(&file, chunkLength);
    putLe16(&file, int(chunks.size()));
    for (const QByteArray &chunk : chunks)
        putLe16(&file, int(chunk.size()));
    for (const QByteArray &chunk : chunks)
        file.append(chunk);
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(text.constData()), uInt(text.size())));
    file.append(reinterpret_cast<const char *>(&crc), 4);
    const quint32 size = quint32(text.size());
    file.append(reinterpret_cast<const char *>(&size), 4);
    return file;
}

// bytes as a plain gzip file.
inline QByteArray gzip(const QByteArray &bytes)
{
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, MAX_WBITS + 16, 8, Z_DEFAULT_STRATEGY);
    QByteArray in = bytes;
    QByteArray out(int(deflateBound(&stream, uLong(in.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(in.data());
    stream.avail_in = uInt(in.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(out.size() - qsizetype(stream.avail_out));
    deflateEnd(&stream);
    return out;
}

inline QByteArray dictdNumber(quint64 value)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray out;
    do {
        out.prepend(digits[value % 64]);
        value /= 64;
    } while (value);
    return out;
}

using Entries = QList<QPair<QString, QString>>;

// NAME.index and NAME.dict.dz (or NAME.dict) in folder; the entries' texts follow each other in the text file.
inline void writeDictd(const QString &folder, const QString &name, const Entries &entries, bool compressed,
                       const QString &shortName = QString())
{
    QByteArray text;
    QByteArray index;
    Entries all = entries;
    if (!shortName.isEmpty())
        all.prepend({QStringLiteral("00-database-short"), QStringLiteral("00-database-short\n   ") + shortName + u'\n'});
    for (const auto &[word, entry] : all) {
        const QByteArray bytes = entry.toUtf8();
        index += word.toUtf8() + '\t' + dictdNumber(quint64(text.size())) + '\t' + dictdNumber(quint64(bytes.size())) + '\n';
        text += bytes;
    }
    writeFile(folder + u'/' + name + QStringLiteral(".index"), index);
    if (compressed)
        writeFile(folder + u'/' + name + QStringLiteral(".dict.dz"), dictzip(text, 64));
    else
        writeFile(folder + u'/' + name + QStringLiteral(".dict"), text);
}

// NAME.ifo, NAME.idx, NAME.dict and NAME.syn (synonym -> entry number) with every entry of type 'm'.
// With wide set: version 3.0.0, 64-bit offsets and the index gzipped (NAME.idx.gz).
inline void writeStarDict(const QString &folder, const QString &name, const Entries &entries,
                          const QList<QPair<QString, quint32>> &synonyms = {}, bool wide = false)
{
    QByteArray dict;
    QByteArray idx;
    for (const auto &[word, entry] : entries) {
        const QByteArray bytes = entry.toUtf8();
        idx += word.toUtf8() + '\0';
        uchar numbers[12];
        if (wide) {
            qToBigEndian<quint64>(quint64(dict.size()), numbers);
            qToBigEndian<quint32>(quint32(bytes.size()), numbers + 8);
        } else {
            qToBigEndian<quint32>(quint32(dict.size()), numbers);
            qToBigEndian<quint32>(quint32(bytes.size()), numbers + 4);
        }
        idx.append(reinterpret_cast<const char *>(numbers), wide ? 12 : 8);
        dict += bytes;
    }
    QByteArray syn;
    for (const auto &[word, target] : synonyms) {
        syn += word.toUtf8() + '\0';
        uchar number[4];
        qToBigEndian<quint32>(target, number);
        syn.append(reinterpret_cast<const char *>(number), 4);
    }
    const QString ifo = QStringLiteral("StarDict's dict ifo file\nversion=%4\nbookname=%1\nwordcount=%2\n"
                                       "idxfilesize=%3\nsametypesequence=m\n")
                            .arg(name)
                            .arg(entries.size())
                            .arg(idx.size())
                            .arg(wide ? QStringLiteral("3.0.0\nidxoffsetbits=64") : QStringLiteral("2.4.2"))
                        + (synonyms.isEmpty() ? QString() : QStringLiteral("synwordcount=%1\n").arg(synonyms.size()));
    writeFile(folder + u'/' + name + QStringLiteral(".ifo"), ifo.toUtf8());
    if (wide)
        writeFile(folder + u'/' + name + QStringLiteral(".idx.gz"), gzip(idx));
    else
        writeFile(folder + u'/' + name + QStringLiteral(".idx"), idx);
    writeFile(folder + u'/' + name + QStringLiteral(".dict"), dict);
    if (!synonyms.isEmpty())
        writeFile(folder + u'/' + name + QStringLiteral(".syn"), syn);
}

} // namespace shelf_fixtures
