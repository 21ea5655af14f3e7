#include "search/EntryIndex.h"

#include "dictionary/DictionaryWriter.h"
#include "dictionary/SqlCipher.h"
#include "platform/AppError.h"
#include "search/EntryPlainText.h"

#include <functional>

using namespace sqlcipher;

namespace {

constexpr char kCreate[] = "CREATE VIRTUAL TABLE EntryText USING fts4(content=\"\", WordName, Body, tokenize=porter)";
// The tables in which FTS4 keeps a contentless index.
constexpr const char *kShadowTables[] = {"EntryText_segments", "EntryText_segdir", "EntryText_docsize", "EntryText_stat"};

void copyTable(sqlite3 *from, sqlite3 *to, const char *table, const std::function<void(int)> &check)
{
    Statement select;
    check(prepare(from, QByteArray("SELECT * FROM ").append(table).constData(), select));
    const int columns = sqlite3_column_count(select.get());
    QByteArray sql = QByteArray("INSERT INTO ").append(table).append(" VALUES (?");
    for (int i = 1; i < columns; ++i)
        sql.append(", ?");
    sql.append(')');
    Statement insert;
    check(prepare(to, sql.constData(), insert));
    int rc;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i)
            sqlite3_bind_value(insert.get(), i + 1, sqlite3_column_value(select.get(), i));
        check(sqlite3_step(insert.get()));
        sqlite3_reset(insert.get());
    }
    check(rc);
}

} // namespace

void writeEntryIndex(sqlite3 *db, const QList<DictionaryRow> &rows)
{
    Database scratch;
    sqlite3 *failed = db;
    const std::function<void(int)> check = [&failed](int rc) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            throw AppError(QStringLiteral("Cannot write the text index: %1.").arg(engineMessage(failed, rc)));
    };
    // Built in memory first: FTS4 writes and merges many small segments on its way to the final one,
    // and every one of them would leave free pages behind in the file.
    check(openDatabase(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, scratch));
    failed = scratch.get();
    // Porter stemming: "discovery" finds "discoveries".
    check(exec(scratch.get(), kCreate));
    check(exec(scratch.get(), "BEGIN"));
    Statement insert;
    check(prepare(scratch.get(), "INSERT INTO EntryText (docid, WordName, Body) VALUES (?, ?, ?)", insert));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString body = entryPlainText(rows[i].definition);
        sqlite3_bind_int64(insert.get(), 1, i + 1);
        sqlite3_bind_text16(insert.get(), 2, rows[i].word.utf16(), int(rows[i].word.size() * 2), SQLITE_STATIC);
        sqlite3_bind_text16(insert.get(), 3, body.utf16(), int(body.size() * 2), SQLITE_STATIC);
        check(sqlite3_step(insert.get()));
        sqlite3_reset(insert.get());
    }
    insert.reset();
    check(exec(scratch.get(), "COMMIT"));
    // One segment: fewer and smaller reads per query.
    check(exec(scratch.get(), "INSERT INTO EntryText (EntryText) VALUES ('optimize')"));

    failed = db;
    check(exec(db, kCreate));
    for (const char *table : kShadowTables)
        copyTable(scratch.get(), db, table, check);
}

bool hasEntryIndex(sqlite3 *db)
{
    Statement statement;
    return prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'EntryText'", statement) == SQLITE_OK
        && sqlite3_step(statement.get()) == SQLITE_ROW;
}

bool hasDictionaryTable(sqlite3 *db)
{
    Statement statement;
    return prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'Dictionary'", statement) == SQLITE_OK
        && sqlite3_step(statement.get()) == SQLITE_ROW;
}
