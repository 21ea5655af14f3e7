#include "dictionary/DictionaryTable.h"

#include "dictionary/DictionarySession.h"
#include "dictionary/HeadwordOrder.h"
#include "dictionary/SqlCipher.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <limits>
#include <numeric>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sqlcipher;

struct DictionaryTable::Connection
{
    Database db;
    Statement entry;
    // The headword scan, kept where open left it until the rest of the headwords are read.
    Statement words;
};

namespace {

// Rows read at open: more than the tallest word list shows, so the first paint needs no more.
constexpr qsizetype kFirstScreenRows = 256;

const char kOutOfOrder[] = "the index IndexWordName is out of order";

struct OpenError
{
    int code;
    QString message;
};

// Why a file that exists cannot serve as the dictionary; empty when it is a readable regular file or
// missing. Opened without blocking: a FIFO with no writer would otherwise hold the start for good.
QString unreadableReason(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    struct stat info;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular ? QString() : QStringLiteral("it is not a regular file");
}

QString nextStepFor(int code, const QString &path)
{
    switch (code & 0xff) {
    case SQLITE_CANTOPEN:
        if (const QString reason = unreadableReason(path); !reason.isEmpty())
            return QStringLiteral("The file cannot be read: %1.").arg(reason);
        return QStringLiteral("Start Verbarium in the folder that holds the dictionary, or build it with verbarium-mkdict.");
    case SQLITE_NOTADB:
        return QStringLiteral("The file is damaged, not a Verbarium dictionary or has another password: rebuild it with verbarium-mkdict.");
    default:
        return QStringLiteral("The file is not a Verbarium dictionary: rebuild it with verbarium-mkdict.");
    }
}

bool isAscii(const char *text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// A single value from a one-row query, or fallback when the query yields nothing.
qint64 queryInteger(sqlite3 *db, const char *sql, qint64 fallback)
{
    Statement statement;
    if (prepare(db, sql, statement) != SQLITE_OK || sqlite3_step(statement.get()) != SQLITE_ROW
        || sqlite3_column_type(statement.get(), 0) == SQLITE_NULL)
        return fallback;
    return sqlite3_column_int64(statement.get(), 0);
}

} // namespace

DictionaryTable::DictionaryTable(DictionarySession *session, QObject *parent) : QObject(parent), m_session(session)
{
}

DictionaryTable::~DictionaryTable()
{
    close();
}

sqlite3 *DictionaryTable::preopen(const QString &path, const QString &password)
{
    Database db;
    if (!unreadableReason(path).isEmpty()
        || openDatabase(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, db) != SQLITE_OK
        || applyKey(db.get(), password) != SQLITE_OK || registerHeadwordCollation(db.get()) != SQLITE_OK)
        return nullptr;
    // The first statement derives the key and decrypts the schema.
    Statement statement;
    if (prepare(db.get(), "SELECT rowid FROM Dictionary LIMIT 1", statement) != SQLITE_OK)
        return nullptr;
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return nullptr;
    return db.release();
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
                           .arg(QDir::toNativeSeparators(path), failure.message, nextStepFor(failure.code, path)));
    }
    // Open stands on the first row (none when empty) without a row-changed notification.
    m_row = m_count == 0 ? -1 : 0;
    m_bof = true;
    m_eof = m_count == 0;
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
    if (!unreadableReason(path).isEmpty())
        throw OpenError{SQLITE_CANTOPEN, engineMessage(nullptr, SQLITE_CANTOPEN)};
    if (sqlite3 *ready = m_preopened ? m_preopened(path, password) : nullptr) {
        connection->db.reset(ready);
    } else {
        check(openDatabase(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, connection->db));
        check(applyKey(connection->db.get(), password));
    }
    sqlite3 *db = connection->db.get();
    check(registerHeadwordCollation(db));
    check(exec(db, QByteArray("PRAGMA cache_size = " + QByteArray::number(kCachePages)).constData()));
    if (m_session && !m_session->privateDir().isEmpty()) {
        // Scratch files (large sorts, temporary tables) go to the session's private folder.
        QString dir = m_session->privateDir();
        dir.replace(QLatin1Char('\''), QLatin1String("''"));
        exec(db, QStringLiteral("PRAGMA temp_store_directory = '%1'").arg(dir).toUtf8().constData());
    }

    // The first statement reads the schema: a wrong password or a foreign file fails here.
    check(prepare(db,
                  "SELECT rowid, WordName FROM Dictionary INDEXED BY IndexWordName ORDER BY WordName",
                  connection->words));
    // Files written before pronunciations were stored have no WordPron column: they show none.
    if (prepare(db, "SELECT WordDef, WordPron FROM Dictionary WHERE rowid = ?", connection->entry) != SQLITE_OK)
        check(prepare(db, "SELECT WordDef, NULL FROM Dictionary WHERE rowid = ?", connection->entry));

    clearHeadwords();
    // Files from verbarium-mkdict number their rows 1..n in index order, so the largest row id
    // (a single b-tree descent) is the row count; for other files it only sizes the buffers.
    const qint64 lastRowId = std::clamp<qint64>(queryInteger(db, "SELECT max(rowid) FROM Dictionary", 0), 0, 4'000'000);
    m_offsets.reserve(lastRowId + 1);
    m_latin1.reserve(lastRowId * 12);
    m_offsets.append(0);

    sqlite3_stmt *scan = connection->words.get();
    int rc = readHeadwords(scan, kFirstScreenRows);
    bool numbered = false;
    if (rc == SQLITE_ROW && m_numbered) {
        // Rows 1..k came first; the row count holds if the last row in index order is the largest.
        numbered = queryInteger(db,
                                "SELECT rowid FROM Dictionary INDEXED BY IndexWordName ORDER BY WordName DESC LIMIT 1",
                                -1)
            == lastRowId;
    }
    // Other files are read whole now, as nothing tells their row count sooner.
    if (rc == SQLITE_ROW && !numbered)
        rc = readHeadwords(scan, std::numeric_limits<qsizetype>::max());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        clearHeadwords();
        check(rc);
    }
    // The binary search relies on the stored index using this program's order.
    if (!m_ordered) {
        clearHeadwords();
        throw OpenError{SQLITE_CORRUPT, QString::fromLatin1(kOutOfOrder)};
    }
    if (rc == SQLITE_DONE) {
        connection->words.reset();
        finishHeadwords();
    } else {
        m_count = int(lastRowId);
    }
    m_connection = std::move(connection);
}

int DictionaryTable::readHeadwords(sqlite3_stmt *scan, qsizetype limit) const
{
    int rc = SQLITE_ROW;
    for (qsizetype n = 0; n < limit; ++n) {
        rc = sqlite3_step(scan);
        if (rc != SQLITE_ROW)
            break;
        const qint64 rowId = sqlite3_column_int64(scan, 0);
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(scan, 1));
        const int length = sqlite3_column_bytes(scan, 1);
        const int row = loadedCount();
        if (m_numbered && rowId != row + 1) {
            // Numbered otherwise: from here on every row id is kept.
            m_numbered = false;
            m_rowIds.reserve(m_offsets.capacity());
            for (qint64 id = 1; id <= row; ++id)
                m_rowIds.append(id);
        }
        if (!m_numbered)
            m_rowIds.append(rowId);
        // Nearly every headword is ASCII and goes straight in.
        if (isAscii(text, length)) {
            if (m_wide)
                m_words.append(QLatin1StringView(text, length));
            else
                m_latin1.append(text, length);
        } else {
            const QString word = QString::fromUtf8(text, length);
            if (!m_wide && std::any_of(word.cbegin(), word.cend(), [](QChar c) { return c.unicode() > 0xff; }))
                widen();
            if (m_wide)
                m_words.append(word);
            else
                m_latin1.append(word.toLatin1());
        }
        m_offsets.append(quint32(m_wide ? m_words.size() : m_latin1.size()));
        if (m_ordered && row > 0) {
            const int order = m_wide ? compareHeadwords(storedView(row - 1), storedView(row))
                                     : compareHeadwords(storedLatin1(row - 1), storedLatin1(row));
            m_ordered = order <= 0;
        }
    }
    return rc;
}

void DictionaryTable::loadAllHeadwords()
{
    ensureLoaded();
}

void DictionaryTable::ensureLoaded() const
{
    if (m_complete || !m_connection || !m_connection->words)
        return;
    const int announced = m_count;
    const int rc = readHeadwords(m_connection->words.get(), std::numeric_limits<qsizetype>::max());
    m_connection->words.reset();
    // The file was readable at open; a later failure keeps the rows read so far.
    if (rc != SQLITE_DONE)
        qWarning("Verbarium: the dictionary could not be read to its end: %s", qPrintable(engineMessage(m_connection->db.get(), rc)));
    if (!m_ordered)
        sortHeadwords();
    finishHeadwords();
    if (m_count != announced) {
        // Only a file numbered with gaps gets here. Views learn of it on the next turn, as this
        // may run inside a view's own painting.
        QMetaObject::invokeMethod(const_cast<DictionaryTable *>(this), &DictionaryTable::dataChanged, Qt::QueuedConnection);
    }
}

void DictionaryTable::finishHeadwords() const
{
    m_count = loadedCount();
    m_complete = true;
    // The words' buffer keeps its spare capacity: untouched pages cost no memory, a copy would.
    m_offsets.squeeze();
    m_rowIds.squeeze();
#ifdef __GLIBC__
    // The scan's transient allocations sit in the heap; hand the freed pages back.
    malloc_trim(0);
#endif
}

void DictionaryTable::sortHeadwords() const
{
    // The index disagrees with this program's order beyond the first screenful: sort here so that
    // the binary search still finds every word.
    widen();
    const int count = loadedCount();
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return compareHeadwords(storedView(a), storedView(b)) < 0; });
    QString words;
    words.reserve(m_words.size());
    QList<quint32> offsets;
    offsets.reserve(count + 1);
    offsets.append(0);
    QList<qint64> rowIds;
    rowIds.reserve(count);
    for (const int row : std::as_const(order)) {
        words.append(storedView(row));
        offsets.append(quint32(words.size()));
        rowIds.append(rowIdAt(row));
    }
    m_words = std::move(words);
    m_offsets = std::move(offsets);
    m_rowIds = std::move(rowIds);
    m_numbered = false;
    m_ordered = true;
}

qint64 DictionaryTable::rowIdAt(int row) const
{
    return m_numbered ? qint64(row) + 1 : m_rowIds[row];
}

QStringView DictionaryTable::storedView(int row) const
{
    const quint32 begin = m_offsets[row];
    return QStringView(m_words).sliced(begin, m_offsets[row + 1] - begin);
}

QLatin1StringView DictionaryTable::storedLatin1(int row) const
{
    const quint32 begin = m_offsets[row];
    return QLatin1StringView(m_latin1).sliced(begin, m_offsets[row + 1] - begin);
}

void DictionaryTable::widen() const
{
    if (m_wide)
        return;
    m_words.reserve(m_latin1.capacity());
    m_words.append(QLatin1StringView(m_latin1));
    m_latin1 = QByteArray();
    m_wide = true;
}

void DictionaryTable::close()
{
    if (!isOpen())
        return;
    m_connection.reset();
    clearHeadwords();
    m_entryRow = -1;
    m_entry.clear();
    m_pronunciation.clear();
    setPosition(-1, true, true);
    emit afterClose();
    emit dataChanged();
}

void DictionaryTable::clearHeadwords()
{
    m_latin1 = QByteArray();
    m_words = QString();
    m_wide = false;
    m_offsets = QList<quint32>();
    m_rowIds = QList<qint64>();
    m_complete = false;
    m_ordered = true;
    m_numbered = true;
    m_count = 0;
}

int DictionaryTable::nearestRow(QStringView text) const
{
    ensureLoaded();
    if (m_overlay)
        return m_overlay->count() == 0 ? -1 : m_overlay->nearest(text);
    const int count = recordCount();
    if (count == 0)
        return -1;
    const QStringView key = searchKey(text);
    const int low = m_wide ? lowerBoundIgnoringCase(count, key, [this](int row) { return storedView(row); })
                           : lowerBoundIgnoringCase(count, key, [this](int row) { return storedLatin1(row); });
    return low == count ? count - 1 : low;
}

int DictionaryTable::findHeadword(QStringView word, QString *spelling) const
{
    if (!isOpen() || word.isEmpty() || word.size() > kMaxHeadwordLength)
        return -1;
    int found = -1;
    QString foundSpelling;
    // An exact spelling wins; otherwise the first of the case twins, which sit side by side in the index.
    const auto consider = [&found, &foundSpelling, word](int row, QStringView headword) {
        if (compareHeadwordsIgnoringCase(headword, word) != 0)
            return false;
        if (headword == word || found < 0 || row < found) {
            found = row;
            foundSpelling = headword.toString();
        }
        return headword == word;
    };
    const auto answer = [&] {
        if (spelling)
            *spelling = foundSpelling;
        return found;
    };
    if (!m_numbered || m_complete) {
        const int first = nearestRow(word);
        for (int row = std::max(first, 0); first >= 0 && row < recordCount(); ++row) {
            const QString headword = headwordAt(row);
            if (consider(row, headword))
                return answer();
            if (compareHeadwordsIgnoringCase(headword, word) != 0)
                break;
        }
        return answer();
    }
    // The word may sort among its twins, so both sides of it are looked at.
    for (const char *sql : {"SELECT rowid, WordName FROM Dictionary INDEXED BY IndexWordName WHERE WordName >= ?1 "
                            "ORDER BY WordName LIMIT 8",
                            "SELECT rowid, WordName FROM Dictionary INDEXED BY IndexWordName WHERE WordName < ?1 "
                            "ORDER BY WordName DESC LIMIT 8"}) {
        Statement statement;
        if (prepare(m_connection->db.get(), sql, statement) != SQLITE_OK)
            return -1;
        sqlite3_bind_text16(statement.get(), 1, word.utf16(), int(word.size() * 2), SQLITE_TRANSIENT);
        while (sqlite3_step(statement.get()) == SQLITE_ROW) {
            const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(statement.get(), 1));
            const QStringView headword(text, sqlite3_column_bytes16(statement.get(), 1) / 2);
            const int row = int(sqlite3_column_int64(statement.get(), 0) - 1);
            if (consider(row, headword))
                return answer();
            if (compareHeadwordsIgnoringCase(headword, word) != 0)
                break;
        }
    }
    return answer();
}

bool DictionaryTable::readRow(int row, QString *entry, QString *pronunciation) const
{
    if (!isOpen() || row < 0 || row >= recordCount()) {
        entry->clear();
        pronunciation->clear();
        return false;
    }
    return readEntry(row, entry, pronunciation);
}

HeadwordSet DictionaryTable::headwordSet() const
{
    ensureLoaded();
    return HeadwordSet(m_latin1, m_words, m_offsets, m_wide);
}

bool HeadwordSet::containsIgnoringCase(QStringView word) const
{
    const int count = int(m_offsets.size()) - 1;
    if (count <= 0 || word.size() > kMaxHeadwordLength)
        return false;
    const auto wide = [this](int row) {
        return QStringView(m_words).sliced(m_offsets[row], m_offsets[row + 1] - m_offsets[row]);
    };
    const auto narrow = [this](int row) {
        return QLatin1StringView(m_latin1).sliced(m_offsets[row], m_offsets[row + 1] - m_offsets[row]);
    };
    if (m_wide) {
        const int row = lowerBoundIgnoringCase(count, word, wide);
        return row < count && compareHeadwordsIgnoringCase(wide(row), word) == 0;
    }
    const int row = lowerBoundIgnoringCase(count, word, narrow);
    return row < count && compareHeadwordsIgnoringCase(narrow(row), word) == 0;
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
    ensureLoaded();
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
    ensureLoaded();
    if (m_row > 0)
        setPosition(m_row - 1, false, false);
    else
        setPosition(m_row, true, recordCount() == 0);
    emit afterScroll();
}

void DictionaryTable::moveTo(int row)
{
    ensureLoaded();
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

QString DictionaryTable::headwordAt(int row) const
{
    if (m_overlay)
        return row >= 0 && row < m_overlay->count() ? m_overlay->headword(row) : QString();
    if (row >= loadedCount())
        ensureLoaded();
    if (row < 0 || row >= loadedCount())
        return {};
    return m_wide ? storedView(row).toString() : QString(storedLatin1(row));
}

QAnyStringView DictionaryTable::headwordView(int row) const
{
    if (m_overlay)
        return row >= 0 && row < m_overlay->count() ? m_overlay->headwordView(row) : QAnyStringView();
    if (row >= loadedCount())
        ensureLoaded();
    if (row < 0 || row >= loadedCount())
        return {};
    if (m_wide)
        return storedView(row);
    return storedLatin1(row);
}

QString DictionaryTable::currentHeadword() const
{
    return headwordAt(m_row);
}

QString DictionaryTable::currentEntry() const
{
    const int row = tableRowOf(m_row);
    if (!isOpen() || row < 0)
        return {};
    if (m_entryRow != row) {
        QString entry, pronunciation;
        // A damaged file must not pass for an empty definition. The read is tried again on the next visit.
        if (!readEntry(row, &entry, &pronunciation))
            return entry;
        m_entry = entry;
        m_pronunciation = pronunciation;
        m_entryRow = row;
    }
    return m_entry;
}

QString DictionaryTable::currentPronunciation() const
{
    currentEntry();
    return m_entryRow >= 0 && m_entryRow == tableRowOf(m_row) ? m_pronunciation : QString();
}

int DictionaryTable::tableRowOf(int row) const
{
    if (!m_overlay)
        return row;
    return row >= 0 && row < m_overlay->count() ? m_overlay->tableRow(row) : -1;
}

void DictionaryTable::setOverlay(std::shared_ptr<const RowOverlay> overlay)
{
    const QString word = currentHeadword();
    const int tableRow = tableRowOf(m_row);
    m_overlay = std::move(overlay);
    emit rowsReplaced();
    if (!isOpen() || m_row < 0)
        return;
    int row = tableRow;
    if (tableRow >= 0 && m_overlay)
        row = m_overlay->rowOfTableRow(tableRow);
    else if (tableRow < 0)
        row = nearestRow(word);
    const int count = recordCount();
    row = std::clamp(row, 0, std::max(count - 1, 0));
    m_row = -1;
    setPosition(row, m_bof && row == 0, m_eof && row == count - 1);
}

QString DictionaryTable::entryAt(int overlayRow) const
{
    const int row = tableRowOf(overlayRow);
    if (!isOpen() || row < 0 || row >= m_count)
        return {};
    if (row == m_entryRow)
        return m_entry;
    QString entry;
    readEntry(row, &entry, nullptr);
    return entry;
}

bool DictionaryTable::readEntry(int row, QString *entry, QString *pronunciation) const
{
    const auto text16 = [](sqlite3_stmt *statement, int column) {
        const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(statement, column));
        return text ? QString(reinterpret_cast<const QChar *>(text), sqlite3_column_bytes16(statement, column) / 2) : QString();
    };
    sqlite3_stmt *statement = m_connection->entry.get();
    sqlite3_bind_int64(statement, 1, rowIdAt(row));
    const int rc = sqlite3_step(statement);
    *entry = rc == SQLITE_ROW ? text16(statement, 0) : QString();
    if (pronunciation)
        *pronunciation = rc == SQLITE_ROW ? text16(statement, 1) : QString();
    sqlite3_reset(statement);
    // The cipher hands a page of zeros through unchecked (it takes it for a page never written), so such a
    // page shows up as NULs inside the text, which no entry holds.
    const bool zeroed = rc == SQLITE_ROW && entry->contains(QChar(0));
    if (rc == SQLITE_ROW && !zeroed)
        return true;
    const QString reason = zeroed             ? engineMessage(nullptr, SQLITE_CORRUPT)
        : rc == SQLITE_DONE ? QStringLiteral("the entry is missing")
                            : engineMessage(m_connection->db.get(), rc);
    *entry = QStringLiteral("This entry cannot be read: the dictionary file is damaged (%1). "
                            "Rebuild it with verbarium-mkdict or reinstall.")
                 .arg(reason)
                 .toHtmlEscaped();
    if (pronunciation)
        pronunciation->clear();
    return false;
}
