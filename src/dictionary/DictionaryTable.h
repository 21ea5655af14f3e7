#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QLatin1StringView>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class DictionarySession;
struct sqlite3;
struct sqlite3_stmt;

// Every headword of a table as one value. It shares the table's buffers, so a copy costs nothing, and it
// keeps what it holds whatever the table does next, so another thread may read it.
class HeadwordSet
{
public:
    HeadwordSet() = default;
    HeadwordSet(QByteArray latin1, QString words, QList<quint32> offsets, bool wide)
        : m_latin1(std::move(latin1)), m_words(std::move(words)), m_offsets(std::move(offsets)), m_wide(wide)
    {
    }
    // Whether some headword is spelt as word when case is ignored.
    bool containsIgnoringCase(QStringView word) const;
    int count() const { return m_offsets.isEmpty() ? 0 : int(m_offsets.size()) - 1; }
    // Headword i in the table's order, valid while this set lives.
    QAnyStringView at(int i) const
    {
        const qsizetype from = m_offsets[i];
        const qsizetype length = m_offsets[i + 1] - from;
        return m_wide ? QAnyStringView(QStringView(m_words).sliced(from, length))
                      : QAnyStringView(QLatin1StringView(m_latin1).sliced(from, length));
    }

private:
    QByteArray m_latin1;
    QString m_words;
    QList<quint32> m_offsets;
    bool m_wide = false;
};

// Rows of other dictionaries shown among the table's own, in the same order. While one is set, every row
// number of the table's interface counts its rows, and a row that shows none of the table's own has no entry.
class RowOverlay
{
public:
    virtual ~RowOverlay() = default;
    virtual int count() const = 0;
    virtual QString headword(int row) const = 0;
    // Valid while the overlay and the table stay.
    virtual QAnyStringView headwordView(int row) const = 0;
    // The table's own row that row shows, or -1.
    virtual int tableRow(int row) const = 0;
    virtual int rowOfTableRow(int tableRow) const = 0;
    // The first row >= text case aside (text cut to its search key), else the last.
    virtual int nearest(QStringView text) const = 0;
};

// The read-only dictionary table `Table1`: a SQLCipher file with the fields `WordName` and
// `WordDef`, ordered by "IndexWordName". All headwords are held in memory (one buffer plus
// offsets) so that positioning is a binary search; entries are fetched by row id.
// Open reads only the first screenful of headwords; the rest follow in loadAllHeadwords(),
// which the program calls once the window is painted and every operation that needs them calls
// itself. Nothing observable depends on when that happens.
class DictionaryTable final : public QObject
{
    Q_OBJECT

public:
    explicit DictionaryTable(DictionarySession *session, QObject *parent = nullptr);
    ~DictionaryTable() override;

    // Opens the file read-only with the password and reads its schema, from any thread: the key derivation
    // and the cipher's one-time set-up, the costly part of open(). Null when that fails; open() then meets
    // the failure itself and reports it.
    static sqlite3 *preopen(const QString &path, const QString &password);
    // Where open() asks first for a handle that preopen() made for its path and password. The source hands a
    // handle over once (ownership passes) or gives null, and open() opens the file itself.
    using PreopenedSource = std::function<sqlite3 *(const QString &path, const QString &password)>;
    void setPreopened(PreopenedSource source) { m_preopened = std::move(source); }

    void setTableName(const QString &name) { m_tableName = name; }
    QString tableName() const { return m_tableName; }

    // Emits beforeOpen() first; opens read-only and stands on the first row. Throws AppError.
    void open();
    // Emits afterClose() when the table was open.
    void close();
    bool isOpen() const { return m_connection != nullptr; }
    // Reads the headwords that open left for later; does nothing once all are in memory.
    void loadAllHeadwords();
    bool allHeadwordsLoaded() const { return m_complete; }

    // Stands on the first headword >= the first 32 characters of text (case-insensitively),
    // or on the last row.
    void findNearest(QStringView text);
    void next();
    void prior();
    // The word list moved the row (0-based).
    void moveTo(int row);

    int recordCount() const { return m_overlay ? m_overlay->count() : m_count; }
    int currentRow() const { return m_row; }
    int recNo() const { return m_row + 1; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }

    QString currentHeadword() const;
    QString currentEntry() const;
    // The entry of any row (0-based), read without moving; empty for a row out of range.
    QString entryAt(int row) const;
    // The current row's pronunciation (IPA); empty for files written without one.
    QString currentPronunciation() const;
    QString headwordAt(int row) const;
    // The stored headword without a copy, for scans over all of them; valid until the table closes.
    QAnyStringView headwordView(int row) const;
    // The row findNearest would stand on, without moving.
    int nearestRow(QStringView text) const;
    // The row of the headword spelt exactly as word, else of the first one spelt so case aside; -1 when there is
    // none; the headword as stored goes to spelling. Files numbered in index order are asked through their
    // index, without reading every headword.
    int findHeadword(QStringView word, QString *spelling = nullptr) const;
    // The entry and pronunciation of any row, read without moving. False when the row cannot be read: the entry
    // then holds the message that says so.
    bool readRow(int row, QString *entry, QString *pronunciation) const;
    // All headwords, read to the end first.
    HeadwordSet headwordSet() const;

    // Shows the overlay's rows instead of the table's own (null: the table's own again), staying on the
    // current word; emits rowsReplaced() and then dataChanged().
    void setOverlay(std::shared_ptr<const RowOverlay> overlay);
    const RowOverlay *overlay() const { return m_overlay.get(); }
    // The table's own row that row shows, or -1.
    int tableRowOf(int row) const;

signals:
    void beforeOpen();
    void afterClose();
    void afterScroll();
    void dataChanged();
    // The rows changed as a whole (an overlay came or went).
    void rowsReplaced();

private:
    struct Connection;

    void openWith(const QString &path, const QString &password);
    // Appends up to limit headwords from the scan; returns the engine's code of the last step.
    int readHeadwords(sqlite3_stmt *scan, qsizetype limit) const;
    void ensureLoaded() const;
    void finishHeadwords() const;
    void sortHeadwords() const;
    qint64 rowIdAt(int row) const;
    // Valid until the next headword is read.
    QStringView storedView(int row) const;
    QLatin1StringView storedLatin1(int row) const;
    // Moves the headwords read so far to UTF-16, for one that Latin-1 cannot hold.
    void widen() const;
    int loadedCount() const { return int(m_offsets.size()) - 1; }
    void setPosition(int row, bool bof, bool eof);
    void clearHeadwords();

    DictionarySession *m_session;
    QString m_tableName;
    PreopenedSource m_preopened;
    std::unique_ptr<Connection> m_connection;

    // Headword i is m_latin1[m_offsets[i] .. m_offsets[i + 1]) while every headword fits in Latin-1, as in
    // an English dictionary (half the memory of UTF-16), and the same span of m_words once one does not.
    // Its row id is i + 1 while m_numbered (files from verbarium-mkdict number their rows so), m_rowIds[i]
    // otherwise. Filled on demand from const calls: a cache of the file, not state of the table.
    mutable QByteArray m_latin1;
    mutable QString m_words;
    mutable bool m_wide = false;
    mutable QList<quint32> m_offsets;
    mutable QList<qint64> m_rowIds;
    mutable bool m_complete = false;
    // Whether every headword read so far follows the one before it.
    mutable bool m_ordered = true;
    mutable bool m_numbered = true;
    // The row count: exact from open on for files numbered 1..n, confirmed when the scan ends.
    mutable int m_count = 0;

    int m_row = -1;
    bool m_bof = true;
    bool m_eof = true;

    // Reads the entry and, where the file has it, the pronunciation of one row. False when the row cannot be
    // read: the entry then holds the message that says so.
    bool readEntry(int row, QString *entry, QString *pronunciation) const;

    std::shared_ptr<const RowOverlay> m_overlay;

    mutable int m_entryRow = -1;
    mutable QString m_entry;
    mutable QString m_pronunciation;
};
