#pragma once

#include <QList>
#include <QString>

#include <functional>

struct DictionaryRow
{
    QString word;
    QString definition;
    QString pronunciation = {}; // IPA; stored as WordPron, none when empty
};

// Called now and then while rows are written: rows done so far, rows in all.
using DictionaryProgress = std::function<void(qsizetype done, qsizetype total)>;

struct sqlite3;
// Writes more tables into the file, inside the rows' transaction, given the rows in their stored order.
using DictionaryExtra = std::function<void(sqlite3 *db, const QList<DictionaryRow> &rows)>;

// Sorts rows by compareHeadwords and writes them as a SQLCipher dictionary, row id = position
// in the order of "IndexWordName". Writes a temporary file beside path and renames it over
// path, so path is never left half-written. An empty password writes an unencrypted file.
// Throws AppError.
void writeDictionary(const QString &path, QList<DictionaryRow> rows,
                     const QString &password = QStringLiteral("marbol47quen"),
                     const DictionaryProgress &progress = {}, const DictionaryExtra &extra = {});
