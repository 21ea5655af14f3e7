#include "search/StemTokenizer.h"

#include <QVarLengthArray>

using namespace sqlcipher;

StemTokenizer::StemTokenizer(sqlite3 *db)
{
    if (!db) {
        if (openDatabase(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, m_own) != SQLITE_OK)
            return;
        db = m_own.get();
    }
    // A temporary table: the dictionary file itself stays read-only and unchanged.
    if (exec(db, "CREATE VIRTUAL TABLE IF NOT EXISTS temp.EntryStems USING fts3tokenize(porter)") != SQLITE_OK)
        return;
    if (prepare(db, "SELECT token, start, \"end\" FROM temp.EntryStems WHERE input = ?", m_tokens) != SQLITE_OK)
        m_tokens.reset();
}

QList<StemTokenizer::Token> StemTokenizer::tokens(QStringView text, qsizetype limit) const
{
    QList<Token> result;
    if (!m_tokens || text.isEmpty())
        return result;
    const QByteArray utf8 = text.toUtf8();
    // The engine counts in UTF-8 bytes; map them back to UTF-16 positions unless the text is ASCII.
    const bool ascii = utf8.size() == text.size();
    QVarLengthArray<qsizetype, 1> toUtf16;
    if (!ascii) {
        toUtf16.resize(utf8.size() + 1);
        qsizetype position = 0;
        for (qsizetype byte = 0; byte < utf8.size(); ++byte) {
            toUtf16[byte] = position;
            const uchar b = uchar(utf8[byte]);
            // A 4-byte sequence is a surrogate pair: two UTF-16 units.
            if ((b & 0xc0) != 0x80)
                position += (b >= 0xf0) ? 2 : 1;
        }
        toUtf16[utf8.size()] = position;
    }
    auto at = [&](int byte) { return ascii ? qsizetype(byte) : toUtf16[qBound(0, byte, int(utf8.size()))]; };
    sqlite3_stmt *statement = m_tokens.get();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    while ((limit < 0 || result.size() < limit) && sqlite3_step(statement) == SQLITE_ROW) {
        const auto *stem = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        result.append(Token{QString::fromUtf8(stem, sqlite3_column_bytes(statement, 0)),
                            at(sqlite3_column_int(statement, 1)), at(sqlite3_column_int(statement, 2))});
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return result;
}

QStringList StemTokenizer::stems(const QStringList &words) const
{
    QStringList result;
    for (const QString &word : words) {
        for (const Token &token : tokens(word)) {
            if (!result.contains(token.stem))
                result.append(token.stem);
        }
    }
    return result;
}
