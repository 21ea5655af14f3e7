// Added dictionaries in the real window: their rows join the word list, their sections follow the entry, and
// the Dictionaries window turns one off.
#include "WidgetFixture.h"

#include "../unit/shelf/ShelfFixtures.h"
#include "app/AddedDictionaries.h"
#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "dictionary/DictionaryTable.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>

class TestDictionaries final : public QObject
{
    Q_OBJECT

private slots:
    void addedDictionaryJoinsAndLeaves();
};

void TestDictionaries::addedDictionaryJoinsAndLeaves()
{
    QTemporaryDir folder;
    shelf_fixtures::writeStarDict(folder.path(), QStringLiteral("Mini"),
                                  {{QStringLiteral("Apple"), QStringLiteral("a pome of the mini dictionary")},
                                   {QStringLiteral("banana"), QStringLiteral("a long yellow fruit")}});
    qputenv("VERBARIUM_DICTIONARY_FOLDERS", folder.path().toUtf8());
    qputenv("XDG_CACHE_HOME", folder.filePath(QStringLiteral("cache")).toUtf8());
    WindowFixture fixture(QList<DictionaryRow>{{"apple", "<p>a fruit</p>"}, {"zebra", "<p>a striped animal</p>"}});
    TLexivoAppForm *form = fixture.form.get();
    DictionaryTable *table = form->table();
    table->loadAllHeadwords();
    form->startAddedDictionaries();
    QTRY_COMPARE(table->recordCount(), 3);

    // "Apple" joins the built-in "apple" by case; "banana" is a row of its own with only the added section.
    QTest::keyClicks(form->SEdit1, QStringLiteral("apple"));
    QVERIFY(form->RichEdit1->toPlainText().contains(u"a fruit"));
    QVERIFY2(form->RichEdit1->toPlainText().contains(u"Mini\na pome of the mini dictionary"), qPrintable(form->RichEdit1->toPlainText()));
    QCOMPARE(form->StatusPanels[1]->text(), QStringLiteral("1/3"));
    form->SEdit1->clear();
    QTest::keyClicks(form->SEdit1, QStringLiteral("ban"));
    QCOMPARE(table->currentHeadword(), QStringLiteral("banana"));
    QVERIFY(form->RichEdit1->toPlainText().contains(u"a long yellow fruit"));

    form->action(Command::DictionariesAction1)->trigger();
    auto *list = form->findChild<QListWidget *>(QStringLiteral("DictionaryList"));
    QVERIFY(list);
    QTRY_COMPARE(list->count(), 1);
    list->item(0)->setCheckState(Qt::Unchecked);
    QTRY_COMPARE(table->recordCount(), 2);
    QVERIFY(!table->overlay());
    QCOMPARE(table->currentHeadword(), QStringLiteral("zebra"));
    QVERIFY(!form->RichEdit1->toPlainText().contains(u"Mini"));
    qunsetenv("VERBARIUM_DICTIONARY_FOLDERS");
}

QTEST_MAIN(TestDictionaries)
#include "test_dictionaries.moc"
