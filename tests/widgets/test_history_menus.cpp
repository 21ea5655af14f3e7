// The history of followed words through the real window: double-clicks in entries, the toolbar's
// drop-down menus clicked with the mouse, and "B&ack Search" / "N&ext Search".

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/SearchHistory.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

// Each entry names the next word of the chain P Q R S.
QList<DictionaryRow> chainRows()
{
    return {
        {"start", "<p>Begin with p here.</p>"},
        {"p", "<p>Then q follows.</p>"},
        {"q", "<p>Then r follows.</p>"},
        {"r", "<p>Then s follows.</p>"},
        {"s", "<p>Back to p, or AT&amp;T.</p>"},
        {"AT", "<p>a preposition</p>"},
    };
}

// What a menu shows, top first: the caption as drawn, access-key escapes resolved.
QStringList shownCaptions(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *a : menu->actions())
        captions << QString(a->text()).replace(QLatin1String("&&"), QLatin1String("&"));
    return captions;
}

} // namespace

class TestHistoryMenus : public QObject
{
    Q_OBJECT

private slots:
    void walkThroughRealMenus();

private:
    TLexivoAppForm *form() const { return m_fixture->form.get(); }
    void doubleClickWord(const QString &word);
    void chooseFromDropDown(const char *command, int item);
    void clickCommandButton(const char *command);
    void verifyState(const QString &box, const QStringList &backMenu, const QStringList &forwardMenu, bool backOn,
                     bool nextOn);

    WindowFixture *m_fixture = nullptr;
};

// Double-clicks the first whole occurrence of `word` in the entry view.
void TestHistoryMenus::doubleClickWord(const QString &word)
{
    EntryView *view = form()->RichEdit1;
    const QRegularExpression whole(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(word)));
    const int at = int(view->toPlainText().indexOf(whole));
    QVERIFY2(at >= 0, qPrintable(word + QStringLiteral(" not in: ") + view->toPlainText()));
    QTextCursor cursor(view->document());
    cursor.setPosition(at);
    const QRect left = view->cursorRect(cursor);
    cursor.setPosition(at + int(word.size()));
    const QRect right = view->cursorRect(cursor);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       QPoint((left.center().x() + right.center().x()) / 2, left.center().y()));
    QCoreApplication::processEvents();
}

QToolButton *commandButton(TLexivoAppForm *form, const char *command)
{
    return form->ToolBar1->findChild<QToolButton *>(QStringLiteral("%1Button").arg(QLatin1String(command)));
}

// Opens the drop-down menu of the command's toolbar button and clicks item `item` with the mouse.
void TestHistoryMenus::chooseFromDropDown(const char *command, int item)
{
    QToolButton *button = commandButton(form(), command);
    QVERIFY(button);
    QMenu *menu = button->menu();
    QPointer<QAction> chosen = menu->actions().value(item);
    QVERIFY(chosen);
    bool clicked = false;
    // The menu runs its own event loop; the click is made from inside it.
    QTimer::singleShot(0, menu, [&] {
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); })) {
            menu->close();
            return;
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        clicked = true;
    });
    button->showMenu();
    QVERIFY(clicked);
    QTRY_VERIFY(!menu->isVisible());
    QCoreApplication::processEvents();
    // The chosen item went to the other menu, so its own action is gone once the click is handled.
    QVERIFY(!chosen || !menu->actions().contains(chosen.data()));
}

void TestHistoryMenus::clickCommandButton(const char *command)
{
    QToolButton *button = commandButton(form(), command);
    QVERIFY(button);
    // The left part of a split button runs the command; the arrow on the right opens the menu.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
    QCoreApplication::processEvents();
}

void TestHistoryMenus::verifyState(const QString &box, const QStringList &backMenu, const QStringList &forwardMenu,
                                   bool backOn, bool nextOn)
{
    QCOMPARE(form()->SEdit1->text(), box);
    // The lookup ran: the entry of the word is shown.
    QCOMPARE(form()->WordDBText1->text().toLower(), box.toLower());
    QCOMPARE(shownCaptions(form()->PriorPopupMenu), backMenu);
    QCOMPARE(shownCaptions(form()->NextPopupMenu), forwardMenu);
    QCOMPARE(form()->action(Command::PriorSearch1)->isEnabled(), backOn);
    QCOMPARE(form()->action(Command::NextSearch1)->isEnabled(), nextOn);
    // The toolbar buttons follow their commands.
    QCOMPARE(commandButton(form(), "PriorSearch1")->isEnabled(), backOn);
    QCOMPARE(commandButton(form(), "NextSearch1")->isEnabled(), nextOn);
}

void TestHistoryMenus::walkThroughRealMenus()
{
    WindowFixture fixture(chainRows());
    m_fixture = &fixture;
    fixture.app->showForm();
    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    QTest::keyClicks(form()->SEdit1, QStringLiteral("start"));

    const QList<QString> chain = {"p", "q", "r", "s"};
    for (const QString &word : chain)
        doubleClickWord(word);
    verifyState("s", {"s", "r", "q", "p"}, {}, true, false);
    QCOMPARE(form()->history()->position(), 3);

    // Back from the toolbar, then twice from the "&Navigate" menu.
    clickCommandButton("PriorSearch1");
    verifyState("r", {"r", "q", "p"}, {"r"}, true, true);
    QMenu *navigate = form()->MainMenu1->findChild<QMenu *>(QStringLiteral("Navigate1"));
    QVERIFY(navigate);
    QAction *backItem = nullptr;
    QAction *nextItem = nullptr;
    for (QAction *a : navigate->actions()) {
        if (a->text() == QLatin1String("B&ack Search"))
            backItem = a;
        else if (a->text() == QLatin1String("N&ext Search"))
            nextItem = a;
    }
    QVERIFY(backItem && nextItem);
    backItem->trigger();
    backItem->trigger();
    verifyState("p", {"p"}, {"p", "q", "r"}, false, true);

    nextItem->trigger();
    verifyState("q", {"q", "p"}, {"q", "r"}, true, true);
    clickCommandButton("NextSearch1");
    clickCommandButton("NextSearch1");
    verifyState("s", {"s", "r", "q", "p"}, {}, true, false);

    // Q, third in the back menu, moves the top three items over, Q ending on top of the forward menu.
    chooseFromDropDown("PriorSearch1", 2);
    verifyState("q", {"p"}, {"q", "r", "s"}, true, true);
    QCOMPARE(form()->history()->position(), 1);
    chooseFromDropDown("NextSearch1", 2);
    verifyState("s", {"s", "r", "q", "p"}, {}, true, false);
    QCOMPARE(form()->history()->position(), 3);

    // An item triggered by its own action survives its click and goes once the click is handled.
    QPointer<QAction> top = form()->PriorPopupMenu->actions().first();
    top->trigger();
    QVERIFY(top);
    QCoreApplication::processEvents();
    verifyState("s", {"r", "q", "p"}, {"s"}, true, true);
    QVERIFY(!form()->PriorPopupMenu->actions().contains(top.data()));
    chooseFromDropDown("NextSearch1", 0);
    verifyState("s", {"s", "r", "q", "p"}, {}, true, false);

    // A recorded word with "&" shows it as typed, and no access key is made of it.
    EntryView *view = form()->RichEdit1;
    QTextCursor selection = view->document()->find(QStringLiteral("AT&T"));
    QVERIFY(!selection.isNull());
    view->setTextCursor(selection);
    form()->RichEdit1DblClick();
    QCoreApplication::processEvents();
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("AT&T"));
    QCOMPARE(shownCaptions(form()->PriorPopupMenu), QStringList({"AT&T", "s", "r", "q", "p"}));
    QCOMPARE(QKeySequence::mnemonic(form()->PriorPopupMenu->actions().first()->text()), QKeySequence());
    QCOMPARE(form()->history()->words(), QStringList({"p", "q", "r", "s", "AT&T"}));

    // Chosen from either menu, the item stands for the word as recorded, not for its escaped caption.
    chooseFromDropDown("PriorSearch1", 0);
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("AT&T"));
    QCOMPARE(shownCaptions(form()->NextPopupMenu), QStringList{"AT&T"});
    QCOMPARE(shownCaptions(form()->PriorPopupMenu), QStringList({"s", "r", "q", "p"}));
    QVERIFY(form()->action(Command::NextSearch1)->isEnabled());
    chooseFromDropDown("NextSearch1", 0);
    QCOMPARE(form()->SEdit1->text(), QStringLiteral("AT&T"));
    QCOMPARE(form()->history()->position(), 4);
    QCOMPARE(shownCaptions(form()->PriorPopupMenu), QStringList({"AT&T", "s", "r", "q", "p"}));
    QVERIFY(form()->NextPopupMenu->actions().isEmpty());
    QVERIFY(!form()->action(Command::NextSearch1)->isEnabled());
    m_fixture = nullptr;
}

QTEST_MAIN(TestHistoryMenus)
#include "test_history_menus.moc"
