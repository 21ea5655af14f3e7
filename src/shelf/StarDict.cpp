#include "shelf/StarDict.h"

#include "shelf/DictdIndex.h"
#include "shelf/SafeMarkup.h"

#include <QCoreApplication>
#include <QtEndian>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("StarDict", text);
}

} // namespace

bool parseStarDictInfo(QByteArrayView text, StarDictInfo *info, QString *error)
{
    const QString all = decodeDictionaryText(text);
    const QStringList lines = all.split(u'\n');
    if (lines.isEmpty() || lines.first().trimmed() != u"StarDict's dict ifo file") {
        *error = tr("The .ifo file does not begin as a StarDict dictionary's does.");
        return false;
    }
    QHash<QString, QString> values;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype eq = lines[i].indexOf(u'=');
        if (eq > 0)
            values.insert(lines[i].first(eq).trimmed(), lines[i].sliced(eq + 1).trimmed());
    }
    const QString version = values.value(QStringLiteral("version"));
    if (version != u"2.4.2" && version != u"3.0.0") {
        *error = tr("StarDict version \"%1\" is not one this program reads (2.4.2 or 3.0.0).").arg(version);
        return false;
    }
    const auto number = [&](const char *key) {
        bool ok = false;
        const qint64 value = values.value(QString::fromLatin1(key)).toLongLong(&ok);
        return ok && value >= 0 ? value : -1;
    };
    info->name = values.value(QStringLiteral("bookname")).simplified().left(200);
    // StarDict writes line breaks in the description as <br>.
    info->description = values.value(QStringLiteral("description")).replace(QStringLiteral("<br>"), QStringLiteral("\n"));
    info->licence = values.value(QStringLiteral("copyright"));
    info->sameTypeSequence = values.value(QStringLiteral("sametypesequence"));
    info->wordCount = number("wordcount");
    info->synonymCount = number("synwordcount");
    info->indexFileSize = number("idxfilesize");
    info->offsetBits = 32;
    if (version == u"3.0.0" && values.value(QStringLiteral("idxoffsetbits")) == u"64")
        info->offsetBits = 64;
    return true;
}

KeyListing readStarDictIndex(QByteArrayView idx, QByteArrayView syn, const StarDictInfo &info)
{
    KeyListing listing;
    listing.name = info.name;
    listing.description = info.description;
    listing.licence = info.licence;
    const qsizetype numberBytes = info.offsetBits == 64 ? 12 : 8;
    const auto *p = reinterpret_cast<const uchar *>(idx.data());
    qsizetype pos = 0;
    while (pos < idx.size()) {
        const qsizetype end = idx.indexOf('\0', pos);
        if (end < 0 || end + 1 + numberBytes > idx.size()) {
            listing.warnings.append(QCoreApplication::translate("StarDict", "The index is cut short after %n word(s).", nullptr, int(listing.records.size())));
            break;
        }
        KeyRecord record;
        record.key = decodeDictionaryText(idx.sliced(pos, end - pos));
        const uchar *numbers = p + end + 1;
        if (numberBytes == 12) {
            record.offset = qFromBigEndian<quint64>(numbers);
            record.length = qFromBigEndian<quint32>(numbers + 8);
        } else {
            record.offset = qFromBigEndian<quint32>(numbers);
            record.length = qFromBigEndian<quint32>(numbers + 4);
        }
        pos = end + 1 + numberBytes;
        listing.records.append(std::move(record));
    }
    const qsizetype words = listing.records.size();
    if (info.wordCount >= 0 && info.wordCount != words)
        listing.warnings.append(tr("The .ifo gives %1 words, the index holds %2.").arg(info.wordCount).arg(words));
    if (info.indexFileSize >= 0 && info.indexFileSize != idx.size())
        listing.warnings.append(tr("The .ifo gives an index of %1 bytes, it has %2.").arg(info.indexFileSize).arg(idx.size()));

    qsizetype synonyms = 0;
    qsizetype badSynonyms = 0;
    const auto *s = reinterpret_cast<const uchar *>(syn.data());
    pos = 0;
    while (pos < syn.size()) {
        const qsizetype end = syn.indexOf('\0', pos);
        if (end < 0 || end + 5 > syn.size()) {
            ++badSynonyms;
            break;
        }
        const quint32 target = qFromBigEndian<quint32>(s + end + 1);
        if (target < quint32(words)) {
            KeyRecord record = listing.records[target];
            record.key = decodeDictionaryText(syn.sliced(pos, end - pos));
            listing.records.append(std::move(record));
            ++synonyms;
        } else {
            ++badSynonyms;
        }
        pos = end + 5;
    }
    if (badSynonyms > 0)
        listing.warnings.append(QCoreApplication::translate("StarDict", "%n synonym(s) point past the index or are cut short.", nullptr, int(badSynonyms)));
    if (!syn.isEmpty() && info.synonymCount >= 0 && info.synonymCount != synonyms + badSynonyms)
        listing.warnings.append(tr("The .ifo gives %1 synonyms, the file holds %2.").arg(info.synonymCount).arg(synonyms + badSynonyms));
    return listing;
}

namespace {

void appendPart(RenderedEntry *out, char type, QByteArrayView bytes)
{
    const auto addHtml = [out](const QString &html, const QString &plain) {
        if (!out->plainText.isEmpty())
            out->plainText += u'\n';
        out->plainText += plain;
        out->html += QStringLiteral("<div>") + html + QStringLiteral("</div>");
    };
    switch (type) {
    case 'm':
    case 'l':
    case 'y': {
        const QString text = decodeDictionaryText(bytes);
        addHtml(plainToHtml(text), text);
        break;
    }
    case 't': {
        const QString text = decodeDictionaryText(bytes);
        addHtml(QStringLiteral("[") + plainToHtml(text) + QStringLiteral("]"), QStringLiteral("[%1]").arg(text));
        break;
    }
    case 'g':
    case 'x':
    case 'h': {
        const SafeMarkup safe = sanitizeMarkup(decodeDictionaryText(bytes));
        addHtml(safe.html, safe.plainText);
        break;
    }
    default: {
        const QString note = tr("(a part of type '%1' that this program does not show)").arg(QChar::fromLatin1(type));
        addHtml(QStringLiteral("<i>") + plainToHtml(note) + QStringLiteral("</i>"), note);
        break;
    }
    }
}

} // namespace

RenderedEntry renderStarDictEntry(QByteArrayView data, const QString &sameTypeSequence)
{
    RenderedEntry out;
    const auto *p = reinterpret_cast<const uchar *>(data.data());
    qsizetype pos = 0;
    // One part: a lowercase type is text up to a NUL (or, as the last of a typed sequence, to the end);
    // an uppercase type is a 32-bit size and that many bytes (the size left out when last of a sequence).
    const auto part = [&](char type, bool lastOfSequence) -> bool {
        const bool sized = type >= 'A' && type <= 'Z';
        QByteArrayView bytes;
        if (lastOfSequence) {
            bytes = data.sliced(pos);
            pos = data.size();
        } else if (sized) {
            if (pos + 4 > data.size())
                return false;
            const quint32 size = qFromBigEndian<quint32>(p + pos);
            if (size > quint64(data.size() - pos - 4))
                return false;
            bytes = data.sliced(pos + 4, size);
            pos += 4 + qsizetype(size);
        } else {
            qsizetype end = data.indexOf('\0', pos);
            if (end < 0)
                end = data.size();
            bytes = data.sliced(pos, end - pos);
            pos = std::min(end + 1, data.size());
        }
        appendPart(&out, type, bytes);
        return true;
    };
    bool whole = true;
    if (!sameTypeSequence.isEmpty()) {
        for (qsizetype i = 0; i < sameTypeSequence.size() && whole; ++i)
            whole = part(char(sameTypeSequence[i].toLatin1()), i + 1 == sameTypeSequence.size());
    } else {
        while (pos < data.size() && whole) {
            const char type = char(p[pos++]);
            whole = part(type, false);
        }
    }
    if (!whole) {
        const QString note = tr("The rest of this entry is damaged.");
        out.plainText += u'\n' + note;
        out.html += QStringLiteral("<p><i>") + plainToHtml(note) + QStringLiteral("</i></p>");
    }
    return out;
}
