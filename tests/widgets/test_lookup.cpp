// Lookup, the word list following the search box, next/prior steps and double-click lookups,
// driven through the real window with key and mouse events.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordOrder.h"
#include "dictionary/SearchHistory.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace {

const QString kLong32 = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdef");

// Enough rows that the word list scrolls: a block of fillers between a few named words.
QList<DictionaryRow> lookupRows()
{
    QList<DictionaryRow> rows = {
        {"aardvark", "<p>a burrowing animal</p>"},
        {"ab", "<p>a muscle</p>"},
        {"abacus", "<p>a counting frame</p>"},
        {"abc", "<p>the alphabet</p>"},
        {kLong32, "<p>thirty-two letters</p>"},
        {kLong32.chopped(1) + QLatin1Char('g'), "<p>the next long word</p>"},
        {"clock", "<p>We met at five o'clock, for our well-being.</p><p>&nbsp;</p><p>&nbsp;</p>"},
        {"o'clock", "<p>of the clock</p>"},
        {"Paris", "<p>a city</p>"},
        {"paris", "<p>a herb</p>"},
        {"pear", "<p>a fruit</p>"},
        {"well-being", "<p>a good state</p>"},
        {"zebra", "<p>a striped animal</p>"},
    };
    for (int i = 0; i < 200; ++i)
        rows.append({QStringLiteral("m%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("<p>filler %1</p>").arg(i)});
    return rows;
}

} // namespace

class TestLookup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void positionBlankUntilFirstLookup();
    void typingLetterByLetter();
    void deletingBackToEmpty();
    void lookupOfText_data();
    void lookupOfText();
    void arrowingFocusedList();
    void arrowingOverCaseTwins();
    void clickingListRow();
    void focusReturningToListKeepsTheBox();
    void altDownInSearchBoxLeavesText();
    void endsOfTable();
    void doubleClickOnWords_data();
    void doubleClickOnWords();
    void doubleClickOnBlankSpace();
    void doubleClickOnWordAlreadyInBox();
    void typedLetterHidesAboutPanel();
    void keysWithoutLookupFunction();

private:
    TLexivoAppForm *form() const { return m_fixture->form.get(); }
    int rowOf(const QString &headword) const;
    QString position(const QString &headword) const;
    void type(const QString &text);
    void verifyShows(const QString &headword);
    void verifyCentred();
    QPoint pointOfWord(const QString &word) const;

    WindowFixture *m_fixture = nullptr;
};

void TestLookup::init()
{
    m_fixture = new WindowFixture(lookupRows());
    m_fixture->app->showForm();
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    form()->SEdit1->setFocus();
    QTRY_VERIFY(form()->SEdit1->hasFocus());
}

void TestLookup::cleanup()
{
    delete m_fixture;
    m_fixture = nullptr;
}

// The row of a headword in index order, worked out here rather than asked of the table.
int TestLookup::rowOf(const QString &headword) const
{
    QStringList words;
    for (const DictionaryRow &r : lookupRows())
        words << r.word;
    std::sort(words.begin(), words.end(),
              [](const QString &a, const QString &b) { return compareHeadwords(a, b) < 0; });
    return int(words.indexOf(headword));
}

QString TestLookup::position(const QString &headword) const
{
    return QStringLiteral("%1/%2").arg(rowOf(headword) + 1).arg(lookupRows().size());
}

// Replaces the search box's text key by key, as a user selecting all and typing over it.
void TestLookup::type(const QString &text)
{
    QTest::keyClick(form()->SEdit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form()->SEdit1, Qt::Key_Backspace);
    QTest::keyClicks(form()->SEdit1, text);
}

// The current row, the headword label, the entry view and the position display all agree.
void TestLookup::verifyShows(const QString &headword)
{
    const int row = rowOf(headword);
    QVERIFY2(row >= 0, qPrintable(headword));
    QCOMPARE(form()->table()->currentRow(), row);
    QCOMPARE(form()->DBGrid1->currentIndex().row(), row);
    QCOMPARE(form()->WordDBText1->text(), headword);
    QCOMPARE(form()->StatusPanels[1]->text(), position(headword));
    QTextDocument expected;
    for (const DictionaryRow &r : lookupRows()) {
        if (r.word == headword)
            expected.setHtml(r.definition);
    }
    QCOMPARE(form()->RichEdit1->toPlainText(), expected.toPlainText());
}

// The current row stands in the middle of the list's visible rows, or as near as the rows before it allow.
void TestLookup::verifyCentred()
{
    WordGrid *grid = form()->DBGrid1;
    const int row = grid->currentIndex().row();
    const QRect rect = grid->visualRect(grid->currentIndex());
    const int rowHeight = rect.height();
    QCOMPARE(rowHeight, grid->rowHeight());
    const int visibleRows = grid->viewport()->height() / rowHeight;
    const int top = rect.top();
    QVERIFY2(top >= 0 && top + rowHeight <= grid->viewport()->height(), "the current row is out of sight");
    if (row < visibleRows / 2)
        return;
    // Near the end the list cannot scroll past its last row: it stands at the bottom instead.
    if (grid->model()->rowCount() - 1 - row < visibleRows / 2) {
        QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
        return;
    }
    const int middle = grid->viewport()->height() / 2;
    QVERIFY2(qAbs(top + rowHeight / 2 - middle) <= rowHeight,
             qPrintable(QStringLiteral("row at %1, middle %2").arg(top).arg(middle)));
}

// Viewport point over the middle of `word`'s first occurrence in the entry view.
QPoint TestLookup::pointOfWord(const QString &word) const
{
    EntryView *view = form()->RichEdit1;
    const int at = int(view->toPlainText().indexOf(word));
    if (at < 0)
        return {};
    QTextCursor left(view->document());
    left.setPosition(at + int(word.size()) / 2);
    QTextCursor right(left);
    right.movePosition(QTextCursor::NextCharacter);
    const QRect a = view->cursorRect(left);
    const QRect b = view->cursorRect(right);
    return QPoint((a.center().x() + b.center().x()) / 2, a.center().y());
}

void TestLookup::positionBlankUntilFirstLookup()
{
    QCOMPARE(form()->StatusPanels[1]->text(), QString());
    QTest::keyClick(form()->SEdit1, Qt::Key_P);
    QCOMPARE(form()->StatusPanels[1]->text(), position("Paris"));
}

void TestLookup::typingLetterByLetter()
{
    // Every keystroke runs its own lookup with the whole text typed so far.
    const QList<std::pair<char, QString>> steps = {{'a', "aardvark"}, {'b', "ab"}, {'c', "abc"}};
    QString typed;
    for (const auto &[key, headword] : steps) {
        // A row left elsewhere proves the next lookup moved it back.
        form()->table()->moveTo(rowOf("zebra"));
        QTest::keyClick(form()->SEdit1, key);
        typed += QLatin1Char(key);
        QCOMPARE(form()->SEdit1->text(), typed);
        verifyShows(headword);
    }
}

void TestLookup::deletingBackToEmpty()
{
    QTest::keyClicks(form()->SEdit1, QStringLiteral("m150"));
    verifyShows("m150");
    const QStringList expected = {"m150", "m100", "m000", "aardvark"};  // "m15", "m1", "m", ""
    for (const QString &headword : expected) {
        QTest::keyClick(form()->SEdit1, Qt::Key_Backspace);
        verifyShows(headword);
    }
    QCOMPARE(form()->SEdit1->text(), QString());
    verifyCentred();
}

void TestLookup::lookupOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("headword");
    QTest::newRow("exact") << "pear" << "pear";
    QTest::newRow("no exact match: the next headword") << "pea" << "pear";
    QTest::newRow("other case") << "PEAR" << "pear";
    QTest::newRow("case twins: the first") << "PARIS" << "Paris";
    QTest::newRow("32 characters") << kLong32 << kLong32;
    // Cut to 32, the text equals the first long headword; whole, it would sort after it.
    QTest::newRow("33 characters") << kLong32 + "z" << kLong32;
    QTest::newRow("40 characters") << kLong32 + "zzzzzzzz" << kLong32;
    QTest::newRow("after every headword") << "zzz" << "zebra";
    QTest::newRow("leading blank") << " m100" << "aardvark";
    QTest::newRow("trailing blank") << "ab " << "abacus";
    QTest::newRow("blanks only") << "   " << "aardvark";
}

void TestLookup::lookupOfText()
{
    QFETCH(QString, text);
    QFETCH(QString, headword);
    type(text);
    // The box keeps the text as typed, blanks and all.
    QCOMPARE(form()->SEdit1->text(), text);
    verifyShows(headword);
    verifyCentred();
}

void TestLookup::arrowingFocusedList()
{
    type("m100");
    WordGrid *grid = form()->DBGrid1;
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    // Entering the list puts the highlighted headword into the box.
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m100"));

    // Down through the fillers, then back up, the box following each highlighted headword.
    const QStringList down = {"m101", "m102", "m103", "m104"};
    for (const QString &headword : down) {
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(form()->SEdit1->text(), headword);
        verifyShows(headword);
        verifyCentred();
    }
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m103"));
    verifyShows("m103");
    verifyCentred();
}

void TestLookup::arrowingOverCaseTwins()
{
    type("o'clock");
    WordGrid *grid = form()->DBGrid1;
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    // "Paris" and "paris" differ in case only; the list must still step from one to the other.
    const QStringList down = {"Paris", "paris", "pear"};
    for (const QString &headword : down) {
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(form()->SEdit1->text(), headword);
        verifyShows(headword);
        verifyCentred();
    }
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("paris"));
    verifyShows("paris");
}

void TestLookup::clickingListRow()
{
    type("m100");
    WordGrid *grid = form()->DBGrid1;
    const int target = grid->currentIndex().row() + 3;
    const QRect rect = grid->visualRect(grid->model()->index(target, 0));
    QVERIFY(grid->viewport()->rect().contains(rect.center()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m103"));
    verifyShows("m103");
    verifyCentred();
}

void TestLookup::focusReturningToListKeepsTheBox()
{
    WordGrid *grid = form()->DBGrid1;
    type("m05");
    QTest::keyClick(form()->SEdit1, Qt::Key_Tab);
    QVERIFY(grid->hasFocus());
    // Tabbing into the list puts the highlighted headword into the box.
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m050"));

    // A clipboard lookup leaves an inexact text in the box while the list keeps the focus.
    const QString inexact = QStringLiteral("m05 x");
    form()->SEdit1->setText(inexact);
    verifyShows("m050");

    // A menu takes the focus and gives it back before its command runs: "&Speak" reads the box as it was.
    QMenu *sound = form()->MainMenu1->findChild<QMenu *>(QStringLiteral("Sound1"));
    sound->popup(grid->mapToGlobal(QPoint(5, 5)));
    QVERIFY(QTest::qWaitForWindowExposed(sound));
    sound->setActiveAction(form()->action(Command::SpeakWord1));
    QTest::keyClick(sound, Qt::Key_Return);
    QTRY_VERIFY(!sound->isVisible());
    QVERIFY(grid->hasFocus());
    QCOMPARE(form()->SEdit1->text(), inexact);
    QCOMPARE(m_fixture->speech->texts.size(), size_t(1));
    QCOMPARE(m_fixture->speech->texts[0].units, inexact + QChar(u'\0'));

    // Another window takes the activation and the list gets the focus back with it.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QTRY_VERIFY(grid->hasFocus());
    QCOMPARE(form()->SEdit1->text(), inexact);

    // A click from the search box onto the highlighted row moves only the focus, and that still counts.
    form()->SEdit1->setFocus();
    QTRY_VERIFY(form()->SEdit1->hasFocus());
    const QRect current = grid->visualRect(grid->currentIndex());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, current.center());
    QVERIFY(grid->hasFocus());
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m050"));
}

void TestLookup::altDownInSearchBoxLeavesText()
{
    type("m01");
    verifyShows("m010");
    QVERIFY(form()->SEdit1->hasFocus());
    QTest::keyClick(form()->SEdit1, Qt::Key_Down, Qt::AltModifier);
    verifyShows("m011");
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m01"));
    QTest::keyClick(form()->SEdit1, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(form()->SEdit1, Qt::Key_Up, Qt::AltModifier);
    verifyShows("m009");
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("m01"));
}

void TestLookup::endsOfTable()
{
    QAction *next = form()->action(Command::DataSetNext1);
    QAction *back = form()->action(Command::DataSetPrior1);

    type("well-being");
    QTest::keyClick(form()->SEdit1, Qt::Key_Down, Qt::AltModifier);
    verifyShows("zebra");
    // On the last row "&Next" is still there once: it moves nothing, rewrites the position and goes.
    QVERIFY(next->isEnabled());
    form()->StatusPanels[1]->clear();
    QTest::keyClick(form()->SEdit1, Qt::Key_Down, Qt::AltModifier);
    verifyShows("zebra");
    QVERIFY(!next->isEnabled());
    QVERIFY(back->isEnabled());
    // A disabled command's shortcut does nothing.
    QTest::keyClick(form()->SEdit1, Qt::Key_Down, Qt::AltModifier);
    verifyShows("zebra");
    // Moving off the end makes it available again.
    QTest::keyClick(form()->SEdit1, Qt::Key_Up, Qt::AltModifier);
    verifyShows("well-being");
    QVERIFY(next->isEnabled());

    // The first row, mirrored.
    type("ab");
    QTest::keyClick(form()->SEdit1, Qt::Key_Up, Qt::AltModifier);
    verifyShows("aardvark");
    QVERIFY(back->isEnabled());
    form()->StatusPanels[1]->clear();
    QTest::keyClick(form()->SEdit1, Qt::Key_Up, Qt::AltModifier);
    verifyShows("aardvark");
    QVERIFY(!back->isEnabled());
    QVERIFY(next->isEnabled());
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("ab"));
}

void TestLookup::doubleClickOnWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("headword");
    QTest::newRow("inner apostrophe") << "o'clock" << "o'clock";
    QTest::newRow("inner hyphen") << "well-being" << "well-being";
    QTest::newRow("no exact match") << "met" << "o'clock";
    QTest::newRow("word before a comma") << "five" << "m000";
}

void TestLookup::doubleClickOnWords()
{
    QFETCH(QString, word);
    QFETCH(QString, headword);
    type("clock");
    verifyShows("clock");
    const QPoint at = pointOfWord(word);
    QVERIFY(!at.isNull());
    QTest::mouseDClick(form()->RichEdit1->viewport(), Qt::LeftButton, {}, at);

    // The box holds the selection unchanged; the lookup ran and the word is in the history.
    QCOMPARE(form()->SEdit1->text(), word);
    QCOMPARE(form()->RichEdit1->textCursor().selectedText(), QString());
    verifyShows(headword);
    QCOMPARE(form()->history()->words(), QStringList{word});
    QCOMPARE(form()->history()->backMenu(), QStringList{word});
    QVERIFY(form()->action(Command::PriorSearch1)->isEnabled());
}

void TestLookup::doubleClickOnBlankSpace()
{
    type("clock");
    EntryView *view = form()->RichEdit1;
    // Below the last line of the short entry: no word there.
    const QPoint below(view->viewport()->width() / 2, view->viewport()->height() - 4);
    QVERIFY(view->cursorRect(QTextCursor(view->document()->lastBlock())).bottom() < below.y());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, below);

    QCOMPARE(form()->SEdit1->text(), QString());
    verifyShows("aardvark");
    QCOMPARE(form()->history()->words(), QStringList{QString()});
    QCOMPARE(form()->PriorPopupMenu->actions().size(), 1);
    QCOMPARE(form()->PriorPopupMenu->actions().first()->text(), QString());
    QVERIFY(form()->action(Command::PriorSearch1)->isEnabled());
}

void TestLookup::doubleClickOnWordAlreadyInBox()
{
    // The box holds "o'clock" while the list has moved on to the entry that mentions it.
    type("o'clock");
    form()->table()->moveTo(rowOf("clock"));
    QTest::mouseDClick(form()->RichEdit1->viewport(), Qt::LeftButton, {}, pointOfWord("o'clock"));
    // Same text: no lookup, the row stays where it was, yet the word is recorded.
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("o'clock"));
    QCOMPARE(form()->table()->currentRow(), rowOf("clock"));
    QCOMPARE(form()->history()->words(), QStringList{"o'clock"});
}

void TestLookup::typedLetterHidesAboutPanel()
{
    form()->action(Command::HelpAbout1)->trigger();
    QVERIFY(form()->AboutImage1->isVisible());
    QVERIFY(!form()->RichEdit1->isVisible());
    QVERIFY(!form()->WordDBText1->isVisible());

    QTest::keyClick(form()->SEdit1, Qt::Key_W);
    for (QWidget *w : std::initializer_list<QWidget *>{form()->WordDBText1, form()->Shape2, form()->DefSynLabel1,
                                                       form()->RichEdit1})
        QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
    for (QWidget *w : std::initializer_list<QWidget *>{form()->AboutImage1, form()->VersionLabel1,
                                                       form()->VendorURLLabel1, form()->AboutMessLabel1})
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    verifyShows("well-being");

    // Even a change that leaves the row where it is brings the entry back.
    form()->action(Command::HelpAbout1)->trigger();
    QVERIFY(form()->AboutImage1->isVisible());
    QTest::keyClick(form()->SEdit1, Qt::Key_E);
    QVERIFY(form()->RichEdit1->isVisible());
    QVERIFY(!form()->AboutImage1->isVisible());
    verifyShows("well-being");
}

void TestLookup::keysWithoutLookupFunction()
{
    type("pea");
    verifyShows("pear");
    // Enter, Escape and the arrows are plain edit keys: no completion, no move.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}) {
        QTest::keyClick(form()->SEdit1, key);
        QCOMPARE(form()->SEdit1->text(), QStringLiteral("pea"));
        verifyShows("pear");
    }
    // Clicking the headword label does nothing either.
    QTest::mouseClick(form()->WordDBText1, Qt::LeftButton);
    verifyShows("pear");
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("pea"));
}

QTEST_MAIN(TestLookup)
#include "test_lookup.moc"
