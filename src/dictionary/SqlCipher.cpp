#include "dictionary/SqlCipher.h"

#include "dictionary/HeadwordOrder.h"

#include <openssl/crypto.h>

namespace sqlcipher {

namespace {

int collateHeadwords(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    // Registered as SQLITE_UTF16 (native byte order): lengths are in bytes.
    return compareHeadwords(QStringView(static_cast<const char16_t *>(a), lengthA / 2),
                            QStringView(static_cast<const char16_t *>(b), lengthB / 2));
}

} // namespace

int openDatabase(const QString &path, int flags, Database &db)
{
    // The cipher's library would otherwise load its own error texts, half a megabyte that is never shown:
    // failures reach the user in the engine's words. Only the first call in the process decides.
    OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CRYPTO_STRINGS, nullptr);
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    db.reset(handle);
    return rc;
}

int applyKey(sqlite3 *db, const QString &password)
{
    if (password.isEmpty())
        return SQLITE_OK;
    const QByteArray key = password.toUtf8();
    int rc = sqlite3_key(db, key.constData(), int(key.size()));
    if (rc != SQLITE_OK)
        return rc;
    rc = exec(db, QByteArray("PRAGMA kdf_iter = " + QByteArray::number(kKdfIterations)).constData());
    if (rc != SQLITE_OK)
        return rc;
    return exec(db, QByteArray("PRAGMA cipher_page_size = " + QByteArray::number(kPageSize)).constData());
}

int registerHeadwordCollation(sqlite3 *db)
{
    return sqlite3_create_collation_v2(db, kHeadwordCollation, SQLITE_UTF16, nullptr, &collateHeadwords, nullptr);
}

int prepare(sqlite3 *db, const char *sql, Statement &statement)
{
    sqlite3_stmt *handle = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, -1, &handle, nullptr);
    statement.reset(handle);
    return rc;
}

int exec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

QString engineMessage(sqlite3 *db, int code)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

} // namespace sqlcipher
