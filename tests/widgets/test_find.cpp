// Ctrl+F on the real window: the panel finds a word by what its entry says, Enter shows that entry with
// the query's words marked, and the search box takes the headword.
#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/SearchHistory.h"
#include "search/EntryIndex.h"
#include "search/FindPanel.h"

#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextEdit>

class TestFind : public QObject
{
    Q_OBJECT

private slots:
    void ctrlFFindsAndShowsTheEntry();
};

void TestFind::ctrlFFindsAndShowsTheEntry()
{
    QList<DictionaryRow> rows = sampleRows();
    rows += QList<DictionaryRow>{
        {"agoraphobia", "<p><b>noun</b></p><ol><li>a morbid fear of open spaces</li></ol>"},
        {"claustrophobia", "<p>a fear of closed spaces, not open ones</p>"},
        {"meadow", "<p>open grassland; spaces of it</p>"},
    };
    WindowFixture fixture(rows, {}, true, writeEntryIndex);
    TLexivoAppForm *form = fixture.form.get();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->SEdit1->setFocus();
    const int historyBefore = int(form->history()->words().size());

    QTest::keyClick(form->SEdit1, Qt::Key_F, Qt::ControlModifier);
    FindPanel *panel = form->findPanel();
    QVERIFY(panel && panel->isVisible());
    QTest::keyClicks(panel->queryBox(), QStringLiteral("fear of open spaces"));
    QTRY_VERIFY(panel->results()->count() > 0 && !panel->status()->text().endsWith(QChar(0x2026)));
    QStringList firstFive;
    for (int i = 0; i < std::min(5, panel->results()->count()); ++i)
        firstFive.append(panel->results()->item(i)->text());
    QVERIFY2(firstFive.join(QLatin1Char('\n')).contains(u"agoraphobia \u2014"), qPrintable(firstFive.join(QLatin1Char('\n'))));

    panel->results()->setCurrentRow(int(firstFive.indexOf(QRegularExpression(QStringLiteral("^agoraphobia ")))));
    QTest::keyClick(panel->queryBox(), Qt::Key_Return);
    QCOMPARE(form->SEdit1->text(), QStringLiteral("agoraphobia"));
    QCOMPARE(form->table()->currentHeadword(), QStringLiteral("agoraphobia"));
    QStringList marked;
    for (const QTextEdit::ExtraSelection &mark : form->RichEdit1->extraSelections())
        marked.append(mark.cursor.selectedText());
    QCOMPARE(marked, QStringList({"fear", "of", "open", "spaces"}));
    // Like typing, a found word is no history entry.
    QCOMPARE(int(form->history()->words().size()), historyBefore);

    // The marks belong to that entry alone.
    form->SEdit1->setText(QStringLiteral("pear"));
    QVERIFY(form->RichEdit1->extraSelections().isEmpty());

    // Only punctuation: a word is asked for.
    panel->queryBox()->setText(QStringLiteral(".,;! -"));
    QCOMPARE(panel->status()->text(), QStringLiteral("Type a word to search for."));

    // Closed for a while, the panel gives its search (thread, connection, cache) and its window back; opened
    // again, it comes up where it was and the next query opens the search.
    panel->setReleaseDelay(std::chrono::milliseconds(10));
    QVERIFY(panel->holdsSearch());
    const QPoint placed = panel->pos();
    QTest::keyClick(panel->queryBox(), Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
    QTRY_VERIFY(!panel->holdsSearch());
    QVERIFY(!panel->windowHandle());
    form->FindEntries1Execute();
    QVERIFY(panel->isVisible() && panel->windowHandle());
    QCOMPARE(panel->pos(), placed);
    panel->queryBox()->setText(QStringLiteral("grassland"));
    QTRY_COMPARE(panel->status()->text(), QStringLiteral("1 entry found."));
}

QTEST_MAIN(TestFind)
#include "test_find.moc"
