#include "dictionary/DictionaryWriter.h"

#include "dictionary/HeadwordOrder.h"
#include "dictionary/SqlCipher.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace sqlcipher;

namespace {

void validate(const QList<DictionaryRow> &rows)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString &word = rows[i].word;
        if (word.isEmpty())
            throw AppError(QStringLiteral("Row %1 has an empty headword.").arg(i + 1));
        if (word.size() > kMaxHeadwordLength)
            throw AppError(QStringLiteral("Headword \"%1\" is longer than %2 characters.").arg(word).arg(kMaxHeadwordLength));
    }
}

bool syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void writeRows(const QString &path, const QList<DictionaryRow> &rows, const QString &password,
               const DictionaryProgress &progress, const DictionaryExtra &extra)
{
    Database db;
    auto check = [&db, &path](int rc) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            throw AppError(QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), engineMessage(db.get(), rc)));
    };
    check(openDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db));
    sqlite3 *handle = db.get();
    check(applyKey(handle, password));
    check(registerHeadwordCollation(handle));
    // The file is renamed into place only when complete, so no journal is needed.
    check(exec(handle, "PRAGMA journal_mode = OFF"));
    check(exec(handle, "PRAGMA synchronous = OFF"));
    check(exec(handle,
               "CREATE TABLE Dictionary ("
               " WordName TEXT NOT NULL COLLATE HEADWORD CHECK (length(WordName) BETWEEN 1 AND 32),"
               " WordDef TEXT NOT NULL DEFAULT '',"
               " WordPron TEXT)"));
    check(exec(handle, "BEGIN"));
    Statement insert;
    check(prepare(handle, "INSERT INTO Dictionary (rowid, WordName, WordDef, WordPron) VALUES (?, ?, ?, ?)", insert));
    const qsizetype total = rows.size();
    for (qsizetype i = 0; i < total; ++i) {
        const DictionaryRow &row = rows[i];
        sqlite3_bind_int64(insert.get(), 1, i + 1);
        sqlite3_bind_text16(insert.get(), 2, row.word.utf16(), int(row.word.size() * 2), SQLITE_STATIC);
        sqlite3_bind_text16(insert.get(), 3, row.definition.utf16(), int(row.definition.size() * 2), SQLITE_STATIC);
        if (row.pronunciation.isEmpty())
            sqlite3_bind_null(insert.get(), 4);
        else
            sqlite3_bind_text16(insert.get(), 4, row.pronunciation.utf16(), int(row.pronunciation.size() * 2), SQLITE_STATIC);
        check(sqlite3_step(insert.get()));
        sqlite3_reset(insert.get());
        if (progress && (i + 1) % 20000 == 0)
            progress(i + 1, total);
    }
    insert.reset();
    // Built after the rows: one sort instead of 147k ordered inserts.
    check(exec(handle, "CREATE INDEX IndexWordName ON Dictionary (WordName)"));
    if (extra)
        extra(handle, rows);
    check(exec(handle, "COMMIT"));
    if (progress)
        progress(total, total);
    const int rc = sqlite3_close(db.release());
    if (rc != SQLITE_OK)
        throw AppError(QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), engineMessage(nullptr, rc)));
}

} // namespace

void writeDictionary(const QString &path, QList<DictionaryRow> rows, const QString &password,
                     const DictionaryProgress &progress, const DictionaryExtra &extra)
{
    validate(rows);
    std::stable_sort(rows.begin(), rows.end(), [](const DictionaryRow &a, const DictionaryRow &b) {
        return compareHeadwords(a.word, b.word) < 0;
    });

    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw AppError(QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), temp.errorString()));
    const QString tempPath = temp.fileName();
    temp.close();

    writeRows(tempPath, rows, password, progress, extra);
    // QTemporaryFile makes the file private; the dictionary is read by every user of an installation.
    QFile::setPermissions(tempPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!syncFile(tempPath)
        || std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        throw AppError(QStringLiteral("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno))));
    }
    temp.setAutoRemove(false);
}
