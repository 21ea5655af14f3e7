// The main window's life in the notification area, driven through a recording tray shell: the
// icon's settings, mouse messages as the shell sends them, the tray menu, close and minimise.

#include "WidgetFixture.h"

#include "../mocks/FakeSpeech.h"
#include "../unit/tray/FakeTrayShell.h"

#include "app/SearchEdit.h"
#include "platform/ImageList.h"
#include "tray/Trayicon.h"

#include <QAction>
#include <QMenu>

using MouseMessages = QList<quint32>;

namespace {

// The tray shell outlives the window, whose icon removes itself from it on destruction.
struct TrayWindowFixture
{
    explicit TrayWindowFixture(bool startHidden = false)
    {
        FormEnvironment env;
        env.startHidden = startHidden;
        window = std::make_unique<WindowFixture>(sampleRows(), env, true, DictionaryExtra{}, [this](Platform &p) {
            p.trayShell = &shell;
            p.speechRuntime = [log = speech] { return std::make_unique<FakeSpeechRuntime>(log); };
        });
        form()->TrayIcon1->setInputSource([] { return QPoint(200, 150); }, [] { return Qt::NoModifier; });
    }

    TLexivoAppForm *form() const { return window->form.get(); }
    Application *app() const { return window->app.get(); }

    // What the shell does when the user acts on the icon: the callback message to the icon's window.
    void mouse(quint32 message)
    {
        const NotifyIconData &record = shell.calls.first().data;
        QVERIFY(record.hWnd);
        record.hWnd->send(record.uCallbackMessage, record.uID, qintptr(message));
    }

    void showWindow()
    {
        app()->showForm();
        app()->processMessages();
    }

    // On screen as far as the user can tell: mapped, not iconified, the application not minimised.
    bool onScreen() const { return form()->isVisible() && !form()->isMinimized() && !app()->isMinimized(); }

    bool iconRemoved() const { return shell.ops().contains(QStringLiteral("remove")); }

    FakeTrayShell shell;
    std::shared_ptr<FakeSpeechLog> speech = std::make_shared<FakeSpeechLog>();
    std::unique_ptr<WindowFixture> window;
};

} // namespace

class TestTrayWindow : public QObject
{
    Q_OBJECT

private slots:
    void iconSettings();
    void iconAddedBeforeTipAndImage();
    void mouseOnHiddenWindow_data();
    void mouseOnHiddenWindow();
    void menuOpensAtCursorOnRightRelease();
    void trayMenuItems();
    void restoreCommand_data();
    void restoreCommand();
    void closeHidesToTray_data();
    void closeHidesToTray();
    void exitEndsAndRemovesIcon();
    void windowManagerMinimiseHidesToTray();
    void systemRestoreBringsWindowBack();
    void startHiddenShowsOnlyTheIcon();
    void speakAndStopWhileHidden();
};

void TestTrayWindow::iconSettings()
{
    TrayWindowFixture f;
    TTrayIcon *tray = f.form()->TrayIcon1;
    QVERIFY(tray);
    QCOMPARE(tray->objectName(), QStringLiteral("TrayIcon1"));
    QVERIFY(tray->Visible());
    QCOMPARE(tray->Hint(), QStringLiteral("Verbarium"));
    QCOMPARE(tray->PopupMenu(), f.form()->TrayPopupMenu1);
    QVERIFY(tray->Hide());
    QCOMPARE(tray->RestoreOn(), imDoubleClick);
    QCOMPARE(tray->PopupMenuOn(), imRightClickUp);
    QCOMPARE(tray->Icons(), f.form()->ImageList2);
    QCOMPARE(tray->IconIndex(), 1);
    QCOMPARE(tray->GetAnimateInterval(), 100);
    QVERIFY(!tray->GetAnimate());
    QVERIFY(!tray->AnimationRunning());
    QVERIFY(tray->OnRestore);

    ImageList *images = f.form()->ImageList2;
    QCOMPARE(images->count(), 6);
    QCOMPARE(images->imageSize(), QSize(16, 16));
    for (int i = 0; i < images->count(); ++i)
        QVERIFY2(!images->icon(i).isNull(), qPrintable(QStringLiteral("image %1").arg(i)));
}

// The icon goes in first with the bare record; the tip and image 1 follow as modifications.
void TestTrayWindow::iconAddedBeforeTipAndImage()
{
    TrayWindowFixture f;
    const QStringList ops = f.shell.ops();
    QVERIFY(!ops.isEmpty());
    QCOMPARE(ops.first(), QStringLiteral("add"));
    QCOMPARE(ops.count(QStringLiteral("add")), 1);
    QVERIFY(!f.iconRemoved());

    const NotifyIconData &added = f.shell.calls.first().data;
    QCOMPARE(added.uFlags, Win::NIF_MESSAGE | Win::NIF_ICON);
    QCOMPARE(added.uCallbackMessage, Win::WM_USER + 1);
    QVERIFY(added.szTip.isEmpty());
    QCOMPARE(added.uID, quintptr(f.form()->TrayIcon1));

    const NotifyIconData &last = f.shell.calls.last().data;
    QCOMPARE(f.shell.calls.last().op, QStringLiteral("modify"));
    QCOMPARE(last.uID, added.uID);
    QCOMPARE(last.szTip, QStringLiteral("Verbarium"));
    QCOMPARE(last.uFlags, Win::NIF_MESSAGE | Win::NIF_ICON | Win::NIF_TIP);
    QCOMPARE(last.hIcon.cacheKey(), f.form()->ImageList2->icon(1).cacheKey());
}

void TestTrayWindow::mouseOnHiddenWindow_data()
{
    QTest::addColumn<MouseMessages>("messages");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("menu");

    using namespace Win;
    // A double click arrives as down, up, double click, up; any button's double click restores.
    QTest::newRow("left double click") << MouseMessages{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}
                                       << true << false;
    QTest::newRow("middle double click")
        << MouseMessages{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MBUTTONUP} << true << false;
    QTest::newRow("right double click") << MouseMessages{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP}
                                        << true << true;
    QTest::newRow("left click") << MouseMessages{WM_LBUTTONDOWN, WM_LBUTTONUP} << false << false;
    QTest::newRow("left release") << MouseMessages{WM_LBUTTONUP} << false << false;
    QTest::newRow("middle click") << MouseMessages{WM_MBUTTONDOWN, WM_MBUTTONUP} << false << false;
    QTest::newRow("right press") << MouseMessages{WM_RBUTTONDOWN} << false << false;
    QTest::newRow("right click") << MouseMessages{WM_RBUTTONDOWN, WM_RBUTTONUP} << false << true;
    QTest::newRow("mouse move") << MouseMessages{WM_MOUSEMOVE} << false << false;
}

void TestTrayWindow::mouseOnHiddenWindow()
{
    QFETCH(MouseMessages, messages);
    QFETCH(bool, shown);
    QFETCH(bool, menu);

    TrayWindowFixture f;
    f.showWindow();
    f.form()->close();
    QVERIFY(!f.form()->isVisible());

    for (const quint32 message : messages)
        f.mouse(message);
    f.app()->processMessages();

    QCOMPARE(f.onScreen(), shown);
    QCOMPARE(f.form()->TrayPopupMenu1->isVisible(), menu);
    if (shown)
        QVERIFY(f.app()->isAppWindowShown());
    f.form()->TrayPopupMenu1->hide();
    QVERIFY(f.form()->TrayIcon1->Visible());
    QVERIFY(!f.iconRemoved());
}

void TestTrayWindow::menuOpensAtCursorOnRightRelease()
{
    TrayWindowFixture f;
    f.showWindow();
    QMenu *menu = f.form()->TrayPopupMenu1;
    f.mouse(Win::WM_RBUTTONDOWN);
    QVERIFY(!menu->isVisible());
    // The cursor moves between press and release: the menu opens where the release happened.
    f.form()->TrayIcon1->setInputSource([] { return QPoint(320, 240); }, [] { return Qt::NoModifier; });
    f.mouse(Win::WM_RBUTTONUP);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(320, 240));
    menu->hide();
    // The window it was opened over stays as it was.
    QVERIFY(f.onScreen());
}

void TestTrayWindow::trayMenuItems()
{
    TrayWindowFixture f;
    const QList<QAction *> items = f.form()->TrayPopupMenu1->actions();
    QCOMPARE(items.size(), 6);
    QCOMPARE(items.at(0), f.form()->action(Command::RestoreAction));
    QVERIFY(items.at(1)->isSeparator());
    QCOMPARE(items.at(2), f.form()->action(Command::SpeakWord1));
    QCOMPARE(items.at(3), f.form()->action(Command::SoundStop1));
    QVERIFY(items.at(4)->isSeparator());
    QCOMPARE(items.at(5), f.form()->action(Command::FileExit1));
    QCOMPARE(items.at(0)->text(), QStringLiteral("&Restore"));
    QCOMPARE(items.at(5)->text(), QStringLiteral("E&xit"));
}

void TestTrayWindow::restoreCommand_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("shown") << "shown";
    QTest::newRow("closed to the tray") << "closed";
    QTest::newRow("minimised by the window manager") << "wm-minimised";
    QTest::newRow("minimised application") << "app-minimised";
}

void TestTrayWindow::restoreCommand()
{
    QFETCH(QString, before);
    TrayWindowFixture f;
    f.showWindow();
    if (before == "closed") {
        f.form()->close();
    } else if (before == "wm-minimised") {
        f.form()->showMinimized();
    } else if (before == "app-minimised") {
        // As a stored "WinState" of 1 leaves it: iconified with its taskbar entry.
        f.app()->minimize();
        QVERIFY(f.form()->isMinimized());
    }
    f.app()->processMessages();
    QCOMPARE(f.onScreen(), before == "shown");
    // Another window is in front, over the shown one.
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());

    f.form()->TrayPopupMenu1->actions().first()->trigger();
    QVERIFY(f.onScreen());
    QTRY_VERIFY(f.form()->isActiveWindow());
    QVERIFY(!f.app()->terminated());
}

void TestTrayWindow::closeHidesToTray_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close request") << "close";
    QTest::newRow("C&lose command") << "FileClose1";
}

void TestTrayWindow::closeHidesToTray()
{
    QFETCH(QString, how);
    TrayWindowFixture f;
    f.showWindow();
    QVERIFY(f.onScreen());

    if (how == "close")
        QVERIFY(!f.form()->close());
    else
        f.form()->action(Command::FileClose1)->trigger();

    QVERIFY(!f.form()->isVisible());
    QVERIFY(f.app()->isMinimized());
    QVERIFY(!f.app()->isAppWindowShown());
    QVERIFY(!f.app()->terminated());
    QVERIFY(f.form()->TrayIcon1->Visible());
    QVERIFY(!f.iconRemoved());

    // And the icon brings it back.
    for (const quint32 message : {Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP, Win::WM_LBUTTONDBLCLK, Win::WM_LBUTTONUP})
        f.mouse(message);
    QVERIFY(f.onScreen());
}

void TestTrayWindow::exitEndsAndRemovesIcon()
{
    TrayWindowFixture f;
    f.showWindow();
    f.form()->close();
    QVERIFY(!f.app()->terminated());

    f.form()->TrayPopupMenu1->actions().last()->trigger();
    QVERIFY(f.app()->terminated());
    // Once terminating, a close request goes through instead of hiding to the tray.
    QVERIFY(f.form()->close());
    QVERIFY(!f.iconRemoved());

    const quintptr id = f.shell.calls.first().data.uID;
    f.window->form.reset();
    QCOMPARE(f.shell.calls.last().op, QStringLiteral("remove"));
    QCOMPARE(f.shell.calls.last().data.uID, id);
}

// The window manager's minimise reaches the icon's hook: no window and no taskbar entry remain.
void TestTrayWindow::windowManagerMinimiseHidesToTray()
{
    TrayWindowFixture f;
    f.showWindow();
    f.form()->setWindowState(Qt::WindowMinimized);
    f.app()->processMessages();

    QVERIFY(!f.form()->isVisible());
    QVERIFY(f.app()->isMinimized());
    QVERIFY(!f.app()->isAppWindowShown());
    QVERIFY(f.form()->TrayIcon1->Visible());

    // A second start of the program brings it back.
    f.form()->showFromAnotherStart();
    QVERIFY(f.onScreen());
    QVERIFY(f.app()->isAppWindowShown());
}

// Started iconified (a stored "WinState" of 1), the window keeps its taskbar entry; the window
// manager's restore then reaches the icon's hook, which brings the application forward.
void TestTrayWindow::systemRestoreBringsWindowBack()
{
    TrayWindowFixture f;
    f.showWindow();
    f.app()->minimize();
    f.app()->processMessages();
    QVERIFY(f.form()->isMinimized());
    QVERIFY(f.app()->isAppWindowShown());

    int restores = 0;
    f.form()->TrayIcon1->OnRestore = [&](QObject *) {
        ++restores;
        f.form()->TrayIcon1Restore();
    };
    f.form()->setWindowState(Qt::WindowNoState);
    f.app()->processMessages();
    QCOMPARE(restores, 1);
    QVERIFY(f.onScreen());
    QVERIFY(f.app()->isAppWindowShown());
}

void TestTrayWindow::startHiddenShowsOnlyTheIcon()
{
    TrayWindowFixture f(true);
    // What the entry point does after building the window with "/m".
    f.app()->minimize();
    f.app()->hideAppWindow();
    f.app()->processMessages();

    QVERIFY(!f.form()->isVisible());
    QVERIFY(!f.app()->isAppWindowShown());
    QVERIFY(f.form()->TrayIcon1->Visible());
    QCOMPARE(f.shell.ops().first(), QStringLiteral("add"));

    for (const quint32 message : {Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP, Win::WM_LBUTTONDBLCLK, Win::WM_LBUTTONUP})
        f.mouse(message);
    f.app()->processMessages();
    QVERIFY(f.onScreen());
}

void TestTrayWindow::speakAndStopWhileHidden()
{
    TrayWindowFixture f;
    f.showWindow();
    f.form()->SEdit1->setText(QStringLiteral("pear"));
    f.form()->close();
    QVERIFY(!f.form()->isVisible());

    const QList<QAction *> items = f.form()->TrayPopupMenu1->actions();
    const std::size_t spokenBefore = f.speech->texts.size();
    items.at(2)->trigger();
    QCOMPARE(f.speech->texts.size(), spokenBefore + 1);
    QVERIFY(f.speech->texts.back().units.startsWith(QStringLiteral("pear")));

    const int resetsBefore = f.speech->resets;
    items.at(3)->trigger();
    QVERIFY(f.speech->resets > resetsBefore);
    QVERIFY(!f.form()->isVisible());
}

QTEST_MAIN(TestTrayWindow)
#include "test_tray_window.moc"
