#pragma once

#include "search/FullTextQuery.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

class FullTextWorker;
class StemTokenizer;
class WorkerThread;

struct FoundEntry
{
    qint64 rowId = 0;
    QString headword;
    QString excerpt;
};

Q_DECLARE_METATYPE(FoundEntry)

// One line of an entry's plain text around the first word whose stem is one of stems, cut at word
// boundaries to about width characters; the entry's beginning when no word matches.
QString entryExcerpt(QStringView plain, const StemTokenizer &tokenizer, const QStringList &stems, qsizetype width = 90);

// Runs full-text queries on a thread of its own over a read-only connection of its own, opened when the
// first query comes (start-up never touches the index). Results come ranked, best first, in batches; a
// new query cancels the one running.
class FullTextSearch final : public QObject
{
    Q_OBJECT
public:
    FullTextSearch(const QString &path, const QStringList &passwords, QObject *parent = nullptr);
    ~FullTextSearch() override;

    // At most this many results are listed.
    static constexpr int kMaxResults = 500;

    // Returns the query's number, which its batches carry.
    quint64 search(const FullTextQuery &query);
    // Stops the running query; its batches still in flight are stale.
    void cancel();
    quint64 latest() const { return m_latest.load(); }

signals:
    // The first batch of a query (first) replaces what was listed before; total counts every match.
    // provisional: the best of the entries ranked so far, shown while ranking goes on.
    void found(quint64 query, const QList<FoundEntry> &batch, bool first, bool last, int total, bool provisional);
    // The file cannot be searched (no text index, or it cannot be opened): why, in a line.
    void unavailable(const QString &reason);

private:
    std::unique_ptr<WorkerThread> m_thread;
    FullTextWorker *m_worker = nullptr;
    std::shared_ptr<std::atomic<quint64>> m_latestShared;
    std::atomic<quint64> &m_latest;
};
