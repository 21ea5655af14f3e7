#pragma once

#include <QString>

#include <memory>

#include <sqlite3.h>

// Thin helpers over the SQLCipher C API, shared by the dictionary writer and the table.
namespace sqlcipher {

// The builder and the program must derive the key alike. The password ships inside the program, so
// the rounds buy no secrecy, only start-up time: SQLCipher's default of 64,000 costs ~60 ms of CPU at
// every start, and the start's other work shares two cores with the display server. 256 rounds keep
// the password required for well under a millisecond.
inline constexpr int kKdfIterations = 256;
// Larger pages than SQLCipher's 1 KiB default: fewer page decryptions when the headwords load.
inline constexpr int kPageSize = 4096;
// Pages the program's connection keeps decrypted (256 KiB): the headword scan reads each page once,
// and an entry needs little beyond the upper levels of the b-tree. SQLite's default of 2,000 pages
// held 12 MB after the scan.
inline constexpr int kCachePages = 64;

inline constexpr char kTableName[] = "Dictionary";
inline constexpr char kIndexName[] = "IndexWordName";

struct DatabaseCloser
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Opens path; on failure the handle is still returned (when SQLite made one) so its message can be read.
int openDatabase(const QString &path, int flags, Database &db);
// Gives the password and the cipher settings; an empty password leaves the file unencrypted.
int applyKey(sqlite3 *db, const QString &password);
// Registers compareHeadwords as the collation the column and index "IndexWordName" are declared with.
int registerHeadwordCollation(sqlite3 *db);
int prepare(sqlite3 *db, const char *sql, Statement &statement);
int exec(sqlite3 *db, const char *sql);
// The engine's own error text for the last failed call on db (or for the code when db is null).
QString engineMessage(sqlite3 *db, int code);

} // namespace sqlcipher
