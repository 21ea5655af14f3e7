#include "shelf/DictdIndex.h"

#include "shelf/DictData.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringDecoder>

std::optional<quint64> decodeDictdNumber(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    quint64 value = 0;
    for (const char c : text) {
        int digit;
        if (c >= 'A' && c <= 'Z')
            digit = c - 'A';
        else if (c >= 'a' && c <= 'z')
            digit = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            digit = c - '0' + 52;
        else if (c == '+')
            digit = 62;
        else if (c == '/')
            digit = 63;
        else
            return std::nullopt;
        value = value * 64 + quint64(digit);
    }
    return value;
}

QString decodeDictionaryText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

bool isDictdInfoKey(QStringView key)
{
    return key.startsWith(u"00database") || key.startsWith(u"00-database")
        || (key.startsWith(u"00-") && key.size() > 3 && key[3].isLetter());
}

namespace {

// The text of an info entry: dictd repeats the key as the entry's first line.
QString infoText(const DictData &data, const KeyRecord &record)
{
    QString error;
    const auto bytes = data.read(record.offset, std::min<quint32>(record.length, 1u << 16), &error);
    if (!bytes)
        return {};
    QString text = decodeDictionaryText(*bytes);
    const qsizetype firstBreak = text.indexOf(u'\n');
    if (firstBreak >= 0 && text.first(firstBreak).trimmed() == record.key)
        text.remove(0, firstBreak + 1);
    return text.trimmed();
}

QString simplifiedLine(const QString &text)
{
    return text.simplified().left(200);
}

} // namespace

KeyListing readDictdIndex(QByteArrayView index, const DictData &data)
{
    KeyListing listing;
    QHash<QString, KeyRecord> info;
    qsizetype badLines = 0;
    qsizetype pos = 0;
    const qsizetype size = index.size();
    listing.records.reserve(size / 24);
    while (pos < size) {
        qsizetype end = index.indexOf('\n', pos);
        if (end < 0)
            end = size;
        QByteArrayView line = index.sliced(pos, end - pos);
        pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        if (tab1 <= 0 || tab2 < 0) {
            ++badLines;
            continue;
        }
        qsizetype tab3 = line.indexOf('\t', tab2 + 1);
        const auto offset = decodeDictdNumber(line.sliced(tab1 + 1, tab2 - tab1 - 1));
        const auto length = decodeDictdNumber(tab3 < 0 ? line.sliced(tab2 + 1) : line.sliced(tab2 + 1, tab3 - tab2 - 1));
        if (!offset || !length || *length > 0xffffffffu) {
            ++badLines;
            continue;
        }
        // A fourth field is the headword as printed, where the first was folded for dictd's searches.
        const QByteArrayView word = tab3 >= 0 && tab3 + 1 < line.size() ? line.sliced(tab3 + 1) : line.first(tab1);
        KeyRecord record{decodeDictionaryText(word), *offset, quint32(*length)};
        if (isDictdInfoKey(record.key)) {
            info.insert(record.key, record);
            continue;
        }
        listing.records.append(std::move(record));
    }
    if (badLines > 0)
        listing.warnings.append(QCoreApplication::translate("DictdIndex", "%n line(s) of the index could not be read.",
                                                            nullptr, int(badLines)));
    const auto first = [&](std::initializer_list<const char16_t *> keys) {
        for (const char16_t *key : keys) {
            const auto it = info.constFind(QString::fromUtf16(key));
            if (it != info.cend())
                return infoText(data, *it);
        }
        return QString();
    };
    listing.name = simplifiedLine(first({u"00-database-short", u"00databaseshort"}));
    listing.description = first({u"00-database-info", u"00databaseinfo", u"00-database-long", u"00databaselong"});
    listing.licence = first({u"00-database-license", u"00databaselicense", u"00-database-licence"});
    return listing;
}
