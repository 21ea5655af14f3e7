// The word list's model follows the table: rows appear when it opens and go when it closes.
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/DictionaryWriter.h"
#include "dictionary/HeadwordListModel.h"
#include "platform/AppError.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestHeadwordListModel final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void closedTableHasNoRows();
    void followsOpenAndClose();
    void rowMovesDoNotReset();
    void reopenWithOtherWords();

private:
    void openTable(DictionaryTable &table, const QString &file);

    QTemporaryDir m_dir;
    QString m_small;
    QString m_large;
};

void TestHeadwordListModel::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
    m_small = m_dir.filePath(QStringLiteral("small.dat"));
    m_large = m_dir.filePath(QStringLiteral("large.dat"));
    // Written out of order on purpose: the model shows the table's order.
    writeDictionary(m_small, {{"cherry", "<p>c</p>"}, {"Apple", "<p>a</p>"}, {"banana", "<p>b</p>"}});
    QList<DictionaryRow> rows;
    for (int i = 0; i < 500; ++i)
        rows.append({QStringLiteral("word%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("<p>%1</p>").arg(i)});
    writeDictionary(m_large, rows);
}

void TestHeadwordListModel::openTable(DictionaryTable &table, const QString &file)
{
    table.setTableName(file);
    table.open();
}

namespace {
struct Fixture
{
    DictionarySession session;
    DictionaryTable table{&session};
    Fixture()
    {
        QObject::connect(&table, &DictionaryTable::beforeOpen, &table,
                         [this] { session.addPassword(QStringLiteral("marbol47quen")); });
    }
};
} // namespace

void TestHeadwordListModel::closedTableHasNoRows()
{
    Fixture f;
    HeadwordListModel model(&f.table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.data(model.index(0, 0)).isValid());

    HeadwordListModel orphan(nullptr);
    QCOMPARE(orphan.rowCount(), 0);
}

void TestHeadwordListModel::followsOpenAndClose()
{
    Fixture f;
    HeadwordListModel model(&f.table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    openTable(f.table, m_small);
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(resets.size() >= 1);
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("Apple"));
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("banana"));
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("cherry"));
    QVERIFY(!model.data(model.index(1, 0), Qt::EditRole).isValid());
    QVERIFY(!model.index(3, 0).isValid());
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);

    resets.clear();
    f.table.close();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(resets.size(), 1);
}

void TestHeadwordListModel::rowMovesDoNotReset()
{
    Fixture f;
    HeadwordListModel model(&f.table);
    openTable(f.table, m_large);
    QSignalSpy resets(&model, &QAbstractItemModel::modelAboutToBeReset);
    // All rows show from open on, before the table has read every headword.
    QVERIFY(!f.table.allHeadwordsLoaded());
    QCOMPARE(model.rowCount(), 500);
    QCOMPARE(model.data(model.index(480, 0)).toString(), QStringLiteral("word480"));
    QVERIFY(f.table.allHeadwordsLoaded());
    f.table.findNearest(u"word250");
    f.table.next();
    f.table.prior();
    f.table.moveTo(499);
    f.table.next();
    QCOMPARE(resets.size(), 0);
    QCOMPARE(model.rowCount(), 500);
    QCOMPARE(model.data(model.index(499, 0)).toString(), QStringLiteral("word499"));
}

void TestHeadwordListModel::reopenWithOtherWords()
{
    Fixture f;
    HeadwordListModel model(&f.table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    openTable(f.table, m_large);
    QCOMPARE(model.rowCount(), 500);
    f.table.close();
    openTable(f.table, m_small);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("cherry"));

    // A failed open leaves no rows behind.
    f.table.close();
    QVERIFY_THROWS_EXCEPTION(AppError, openTable(f.table, m_dir.filePath(QStringLiteral("missing.dat"))));
    QCOMPARE(model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestHeadwordListModel)
#include "test_headwordlistmodel.moc"
