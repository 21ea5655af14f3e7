// What a screen reader reaches: commands run one handler whichever way they are invoked, labels speak
// their values, the open tray menu hangs under the application, keys reach Exit and help.

#include "WidgetFixture.h"

#include "app/CommandBinding.h"
#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

void doAccessibleAction(QObject *object, const QString &name)
{
    QAccessibleActionInterface *actions = accessible(object)->actionInterface();
    QVERIFY(actions);
    QVERIFY2(actions->actionNames().contains(name), qPrintable(actions->actionNames().join(u',')));
    actions->doAction(name);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyWayRunsTheHandlerOnce();
    void theMarkMirrorsTheHandler();
    void toolbarToggleHidesTheExplorer();
    void labelsSpeakTheirValues();
    void openTrayMenuHangsUnderTheApplication();
    void keysReachExitAndHelp();
};

void TestAccessibility::everyWayRunsTheHandlerOnce()
{
    QAction action;
    action.setCheckable(true);
    int runs = 0;
    // The handler owns the mark, as the window's view and clipboard commands do.
    CommandBinding::bind(&action, [&] { ++runs; CommandBinding::setChecked(&action, !action.isChecked()); }, false);
    QToolButton button;
    button.setDefaultAction(&action);
    QMenu menu;
    menu.addAction(&action);

    action.trigger();
    QCOMPARE(runs, 1);
    QVERIFY(action.isChecked());

    button.click();
    QCOMPARE(runs, 2);
    QVERIFY(!action.isChecked());

    // A screen reader flips the button's mark: the handler runs from the event loop, once, and sets the mark.
    doAccessibleAction(&button, QAccessibleActionInterface::toggleAction());
    QTRY_COMPARE(runs, 3);
    QVERIFY(action.isChecked());
    QVERIFY(button.isChecked());
    QCoreApplication::processEvents();
    QCOMPARE(runs, 3);

    // The menu item's accessible press.
    QAccessibleInterface *item = accessible(&menu)->child(0);
    QVERIFY(item && item->actionInterface());
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    QCOMPARE(runs, 4);
    QVERIFY(!action.isChecked());

    // The program setting the mark to a state it keeps elsewhere runs nothing.
    CommandBinding::setChecked(&action, true);
    QCoreApplication::processEvents();
    QCOMPARE(runs, 4);
    QVERIFY(action.isChecked());
}

void TestAccessibility::theMarkMirrorsTheHandler()
{
    // A handler that declines to act leaves the mark where it was, however the mark was flipped.
    QAction stubborn;
    stubborn.setCheckable(true);
    int runs = 0;
    CommandBinding::bind(&stubborn, [&] { ++runs; }, false);
    QToolButton button;
    button.setDefaultAction(&stubborn);
    doAccessibleAction(&button, QAccessibleActionInterface::toggleAction());
    QVERIFY(!stubborn.isChecked());
    QTRY_COMPARE(runs, 1);
    QVERIFY(!stubborn.isChecked());
    QVERIFY(!button.isChecked());

    // A command that checks itself sees its new mark in the handler, by a click or by a screen reader alike.
    QAction self;
    self.setCheckable(true);
    QList<bool> seen;
    CommandBinding::bind(&self, [&] { seen.append(self.isChecked()); }, true);
    QToolButton selfButton;
    selfButton.setDefaultAction(&self);
    self.trigger();
    doAccessibleAction(&selfButton, QAccessibleActionInterface::toggleAction());
    QTRY_COMPARE(seen, QList<bool>({true, false}));
}

void TestAccessibility::toolbarToggleHidesTheExplorer()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QAction *command = f->action(Command::ShowHideLeftAction);
    auto *button = qobject_cast<QToolButton *>(f->ToolBar1->widgetForAction(command));
    QVERIFY(button);
    QCOMPARE(accessible(button)->text(QAccessible::Description), QStringLiteral("Shows or hides Words Explorer"));
    const int width = f->formWidth();

    doAccessibleAction(button, QAccessibleActionInterface::toggleAction());
    QTRY_VERIFY(f->WordsListPanel1->isHidden());
    QVERIFY(command->isChecked());
    QVERIFY(f->formWidth() < width);
    QCOMPARE(command->text(), QStringLiteral("Show Words Explorer"));
    QCOMPARE(accessible(button)->text(QAccessible::Name), QStringLiteral("Show Words Explorer"));
    QCOMPARE(accessible(button)->text(QAccessible::Description), QStringLiteral("Shows or hides Words Explorer"));
}

void TestAccessibility::labelsSpeakTheirValues()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    f->SEdit1->setText(QStringLiteral("pea"));

    QCOMPARE(accessible(f->WordDBText1)->text(QAccessible::Name), QStringLiteral("pear"));
    QCOMPARE(accessible(f->StatusPanels[1])->text(QAccessible::Name), QStringLiteral("6/8"));
    // What a value is comes as the description.
    for (QWidget *w : std::initializer_list<QWidget *>{f->WordDBText1, f->StatusPanels[0], f->StatusPanels[1],
                                                       f->WordPronLabel1, f->DBGrid1, f->SEdit1, f->RichEdit1})
        QVERIFY2(!accessible(w)->text(QAccessible::Description).isEmpty(), qPrintable(w->objectName()));
}

void TestAccessibility::openTrayMenuHangsUnderTheApplication()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QAccessibleInterface *application = accessible(qApp);
    QAccessibleInterface *menu = accessible(f->TrayPopupMenu1);
    const int closed = application->childCount();
    QCOMPARE(application->indexOfChild(menu), -1);

    f->TrayPopupMenu1->popup(QPoint(100, 100));
    QVERIFY(QTest::qWaitForWindowExposed(f->TrayPopupMenu1));
    QCOMPARE(application->childCount(), closed + 1);
    QCOMPARE(application->child(closed), menu);
    QCOMPARE(application->indexOfChild(menu), closed);
    QCOMPARE(menu->parent(), application);
    QCOMPARE(menu->role(), QAccessible::PopupMenu);
    QCOMPARE(menu->child(menu->childCount() - 1)->text(QAccessible::Name), QStringLiteral("Exit"));

    f->TrayPopupMenu1->hide();
    QCOMPARE(application->childCount(), closed);
    QCOMPARE(application->indexOfChild(menu), -1);
}

void TestAccessibility::keysReachExitAndHelp()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    f->show();
    QApplication::setActiveWindow(f);
    QVERIFY(QTest::qWaitForWindowActive(f));
    QSignalSpy help(f->action(Command::ContentAction1), &QAction::triggered);
    QSignalSpy exit(f->action(Command::FileExit1), &QAction::triggered);

    QTest::keyClick(f->SEdit1, Qt::Key_F1);
    QCOMPARE(help.count(), 1);
    // The help viewer is listed as a window of its own.
    QWidget *viewer = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QStringLiteral("Verbarium Help"))
            viewer = w;
    QVERIFY(viewer);
    QCOMPARE(accessible(viewer)->role(), QAccessible::Window);
    QCOMPARE(accessible(viewer)->text(QAccessible::Name), QStringLiteral("Verbarium Help"));
    QApplication::setActiveWindow(f);
    QVERIFY(QTest::qWaitForWindowActive(f));
    QTest::keyClick(f->SEdit1, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(exit.count(), 1);
    // The menus show the commands as they were: the keys are the window's, not the commands'.
    QVERIFY(f->action(Command::ContentAction1)->shortcut().isEmpty());
    QVERIFY(f->action(Command::FileExit1)->shortcut().isEmpty());
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
