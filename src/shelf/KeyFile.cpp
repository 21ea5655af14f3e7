#include "shelf/KeyFile.h"

#include "dictionary/HeadwordOrder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

constexpr char kMagic[8] = {'V', 'B', 'K', 'E', 'Y', 'S', '\r', '\n'};
constexpr qsizetype kHeaderSize = 64;
constexpr qsizetype kRecordSize = 16;

struct Header
{
    char magic[8];
    quint32 version;
    quint32 count;
    quint64 metaOffset;
    quint64 metaBytes;
    quint64 recordsOffset;
    quint64 stringsOffset;
    quint64 stringUnits;
    quint64 totalSize;
};
static_assert(sizeof(Header) == kHeaderSize);

template <typename T>
T loadAt(const uchar *p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

qsizetype aligned(qsizetype size)
{
    return (size + 7) & ~qsizetype(7);
}

} // namespace

KeyFile::KeyFile() = default;
KeyFile::~KeyFile() = default;

QString KeyFile::identityOf(const QStringList &paths)
{
    QString identity;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        identity += QStringLiteral("%1\t%2\t%3\n")
                        .arg(info.absoluteFilePath())
                        .arg(info.exists() ? info.size() : -1)
                        .arg(info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1);
    }
    return identity;
}

QByteArray KeyFile::build(const KeyListing &listing, const QString &identity)
{
    const auto &records = listing.records;
    std::vector<int> order(size_t(records.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return compareHeadwords(records[a].key, records[b].key) < 0;
    });
    // An index that lists one entry twice would show it twice.
    std::vector<int> kept;
    kept.reserve(order.size());
    for (const int i : order) {
        if (!kept.empty()) {
            const KeyRecord &last = records[kept.back()];
            if (last.offset == records[i].offset && last.length == records[i].length && last.key == records[i].key)
                continue;
        }
        kept.push_back(i);
    }
    // The fields are kept NUL-separated: a NUL of their own becomes a blank.
    const auto field = [](QString text) { return text.replace(QChar(0), u' '); };
    const QByteArray meta = (field(identity) + QChar(0) + field(listing.name) + QChar(0) + field(listing.description)
                             + QChar(0) + field(listing.licence) + QChar(0) + field(listing.warnings.join(u'\n')))
                                .toUtf8();
    quint64 units = 0;
    for (const int i : kept)
        units += quint64(records[i].key.size());
    const qsizetype count = qsizetype(kept.size());
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kVersion;
    header.count = quint32(count);
    header.metaOffset = kHeaderSize;
    header.metaBytes = quint64(meta.size());
    header.recordsOffset = quint64(aligned(kHeaderSize + meta.size()));
    header.stringsOffset = header.recordsOffset + quint64(count + 1) * kRecordSize;
    header.stringUnits = units;
    header.totalSize = header.stringsOffset + units * 2;

    QByteArray bytes(qsizetype(header.totalSize), '\0');
    uchar *out = reinterpret_cast<uchar *>(bytes.data());
    std::memcpy(out, &header, sizeof header);
    std::memcpy(out + header.metaOffset, meta.constData(), size_t(meta.size()));
    uchar *record = out + header.recordsOffset;
    auto *strings = reinterpret_cast<char16_t *>(out + header.stringsOffset);
    quint32 start = 0;
    for (const int i : kept) {
        const KeyRecord &r = records[i];
        std::memcpy(record, &r.offset, 8);
        std::memcpy(record + 8, &r.length, 4);
        std::memcpy(record + 12, &start, 4);
        std::memcpy(strings + start, r.key.utf16(), size_t(r.key.size()) * 2);
        start += quint32(r.key.size());
        record += kRecordSize;
    }
    std::memcpy(record + 12, &start, 4);
    return bytes;
}

bool KeyFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QCoreApplication::translate("KeyFile", "The word list could not be kept in %1 (%2); it is read "
                                                        "again at every start until that folder can be written.")
                     .arg(QFileInfo(path).absolutePath(), file.errorString());
        return false;
    }
    return true;
}

bool KeyFile::map(const QString &path, const QString &identity)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || file->size() < kHeaderSize)
        return false;
    uchar *data = file->map(0, file->size());
    if (!data || !attach(data, file->size(), identity))
        return false;
    m_file = std::move(file);
    m_mapped = data;
    m_mappedSize = m_file->size();
    m_bytes.clear();
    return true;
}

bool KeyFile::adopt(QByteArray bytes, const QString &identity)
{
    if (!attach(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(), identity))
        return false;
    m_file.reset();
    m_mapped = nullptr;
    m_mappedSize = 0;
    m_bytes = std::move(bytes);
    return true;
}

void KeyFile::releasePages() const
{
    if (m_mapped)
        madvise(m_mapped, size_t(m_mappedSize), MADV_DONTNEED);
}

bool KeyFile::attach(const uchar *data, qint64 size, const QString &identity)
{
    if (size < kHeaderSize)
        return false;
    const Header header = loadAt<Header>(data);
    const quint64 total = quint64(size);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.version != kVersion
        || header.totalSize != total || header.metaOffset != quint64(kHeaderSize) || header.metaBytes > total
        || header.recordsOffset < header.metaOffset + header.metaBytes || header.recordsOffset % 8 != 0
        || header.count >= quint32(std::numeric_limits<int>::max())
        || header.stringsOffset != header.recordsOffset + (quint64(header.count) + 1) * kRecordSize
        || header.stringsOffset > total || header.stringUnits > (total - header.stringsOffset) / 2)
        return false;
    const QList<QByteArray> meta =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data + header.metaOffset), qsizetype(header.metaBytes))
            .split('\0');
    if (meta.size() != 5 || QString::fromUtf8(meta[0]) != identity)
        return false;
    m_name = QString::fromUtf8(meta[1]);
    m_description = QString::fromUtf8(meta[2]);
    m_licence = QString::fromUtf8(meta[3]);
    m_warnings = meta[4].isEmpty() ? QStringList() : QString::fromUtf8(meta[4]).split(u'\n');
    m_records = data + header.recordsOffset;
    m_strings = reinterpret_cast<const char16_t *>(data + header.stringsOffset);
    m_stringUnits = header.stringUnits;
    m_count = int(header.count);
    return true;
}

QStringView KeyFile::keyAt(int i) const
{
    if (i < 0 || i >= m_count)
        return {};
    const quint32 start = loadAt<quint32>(m_records + qsizetype(i) * kRecordSize + 12);
    const quint32 end = loadAt<quint32>(m_records + qsizetype(i + 1) * kRecordSize + 12);
    if (start > end || end > m_stringUnits)
        return {};
    return QStringView(m_strings + start, qsizetype(end - start));
}

quint64 KeyFile::offsetAt(int i) const
{
    return i >= 0 && i < m_count ? loadAt<quint64>(m_records + qsizetype(i) * kRecordSize) : 0;
}

quint32 KeyFile::lengthAt(int i) const
{
    return i >= 0 && i < m_count ? loadAt<quint32>(m_records + qsizetype(i) * kRecordSize + 8) : 0;
}

int KeyFile::lowerBound(QStringView key) const
{
    return lowerBoundIgnoringCase(m_count, key, [this](int i) { return keyAt(i); });
}
