// The table showing another list of rows over its own: row numbers, entries and the word it stands on.
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/DictionaryWriter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "apple" (table row 0), "banana" (no table row), "zebra" (table row 1).
class ThreeRows final : public RowOverlay
{
public:
    int count() const override { return 3; }
    QString headword(int row) const override { return m_words[row]; }
    QAnyStringView headwordView(int row) const override { return m_words[row]; }
    int tableRow(int row) const override { return row == 0 ? 0 : row == 2 ? 1 : -1; }
    int rowOfTableRow(int tableRow) const override { return tableRow == 0 ? 0 : 2; }
    int nearest(QStringView text) const override
    {
        for (int row = 0; row < 3; ++row) {
            if (QStringView(m_words[row]).compare(text, Qt::CaseInsensitive) >= 0)
                return row;
        }
        return 2;
    }

private:
    QStringList m_words{QStringLiteral("apple"), QStringLiteral("banana"), QStringLiteral("zebra")};
};

} // namespace

class TestRowOverlay final : public QObject
{
    Q_OBJECT

private slots:
    void rowsCountTheOverlay();
};

void TestRowOverlay::rowsCountTheOverlay()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.dat"));
    writeDictionary(path, {{QStringLiteral("apple"), QStringLiteral("<p>a fruit</p>")},
                           {QStringLiteral("zebra"), QStringLiteral("<p>a striped animal</p>")}},
                    QStringLiteral("marbol47quen"));
    DictionarySession session;
    session.setPrivateDir(dir.path());
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(path);
    table.open();
    table.findNearest(u"zebra");
    QCOMPARE(table.currentRow(), 1);

    QSignalSpy replaced(&table, &DictionaryTable::rowsReplaced);
    table.setOverlay(std::make_shared<ThreeRows>());
    QCOMPARE(replaced.count(), 1);
    // It stays on the word it stood on, now at the overlay's row.
    QCOMPARE(table.currentRow(), 2);
    QCOMPARE(table.currentEntry(), QStringLiteral("<p>a striped animal</p>"));
    QCOMPARE(table.recordCount(), 3);
    table.findNearest(u"b");
    QCOMPARE(table.currentHeadword(), QStringLiteral("banana"));
    QCOMPARE(table.currentEntry(), QString());
    QCOMPARE(table.entryAt(0), QStringLiteral("<p>a fruit</p>"));
    QCOMPARE(table.tableRowOf(1), -1);

    // Gone again: a word that only the overlay had gives way to the nearest of the table's own.
    table.setOverlay(nullptr);
    QCOMPARE(table.recordCount(), 2);
    QCOMPARE(table.currentHeadword(), QStringLiteral("zebra"));
}

QTEST_GUILESS_MAIN(TestRowOverlay)
#include "test_rowoverlay.moc"
