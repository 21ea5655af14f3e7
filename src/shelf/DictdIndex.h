#pragma once

#include "shelf/KeyRecord.h"

#include <QByteArrayView>

#include <optional>

class DictData;

// A number in dictd's index notation: base 64 with the digits A-Z a-z 0-9 + /, most significant first.
// Nothing for an empty text, a foreign character or a value past 48 bits.
std::optional<quint64> decodeDictdNumber(QByteArrayView text);

// Text of a dictionary file: UTF-8 where it is valid, else Latin-1, so no byte is lost or replaced.
QString decodeDictionaryText(QByteArrayView bytes);

// Whether a dictd headword is one of the dictionary's notes about itself ("00-database-short", "00databaseinfo").
bool isDictdInfoKey(QStringView key);

// The lines of a NAME.index (headword TAB offset TAB length [TAB original headword]), in file order, with the
// dictionary's name, description and licence read from data. Lines that do not parse are skipped and counted in
// a warning; the info keys do not become headwords.
KeyListing readDictdIndex(QByteArrayView index, const DictData &data);
