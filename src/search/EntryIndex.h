#pragma once

#include <QList>
#include <QString>

struct DictionaryRow;
struct sqlite3;

// The text index: an FTS4 table over the entries' plain text with the headword as its first column,
// docid = the headword's row id. Contentless: the text is already in the dictionary table, so the
// file carries only the index.
inline constexpr char kEntryIndexTable[] = "EntryText";

// Writes the index for rows already numbered 1..n in dictionary order, inside the writer's
// transaction. Throws AppError.
void writeEntryIndex(sqlite3 *db, const QList<DictionaryRow> &rows);

// Whether the open file has the index.
bool hasEntryIndex(sqlite3 *db);
// Whether db holds the dictionary's own table at all (an emptied file opens as an empty database).
bool hasDictionaryTable(sqlite3 *db);
