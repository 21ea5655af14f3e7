#pragma once

#include "shelf/KeyRecord.h"

#include <QByteArrayView>
#include <QHash>

// What a StarDict ".ifo" says: its version and counts, and how entries are typed.
struct StarDictInfo
{
    QString name;
    QString description;
    QString licence;
    QString sameTypeSequence;
    qint64 wordCount = -1;
    qint64 synonymCount = -1;
    qint64 indexFileSize = -1;
    int offsetBits = 32;
};

// Parses the text of an ".ifo"; false, with *error, when it is not one or names a version we do not read.
bool parseStarDictInfo(QByteArrayView text, StarDictInfo *info, QString *error);

// The records of an ".idx" in file order; a record cut short ends the list with a warning, and counts that
// differ from those the ".ifo" gives are warned of. Synonyms (".syn", may be empty) point at records by
// number and become records of their own with the same text.
KeyListing readStarDictIndex(QByteArrayView idx, QByteArrayView syn, const StarDictInfo &info);

// One entry's data as text and as safe rich text: each part by its type letter (m t l g x h; others are
// named, not shown). Markup keeps only simple formatting: no scripts, styles, pictures or links survive.
struct RenderedEntry
{
    QString plainText;
    QString html;
};
RenderedEntry renderStarDictEntry(QByteArrayView data, const QString &sameTypeSequence);
