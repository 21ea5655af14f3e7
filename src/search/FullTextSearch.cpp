#include "search/FullTextSearch.h"

#include "dictionary/SqlCipher.h"
#include "search/EntryIndex.h"
#include "search/EntryPlainText.h"
#include "search/EntryRank.h"
#include "search/StemTokenizer.h"
#include "platform/WorkerThread.h"

#include <QElapsedTimer>

#include <algorithm>
#include <optional>

#include <malloc.h>

using namespace sqlcipher;

namespace {

// Rows ranked before the best of them are shown anyway, when a query matches most of the dictionary.
constexpr qint64 kProvisionalAfterMs = 20;
constexpr int kFirstBatch = 40;
constexpr int kLaterBatch = 120;

struct Scored
{
    qint64 rowId;
    EntryRank rank;
};

bool better(const Scored &a, const Scored &b)
{
    if (a.rank < b.rank)
        return true;
    if (b.rank < a.rank)
        return false;
    return a.rowId < b.rowId;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber();
}

} // namespace

QString entryExcerpt(QStringView plain, const StemTokenizer &tokenizer, const QStringList &stems, qsizetype width)
{
    qsizetype hit = -1;
    qsizetype hitEnd = 0;
    if (!stems.isEmpty()) {
        for (const StemTokenizer::Token &token : tokenizer.tokens(plain)) {
            if (stems.contains(token.stem)) {
                hit = token.start;
                hitEnd = token.end;
                break;
            }
        }
    }
    qsizetype begin = 0;
    if (hit > width / 3)
        begin = hit - width / 3;
    qsizetype end = std::min(plain.size(), std::max(begin + width, hitEnd));
    // Whole words only.
    if (begin > 0) {
        while (begin < hit && isWordChar(plain[begin - 1]))
            ++begin;
    }
    if (end < plain.size()) {
        qsizetype back = end;
        while (back > begin && isWordChar(plain[back - 1]) && isWordChar(plain[back]))
            --back;
        if (back > std::max(begin, hitEnd - 1))
            end = back;
    }
    QString line = plain.sliced(begin, end - begin).toString().simplified();
    if (begin > 0)
        line.prepend(QChar(0x2026));
    if (end < plain.size())
        line.append(QChar(0x2026));
    return line;
}

// Lives on the search thread with its own connection. It reports through signals of its own, never through the
// owner: a worker left behind at the end must not reach an owner that is gone.
class FullTextWorker final : public QObject
{
    Q_OBJECT
public:
    FullTextWorker(QString path, QStringList passwords, std::shared_ptr<std::atomic<quint64>> latest)
        : m_path(std::move(path)), m_passwords(std::move(passwords)), m_latest(std::move(latest))
    {
    }

    void run(quint64 query, const FullTextQuery &text)
    {
        if (m_failed)
            return;
        const QString failure = failureOf([&] { runQuery(query, text); });
        if (failure.isEmpty())
            return;
        // Whatever threw left the connection in a state nobody knows: searching ends here, said once.
        close();
        m_failed = true;
        emit unavailable(QStringLiteral("Find in Entries stopped: %1").arg(failure));
    }

signals:
    void found(quint64 query, const QList<FoundEntry> &batch, bool first, bool last, int total, bool provisional);
    void unavailable(const QString &reason);

public:
    // Gives the connection and its cache back; the next query opens it again.
    void close()
    {
        m_match.reset();
        m_entry.reset();
        m_tokenizer.reset();
        m_db.reset();
    }

private:
    void runQuery(quint64 query, const FullTextQuery &text)
    {
        if (stale(query))
            return;
        // The progress handler stops whatever runs for a query other than this one, the stems included.
        m_current = query;
        if (!ensureOpen())
            return;
        QElapsedTimer clock;
        clock.start();
        const QStringList stems = m_tokenizer->stems(text.words);
        QList<Scored> scored;
        bool shownSome = false;
        sqlite3_stmt *match = m_match.get();
        const QByteArray expression = text.match.toUtf8();
        sqlite3_bind_text(match, 1, expression.constData(), int(expression.size()), SQLITE_TRANSIENT);
        int rc;
        while ((rc = sqlite3_step(match)) == SQLITE_ROW) {
            const auto *info = static_cast<const quint32 *>(sqlite3_column_blob(match, 1));
            const qsizetype count = sqlite3_column_bytes(match, 1) / qsizetype(sizeof(quint32));
            scored.append(Scored{sqlite3_column_int64(match, 0), rankEntry(info, count)});
            if (!shownSome && (scored.size() & 1023) == 0 && clock.elapsed() > kProvisionalAfterMs) {
                // A query like "the" keeps ranking for a while: show the best so far at once.
                shownSome = true;
                QList<Scored> best = scored;
                const qsizetype n = std::min<qsizetype>(kFirstBatch, best.size());
                std::partial_sort(best.begin(), best.begin() + n, best.end(), better);
                best.resize(n);
                if (!emitBatch(query, best, stems, true, false, int(scored.size()), true))
                    break;
            }
        }
        sqlite3_reset(match);
        sqlite3_clear_bindings(match);
        if (stale(query) || (rc != SQLITE_DONE))
            return emitEmptyUnlessStale(query, rc);
        const int total = int(scored.size());
        const qsizetype shown = std::min<qsizetype>(scored.size(), FullTextSearch::kMaxResults);
        std::partial_sort(scored.begin(), scored.begin() + shown, scored.end(), better);
        scored.resize(shown);
        if (scored.isEmpty()) {
            emit found(query, {}, true, true, 0, false);
            return;
        }
        qsizetype from = 0;
        while (from < scored.size()) {
            const qsizetype n = std::min<qsizetype>(from == 0 ? kFirstBatch : kLaterBatch, scored.size() - from);
            if (!emitBatch(query, scored.mid(from, n), stems, from == 0, from + n == scored.size(), total, false))
                return;
            from += n;
        }
    }

    bool stale(quint64 query) const { return m_latest->load() != query; }

    void emitEmptyUnlessStale(quint64 query, int rc)
    {
        if (stale(query) || rc == SQLITE_INTERRUPT)
            return;
        // The engine refused the query (it is built from quoted words, so this is a damaged index).
        emit unavailable(QStringLiteral("The text index cannot be read: %1.").arg(engineMessage(m_db.get(), rc)));
    }

    bool emitBatch(quint64 query, const QList<Scored> &rows, const QStringList &stems, bool first, bool last, int total,
                   bool provisional)
    {
        QList<FoundEntry> batch;
        batch.reserve(rows.size());
        sqlite3_stmt *entry = m_entry.get();
        for (const Scored &row : rows) {
            if (stale(query))
                return false;
            sqlite3_bind_int64(entry, 1, row.rowId);
            if (sqlite3_step(entry) == SQLITE_ROW) {
                FoundEntry found;
                found.rowId = row.rowId;
                found.headword = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(entry, 0)),
                                                   sqlite3_column_bytes(entry, 0));
                const QString html = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(entry, 1)),
                                                       sqlite3_column_bytes(entry, 1));
                found.excerpt = entryExcerpt(entryPlainText(html), *m_tokenizer, stems);
                batch.append(std::move(found));
            }
            sqlite3_reset(entry);
        }
        emit found(query, batch, first, last, total, provisional);
        return true;
    }

    bool ensureOpen()
    {
        if (m_db)
            return true;
        if (m_failed)
            return false;
        QString reason;
        const QStringList passwords = m_passwords.isEmpty() ? QStringList{QString()} : m_passwords;
        for (const QString &password : passwords) {
            Database db;
            int rc = openDatabase(m_path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, db);
            if (rc == SQLITE_OK)
                rc = applyKey(db.get(), password);
            if (rc == SQLITE_OK)
                rc = exec(db.get(), "SELECT count(*) FROM sqlite_master");
            if (rc != SQLITE_OK) {
                reason = engineMessage(db.get(), rc);
                continue;
            }
            if (!hasEntryIndex(db.get())) {
                m_failed = true;
                // A file emptied or replaced under the running program opens as an empty database.
                if (!hasDictionaryTable(db.get())) {
                    emit unavailable(QStringLiteral("The dictionary cannot be read: %1 is empty or damaged. "
                                                             "Reinstall Verbarium or rebuild the file with verbarium-mkdict.")
                                                  .arg(m_path));
                    return false;
                }
                emit unavailable(QStringLiteral("This dictionary has no text index: rebuild it with verbarium-mkdict "
                                                         "to find words by what their entries say."));
                return false;
            }
            m_db = std::move(db);
            break;
        }
        if (!m_db) {
            m_failed = true;
            emit unavailable(QStringLiteral("The dictionary cannot be searched: %1.").arg(reason));
            return false;
        }
        sqlite3 *db = m_db.get();
        // Decrypted pages kept for the next query: enough for the index's interior pages and the longest
        // doclists ("of", "the") that many queries read; more only grows the process.
        exec(db, "PRAGMA cache_size = -4096");
        // Checked every thousand steps of the engine: a newer query stops this one.
        sqlite3_progress_handler(db, 1000, &FullTextWorker::interrupted, this);
        m_tokenizer = std::make_unique<StemTokenizer>(db);
        if (prepare(db, "SELECT docid, matchinfo(EntryText, 'pcnalx') FROM EntryText WHERE EntryText MATCH ?", m_match)
                != SQLITE_OK
            || prepare(db, "SELECT WordName, WordDef FROM Dictionary WHERE rowid = ?", m_entry) != SQLITE_OK
            || !m_tokenizer->isValid()) {
            const QString message = engineMessage(db, SQLITE_ERROR);
            m_match.reset();
            m_entry.reset();
            m_tokenizer.reset();
            m_db.reset();
            m_failed = true;
            emit unavailable(QStringLiteral("The text index cannot be read: %1.").arg(message));
            return false;
        }
        return true;
    }

    static int interrupted(void *self)
    {
        const auto *worker = static_cast<FullTextWorker *>(self);
        return worker->m_latest->load() != worker->m_current ? 1 : 0;
    }

    QString m_path;
    QStringList m_passwords;
    std::shared_ptr<std::atomic<quint64>> m_latest;
    quint64 m_current = 0;
    bool m_failed = false;
    // Declared before what uses it, so it closes last.
    Database m_db;
    Statement m_match;
    Statement m_entry;
    std::unique_ptr<StemTokenizer> m_tokenizer;
};

FullTextSearch::FullTextSearch(const QString &path, const QStringList &passwords, QObject *parent)
    : QObject(parent), m_latestShared(std::make_shared<std::atomic<quint64>>(0)), m_latest(*m_latestShared)
{
    qRegisterMetaType<QList<FoundEntry>>();
    // Queries allocate blocks of megabytes. Left to itself the allocator raises its thresholds after the first
    // such block is freed, and the thread's heap then never shrinks: fixed thresholds give them back.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024);
    m_thread = std::make_unique<WorkerThread>(QStringLiteral("FullTextSearch"));
    m_worker = new FullTextWorker(path, passwords, m_latestShared);
    connect(m_worker, &FullTextWorker::found, this, &FullTextSearch::found);
    connect(m_worker, &FullTextWorker::unavailable, this, &FullTextSearch::unavailable);
    m_thread->start(m_worker, QThread::LowPriority);
}

FullTextSearch::~FullTextSearch()
{
    // The running query stops at the engine's next check; a worker stuck elsewhere is left behind.
    cancel();
    m_thread->stop();
}

quint64 FullTextSearch::search(const FullTextQuery &query)
{
    const quint64 number = ++m_latest;
    if (!query.isEmpty()) {
        QMetaObject::invokeMethod(m_worker, [worker = m_worker, number, query] { worker->run(number, query); },
                                  Qt::QueuedConnection);
    }
    return number;
}

void FullTextSearch::cancel()
{
    ++m_latest;
}

#include "FullTextSearch.moc"
