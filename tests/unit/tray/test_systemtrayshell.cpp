#include "platform/Application.h"
#include "tray/SystemTrayShell.h"
#include "tray/Trayicon.h"

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>
#include <QtTest>

// The desktop notification area under the offscreen platform, which has none.
class TestSystemTrayShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addModifyRemoveWithoutTray();
    void tipOnlyWithTipFlag();
    void activationsBecomeMouseMessages_data();
    void activationsBecomeMouseMessages();
    void removalDuringActivationIsSafe();
    void statusNotifierActivationIsTheDoubleClick();
    void menuOnlyForStatusNotifierHost_data();
    void menuOnlyForStatusNotifierHost();
    void componentStartsWithoutTray();

private:
    NotifyIconData record(quintptr id, TrayWindow *window) const;
    QTemporaryDir m_home;
};

void TestSystemTrayShell::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    QGuiApplication::setWindowIcon(QIcon(pixmap));
}

NotifyIconData TestSystemTrayShell::record(quintptr id, TrayWindow *window) const
{
    NotifyIconData d;
    d.cbSize = NotifyIconData::ShellSize;
    d.hWnd = window;
    d.uID = id;
    d.uFlags = Win::NIF_MESSAGE | Win::NIF_ICON;
    d.uCallbackMessage = Win::WM_USER + 1;
    d.hIcon = QGuiApplication::windowIcon();
    return d;
}

void TestSystemTrayShell::addModifyRemoveWithoutTray()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    SystemTrayShell shell;
    const NotifyIconData d = record(7, nullptr);
    QVERIFY(!shell.modify(d));
    QVERIFY(!shell.remove(d));

    // No notification area is not a refusal: the icon waits for one.
    QVERIFY(shell.add(d));
    QVERIFY(shell.isWaitingForTray());
    QVERIFY(shell.iconFor(7));
    QVERIFY(shell.iconFor(7)->isVisible());
    QVERIFY(!shell.add(d)); // one icon per id
    QVERIFY(shell.modify(d));
    QVERIFY(shell.remove(d));
    QVERIFY(!shell.iconFor(7));
    QVERIFY(!shell.isWaitingForTray());
    QVERIFY(!shell.remove(d));
    QVERIFY(shell.add(d)); // the id is free again
}

void TestSystemTrayShell::tipOnlyWithTipFlag()
{
    SystemTrayShell shell;
    NotifyIconData d = record(1, nullptr);
    d.szTip = "Verbarium";
    QVERIFY(shell.add(d));
    QCOMPARE(shell.iconFor(1)->toolTip(), QString());
    d.uFlags |= Win::NIF_TIP;
    QVERIFY(shell.modify(d));
    QCOMPARE(shell.iconFor(1)->toolTip(), QString("Verbarium"));
    d.uFlags &= ~Win::NIF_TIP;
    QVERIFY(shell.modify(d));
    QCOMPARE(shell.iconFor(1)->toolTip(), QString());
    // The component's own dispatch shows the menu; the desktop icon must not have one of its own.
    QVERIFY(!shell.iconFor(1)->contextMenu());
}

void TestSystemTrayShell::activationsBecomeMouseMessages_data()
{
    QTest::addColumn<QList<int>>("reasons");
    QTest::addColumn<QList<quint32>>("expected");

    using R = QSystemTrayIcon;
    QTest::newRow("click") << QList<int>{R::Trigger} << QList<quint32>{Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP};
    // Qt reports a double click as Trigger then DoubleClick.
    QTest::newRow("double click") << QList<int>{R::Trigger, R::DoubleClick}
                                  << QList<quint32>{Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP, Win::WM_LBUTTONDBLCLK,
                                                    Win::WM_LBUTTONUP};
    QTest::newRow("context") << QList<int>{R::Context} << QList<quint32>{Win::WM_RBUTTONDOWN, Win::WM_RBUTTONUP};
    QTest::newRow("middle") << QList<int>{R::MiddleClick} << QList<quint32>{Win::WM_MBUTTONDOWN, Win::WM_MBUTTONUP};
    QTest::newRow("unknown") << QList<int>{R::Unknown} << QList<quint32>{};
}

void TestSystemTrayShell::activationsBecomeMouseMessages()
{
    QFETCH(QList<int>, reasons);
    QFETCH(QList<quint32>, expected);

    QList<quint32> received;
    TrayWindow window([&received](TMessage &m) {
        QCOMPARE(m.Msg, 1025u);
        QCOMPARE(m.WParam, quintptr(42));
        received << quint32(m.LParam);
    });
    SystemTrayShell shell(nullptr, SystemTrayShell::Host::XEmbed);
    QVERIFY(shell.add(record(42, &window)));
    for (int reason : reasons)
        emit shell.iconFor(42)->activated(QSystemTrayIcon::ActivationReason(reason));
    // Delivered after the desktop icon's own handler has returned.
    QVERIFY(received.isEmpty());
    QTRY_COMPARE(received, expected);
}

void TestSystemTrayShell::removalDuringActivationIsSafe()
{
    auto *shell = new SystemTrayShell;
    int calls = 0;
    TrayWindow window([&](TMessage &) {
        ++calls;
        delete shell; // e.g. the program ends from the first message
    });
    QVERIFY(shell->add(record(5, &window)));
    QPointer<QSystemTrayIcon> icon = shell->iconFor(5);
    emit icon->activated(QSystemTrayIcon::Trigger);
    QTRY_COMPARE(calls, 1);
    QCoreApplication::processEvents();
    QCOMPARE(calls, 1); // the button-up that followed went nowhere
    QVERIFY(!icon);
}

// Such a host sends one activation per click, and one per click of a double click too.
void TestSystemTrayShell::statusNotifierActivationIsTheDoubleClick()
{
    QList<quint32> received;
    TrayWindow window([&received](TMessage &m) { received << quint32(m.LParam); });
    SystemTrayShell shell(nullptr, SystemTrayShell::Host::StatusNotifier);
    QVERIFY(shell.add(record(42, &window)));
    emit shell.iconFor(42)->activated(QSystemTrayIcon::Trigger);
    emit shell.iconFor(42)->activated(QSystemTrayIcon::Trigger);
    const QList<quint32> doubleClick{Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP, Win::WM_LBUTTONDBLCLK, Win::WM_LBUTTONUP};
    QTRY_COMPARE(received, doubleClick);
    QCoreApplication::processEvents();
    QCOMPARE(received, doubleClick);
}

void TestSystemTrayShell::menuOnlyForStatusNotifierHost_data()
{
    QTest::addColumn<int>("host");
    QTest::addColumn<bool>("handed");
    // An XEmbed tray leaves it to the component, which opens it on release of the button.
    QTest::newRow("XEmbed") << int(SystemTrayShell::Host::XEmbed) << false;
    QTest::newRow("status notifier") << int(SystemTrayShell::Host::StatusNotifier) << true;
}

void TestSystemTrayShell::menuOnlyForStatusNotifierHost()
{
    QFETCH(int, host);
    QFETCH(bool, handed);
    SystemTrayShell shell(nullptr, SystemTrayShell::Host(host));
    QMenu menu;
    const NotifyIconData d = record(3, nullptr);
    QVERIFY(shell.add(d));
    shell.setMenu(d, &menu);
    QCOMPARE(shell.iconFor(3)->contextMenu(), handed ? &menu : nullptr);
    shell.setMenu(d, nullptr);
    QVERIFY(!shell.iconFor(3)->contextMenu());
}

void TestSystemTrayShell::componentStartsWithoutTray()
{
    Application app;
    TTrayIcon tray(nullptr, &app); // the desktop's notification area
    int restored = 0;
    tray.OnRestore = [&restored](QObject *) { ++restored; };
    tray.SetVisible(true);
    tray.SetHint("Verbarium");
    QVERIFY(tray.Visible());
    tray.SetVisible(false);
    tray.SetVisible(true);
    tray.DoOnAnimate(&tray);
    tray.EndSession();
    tray.EndSession(); // the shell's answer is not looked at
}

QTEST_MAIN(TestSystemTrayShell)
#include "test_systemtrayshell.moc"
