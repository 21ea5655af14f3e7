#include "dictionary/DictionaryTable.h"

#include "dictionary/DictionarySession.h"
#include "dictionary/HeadwordOrder.h"
#include "dictionary/SqlCipher.h"
#include "platform/AppError.h"

#include <QDir>

using namespace sqlcipher;

struct DictionaryTable::Connection
{
    Database db;
    Statement entry;
};

namespace {

struct OpenError
{
    int code;
    QString message;
};

QString nextStepFor(int code)
{
    switch (code & 0xff) {
    case SQLITE_CANTOPEN:
        return QStringLiteral("Start Verbarium in the folder that holds the dictionary, or build it with verbarium-mkdict.");
    case SQLITE_NOTADB:
        return QStringLiteral("The file is damaged, not a Verbarium dictionary or has another password: rebuild it with verbarium-mkdict.");
    default:
        return QStringLiteral("The file is not a Verbarium dictionary: rebuild it with verbarium-mkdict.");
    }
}

// Length of a headword in UTF-16 units; nearly every headword is ASCII, one byte per unit.
qsizetype utf16Length(const char *text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return QString::fromUtf8(text, length).size();
    }
    return length;
}

} // namespace

DictionaryTable::DictionaryTable(DictionarySession *session, QObject *parent) : QObject(parent), m_session(session)
{
}

DictionaryTable::~DictionaryTable()
{
    close();
}

void DictionaryTable::open()
{
    if (isOpen())
        return;
    emit beforeOpen();

    // A relative name is resolved against the current working folder, as the program never changes it.
    const QString path = QDir::current().absoluteFilePath(m_tableName);
    QStringList passwords = m_session ? m_session->passwords() : QStringList();
    if (passwords.isEmpty())
        passwords.append(QString());

    OpenError failure{SQLITE_OK, {}};
    for (const QString &password : std::as_const(passwords)) {
        try {
            openWith(path, password);
            break;
        } catch (const OpenError &error) {
            failure = error;
            // Only a wrong key is worth another password; anything else fails the same way again.
            if ((error.code & 0xff) != SQLITE_NOTADB)
                break;
        }
    }
    if (!isOpen()) {
        throw AppError(QStringLiteral("Cannot open the dictionary %1: %2.\n%3")
                           .arg(QDir::toNativeSeparators(path), failure.message, nextStepFor(failure.code)));
    }
    // Open stands on the first row (none when empty) without a row-changed notification.
    m_row = m_rowIds.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rowIds.isEmpty();
    emit dataChanged();
}

void DictionaryTable::openWith(const QString &path, const QString &password)
{
    auto connection = std::make_unique<Connection>();
    auto check = [&connection](int rc) {
        if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw OpenError{rc, engineMessage(connection->db.get(), rc)};
    };
    // Read-only and without SQLITE_OPEN_CREATE: a missing file is reported, never created.
    // One thread uses the connection: no per-call mutex (it halves the headword load).
    check(openDatabase(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, connection->db));
    sqlite3 *db = connection->db.get();
    check(applyKey(db, password));
    check(registerHeadwordCollation(db));
    if (m_session && !m_session->privateDir().isEmpty()) {
        // Scratch files (large sorts, temporary tables) go to the session's private folder.
        QString dir = m_session->privateDir();
        dir.replace(QLatin1Char('\''), QLatin1String("''"));
        exec(db, QStringLiteral("PRAGMA temp_store_directory = '%1'").arg(dir).toUtf8().constData());
    }

    // The first statement reads the schema: a wrong password or a foreign file fails here.
    Statement words;
    check(prepare(db,
                  "SELECT rowid, WordName FROM Dictionary INDEXED BY IndexWordName ORDER BY WordName",
                  words));
    check(prepare(db, "SELECT WordDef FROM Dictionary WHERE rowid = ?", connection->entry));

    clearHeadwords();
    // The text is gathered as UTF-8 and decoded once: growing a QString row by row cost more
    // than reading the rows.
    QByteArray utf8;
    // Files from verbarium-mkdict number their rows 1..n, so the largest row id (a single
    // b-tree descent) sizes the buffers; for other files it is only a hint.
    Statement last;
    if (prepare(db, "SELECT max(rowid) FROM Dictionary", last) == SQLITE_OK && sqlite3_step(last.get()) == SQLITE_ROW) {
        const qint64 expected = std::clamp<qint64>(sqlite3_column_int64(last.get(), 0), 0, 4'000'000);
        m_rowIds.reserve(expected);
        m_offsets.reserve(expected + 1);
        utf8.reserve(expected * 12);
    }
    last.reset();
    m_offsets.append(0);
    int rc;
    while ((rc = sqlite3_step(words.get())) == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(words.get(), 1));
        const int length = sqlite3_column_bytes(words.get(), 1);
        m_rowIds.append(sqlite3_column_int64(words.get(), 0));
        utf8.append(text, length);
        m_offsets.append(quint32(m_offsets.constLast() + utf16Length(text, length)));
    }
    if (rc != SQLITE_DONE) {
        clearHeadwords();
        check(rc);
    }
    m_words = QString::fromUtf8(utf8);
    if (m_words.size() != qsizetype(m_offsets.constLast())) {
        clearHeadwords();
        throw OpenError{SQLITE_CORRUPT, QStringLiteral("a headword is not valid UTF-8")};
    }
    // The binary search relies on the stored index using this program's order.
    for (qsizetype i = 1; i < m_rowIds.size(); ++i) {
        if (compareHeadwords(headwordViewAt(int(i - 1)), headwordViewAt(int(i))) > 0) {
            clearHeadwords();
            throw OpenError{SQLITE_CORRUPT, QStringLiteral("the index IndexWordName is out of order")};
        }
    }
    m_offsets.squeeze();
    m_rowIds.squeeze();
    m_connection = std::move(connection);
}

void DictionaryTable::close()
{
    if (!isOpen())
        return;
    m_connection.reset();
    clearHeadwords();
    m_entryRow = -1;
    m_entry.clear();
    setPosition(-1, true, true);
    emit afterClose();
    emit dataChanged();
}

void DictionaryTable::clearHeadwords()
{
    m_words.clear();
    m_offsets.clear();
    m_rowIds.clear();
}

int DictionaryTable::nearestRow(QStringView text) const
{
    const int count = recordCount();
    if (count == 0)
        return -1;
    const QStringView key = searchKey(text);
    // First row whose headword is >= key, case aside: the first of a word's case twins.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareHeadwordsIgnoringCase(headwordViewAt(middle), key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low == count ? count - 1 : low;
}

void DictionaryTable::findNearest(QStringView text)
{
    if (!isOpen() || recordCount() == 0)
        return;
    setPosition(nearestRow(text), false, false);
}

void DictionaryTable::next()
{
    if (!isOpen())
        return;
    if (m_row + 1 < recordCount())
        setPosition(m_row + 1, false, false);
    else
        setPosition(m_row, false, true);
    emit afterScroll();
}

void DictionaryTable::prior()
{
    if (!isOpen())
        return;
    if (m_row > 0)
        setPosition(m_row - 1, false, false);
    else
        setPosition(m_row, true, recordCount() == 0);
    emit afterScroll();
}

void DictionaryTable::moveTo(int row)
{
    if (!isOpen() || row < 0 || row >= recordCount())
        return;
    setPosition(row, false, false);
    emit afterScroll();
}

void DictionaryTable::setPosition(int row, bool bof, bool eof)
{
    if (row == m_row && bof == m_bof && eof == m_eof)
        return;
    m_row = row;
    m_bof = bof;
    m_eof = eof;
    emit dataChanged();
}

QStringView DictionaryTable::headwordViewAt(int row) const
{
    if (row < 0 || row >= recordCount())
        return {};
    const quint32 begin = m_offsets[row];
    return QStringView(m_words).sliced(begin, m_offsets[row + 1] - begin);
}

QString DictionaryTable::headwordAt(int row) const
{
    return headwordViewAt(row).toString();
}

QString DictionaryTable::currentHeadword() const
{
    return headwordAt(m_row);
}

QString DictionaryTable::currentEntry() const
{
    if (!isOpen() || m_row < 0)
        return {};
    if (m_entryRow == m_row)
        return m_entry;
    sqlite3_stmt *statement = m_connection->entry.get();
    sqlite3_bind_int64(statement, 1, m_rowIds[m_row]);
    QString entry;
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(statement, 0));
        if (text)
            entry = QString(reinterpret_cast<const QChar *>(text), sqlite3_column_bytes16(statement, 0) / 2);
    }
    sqlite3_reset(statement);
    // A failed read shows an empty entry now and is tried again on the next visit.
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        m_entryRow = m_row;
        m_entry = entry;
    }
    return entry;
}
