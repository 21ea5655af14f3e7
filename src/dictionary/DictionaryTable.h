#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class DictionarySession;

// The read-only dictionary table `Table1`: a SQLCipher file with the fields `WordName` and
// `WordDef`, ordered by "IndexWordName". All headwords are held in memory after open (one
// buffer plus offsets) so that positioning is a binary search; entries are fetched by row id.
class DictionaryTable final : public QObject
{
    Q_OBJECT

public:
    explicit DictionaryTable(DictionarySession *session, QObject *parent = nullptr);
    ~DictionaryTable() override;

    void setTableName(const QString &name) { m_tableName = name; }
    QString tableName() const { return m_tableName; }

    // Emits beforeOpen() first; opens read-only and stands on the first row. Throws AppError.
    void open();
    // Emits afterClose() when the table was open.
    void close();
    bool isOpen() const { return m_connection != nullptr; }

    // Stands on the first headword >= the first 32 characters of text (case-insensitively),
    // or on the last row.
    void findNearest(QStringView text);
    void next();
    void prior();
    // The word list moved the row (0-based).
    void moveTo(int row);

    int recordCount() const { return int(m_rowIds.size()); }
    int currentRow() const { return m_row; }
    int recNo() const { return m_row + 1; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }

    QString currentHeadword() const;
    QString currentEntry() const;
    QString headwordAt(int row) const;
    QStringView headwordViewAt(int row) const;
    // The row findNearest would stand on, without moving.
    int nearestRow(QStringView text) const;

signals:
    void beforeOpen();
    void afterClose();
    void afterScroll();
    void dataChanged();

private:
    struct Connection;

    void openWith(const QString &path, const QString &password);
    void setPosition(int row, bool bof, bool eof);
    void clearHeadwords();

    DictionarySession *m_session;
    QString m_tableName;
    std::unique_ptr<Connection> m_connection;

    // Headword i is m_words[m_offsets[i] .. m_offsets[i + 1]); its row id is m_rowIds[i].
    QString m_words;
    QList<quint32> m_offsets;
    QList<qint64> m_rowIds;

    int m_row = -1;
    bool m_bof = true;
    bool m_eof = true;

    mutable int m_entryRow = -1;
    mutable QString m_entry;
};
