#include "FakeTrayShell.h"

#include "platform/Application.h"
#include "platform/ImageList.h"
#include "tray/TrayFrame.h"
#include "tray/Trayicon.h"

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(TTrayIconMessage)

namespace {

QIcon solidIcon(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// The messages a test feeds, by short name.
quint32 mouseMessage(const QString &name)
{
    static const QHash<QString, quint32> table{
        {"move", Win::WM_MOUSEMOVE},       {"ldown", Win::WM_LBUTTONDOWN},   {"lup", Win::WM_LBUTTONUP},
        {"ldbl", Win::WM_LBUTTONDBLCLK},   {"rdown", Win::WM_RBUTTONDOWN},   {"rup", Win::WM_RBUTTONUP},
        {"rdbl", Win::WM_RBUTTONDBLCLK},   {"mdown", Win::WM_MBUTTONDOWN},   {"mup", Win::WM_MBUTTONUP},
        {"mdbl", Win::WM_MBUTTONDBLCLK},   {"wheel", 0x020A},
    };
    return table.value(name);
}

const char *buttonName(TMouseButton b)
{
    return b == mbLeft ? "L" : b == mbRight ? "R" : "M";
}

} // namespace

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void creationValues();
    void streamDefaults();
    void hint_data();
    void hint();
    void hintWhileVisibleModifiesAtOnce();
    void visibleAddsAndRemoves();
    void refusals_data();
    void refusals();
    void animationCyclesThroughSixImages();
    void animateNeedsIcons();
    void watcherFramesWrap();
    void loaded();
    void iconIndexOutsideListKeepsIcon();
    void messageTable_data();
    void messageTable();
    void restoreAndMinimizeDriveApplication();
    void menuHandedToShell();
    void applicationHookProc_data();
    void applicationHookProc();
    void menuOpensAtCursor();
    void removedReferencesAreCleared();
    void sessionEnd();
    void destructionRemovesIconAndHook();

private:
    // Records the event steps of one component in the order they happen.
    void watch(TTrayIcon &tray);

    QTemporaryDir m_home;
    std::unique_ptr<Application> m_app;
    std::unique_ptr<FakeTrayShell> m_shell;
    std::unique_ptr<TTrayIcon> m_tray;
    QStringList m_log;
};

void TestTrayIcon::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
    QGuiApplication::setWindowIcon(solidIcon(Qt::red));
}

void TestTrayIcon::init()
{
    m_app = std::make_unique<Application>();
    m_shell = std::make_unique<FakeTrayShell>();
    m_tray = std::make_unique<TTrayIcon>(nullptr, m_app.get(), m_shell.get());
    m_tray->setInputSource([] { return QPoint(11, 22); }, [] { return Qt::KeyboardModifiers(Qt::ShiftModifier); });
    m_log.clear();
}

void TestTrayIcon::cleanup()
{
    m_tray.reset();
    m_shell.reset();
    m_app.reset();
}

void TestTrayIcon::watch(TTrayIcon &tray)
{
    const auto mouse = [this](const char *what) {
        return [this, what](QObject *, TMouseButton b, TShiftState s, int x, int y) {
            m_log << QString("%1:%2:%3:%4,%5").arg(what, buttonName(b)).arg(int(s)).arg(x).arg(y);
        };
    };
    tray.OnMouseDown = mouse("down");
    tray.OnMouseUp = mouse("up");
    tray.OnMouseMove = [this](QObject *, TShiftState s, int x, int y) {
        m_log << QString("move:%1:%2,%3").arg(int(s)).arg(x).arg(y);
    };
    tray.OnDblClick = [this](QObject *sender) {
        QVERIFY(sender == m_tray.get());
        m_log << "dbl";
    };
    tray.OnRestore = [this](QObject *) { m_log << "restore"; };
    tray.OnMinimize = [this](QObject *) { m_log << "minimize"; };
}

void TestTrayIcon::creationValues()
{
    TTrayIcon &t = *m_tray;
    QCOMPARE(t.Visible(), false);
    QCOMPARE(t.Hide(), true);
    QCOMPARE(t.Hint(), QString());
    QCOMPARE(t.IconIndex(), 0);
    QCOMPARE(t.RestoreOn(), imDoubleClick);
    QCOMPARE(t.PopupMenuOn(), imNone);
    QCOMPARE(t.GetAnimate(), false);
    QCOMPARE(t.GetAnimateInterval(), 1000);
    QVERIFY(!t.AnimationRunning());
    QVERIFY(!t.Icons());
    QVERIFY(!t.PopupMenu());
    QCOMPARE(t.Tag, 0);
    QVERIFY(t.OnAnimate);
    QVERIFY(!t.OnClick && !t.OnDblClick && !t.OnMinimize && !t.OnRestore);
    QVERIFY(!t.OnMouseDown && !t.OnMouseUp && !t.OnMouseMove);
    QCOMPARE(t.CurrentIcon().cacheKey(), QGuiApplication::windowIcon().cacheKey());

    const NotifyIconData &d = t.IconData();
    QCOMPARE(d.cbSize, 488u);
    QCOMPARE(d.uFlags, 3u);
    QCOMPARE(d.uCallbackMessage, 1025u);
    QVERIFY(d.hWnd == t.GetHandle());
    QVERIFY(d.hWnd);
    QVERIFY(d.szTip.isEmpty());
    TTrayIcon other(nullptr, m_app.get(), m_shell.get());
    QVERIFY(other.IconData().uID != d.uID);
    // Nothing reaches the shell before the icon is made visible.
    QVERIFY(m_shell->calls.isEmpty());
}

void TestTrayIcon::streamDefaults()
{
    constexpr TTrayIconStreamDefaults d = TTrayIcon::StreamDefaults;
    QCOMPARE(d.Visible, false);
    QCOMPARE(QString(d.Hint), QString());
    QCOMPARE(d.Hide, false);
    QCOMPARE(d.RestoreOn, imClick);
    QCOMPARE(d.PopupMenuOn, imClick);
    QCOMPARE(d.IconIndex, 0);
    QCOMPARE(d.AnimateInterval, 1000);
    QCOMPARE(d.Animate, false);
    // The byte enumeration keeps its order: a stored number maps to the same choice.
    QCOMPARE(sizeof(TTrayIconMessage), size_t(1));
    QCOMPARE(int(imClick), 0);
    QCOMPARE(int(imRightDoubleClick), 7);
    QCOMPARE(int(imNone), 8);
}

void TestTrayIcon::hint_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("tipFlag");

    const QString s63(63, 'a');
    const QString s64(64, 'b');
    QTest::newRow("63 taken") << "Verbarium" << s63 << s63 << true;
    QTest::newRow("64 ignored, old stays") << "Verbarium" << s64 << "Verbarium" << true;
    QTest::newRow("long first then empty") << s64 << QString() << QString() << false;
    QTest::newRow("empty drops the tip flag") << "Verbarium" << QString() << QString() << false;
}

void TestTrayIcon::hint()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, expected);
    QFETCH(bool, tipFlag);

    m_tray->SetHint(first);
    m_tray->SetHint(second);
    QCOMPARE(m_tray->Hint(), expected);
    QCOMPARE(m_tray->IconData().szTip, expected);
    const quint32 flags = m_tray->IconData().uFlags;
    QCOMPARE(bool(flags & Win::NIF_TIP), tipFlag);
    // The icon and its callback stay whatever happens to the tip.
    QCOMPARE(flags & 3u, 3u);
}

void TestTrayIcon::hintWhileVisibleModifiesAtOnce()
{
    m_tray->SetVisible(true);
    m_shell->calls.clear();
    m_tray->SetHint("Verbarium");
    m_tray->SetHint("Verbarium"); // unchanged: nothing to hand over
    m_tray->SetHint(QString(70, 'x'));
    QCOMPARE(m_shell->ops(), QStringList{"modify"});
    QCOMPARE(m_shell->calls[0].data.szTip, QString("Verbarium"));
    QCOMPARE(m_shell->calls[0].data.uFlags, 7u);
}

void TestTrayIcon::visibleAddsAndRemoves()
{
    watch(*m_tray);
    m_tray->SetHide(false);
    m_tray->SetVisible(true);
    QCOMPARE(m_shell->ops(), QStringList{"add"});
    QCOMPARE(m_shell->calls[0].data.uID, m_tray->IconData().uID);
    QVERIFY(m_tray->Visible());
    QVERIFY(m_tray->Hide());

    // The hook is in place: the application's minimise command runs Minimize().
    m_app->systemCommand(Application::SystemCommand::Minimize);
    QCOMPARE(m_log, QStringList{"minimize"});
    QVERIFY(m_app->isMinimized());
    QVERIFY(!m_app->isAppWindowShown());

    m_tray->SetVisible(true); // already there: no second icon, no second hook
    m_tray->SetVisible(false);
    QCOMPARE(m_shell->ops(), (QStringList{"add", "remove"}));
    QVERIFY(!m_tray->Visible());
    QVERIFY(!m_tray->Hide());
    m_log.clear();
    m_app->systemCommand(Application::SystemCommand::Restore);
    QVERIFY(m_log.isEmpty());

    // Back and forth adds and removes each time.
    m_tray->SetVisible(true);
    m_tray->SetVisible(false);
    QCOMPARE(m_shell->ops(), (QStringList{"add", "remove", "add", "remove"}));
}

void TestTrayIcon::refusals_data()
{
    QTest::addColumn<bool>("refuseAdd");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("visibleAfter");
    QTest::addColumn<bool>("hooked");

    QTest::newRow("add refused") << true << "Cannot Create System Shell Notification Icon" << false << false;
    QTest::newRow("remove refused") << false << "Cannot Remove System Shell Notification Icon" << true << true;
}

void TestTrayIcon::refusals()
{
    QFETCH(bool, refuseAdd);
    QFETCH(QString, error);
    QFETCH(bool, visibleAfter);
    QFETCH(bool, hooked);

    watch(*m_tray);
    m_shell->refuseAdd = refuseAdd;
    m_shell->refuseRemove = !refuseAdd;
    if (!refuseAdd)
        m_tray->SetVisible(true);
    try {
        m_tray->SetVisible(!refuseAdd ? false : true);
        QFAIL("no error raised");
    } catch (const EOutOfResources &e) {
        QCOMPARE(e.message(), error);
    }
    // Visible keeps telling whether the icon is in the notification area.
    QCOMPARE(m_tray->Visible(), visibleAfter);
    QCOMPARE(m_tray->Hide(), true);
    m_app->systemCommand(Application::SystemCommand::Minimize);
    QCOMPARE(m_log.contains("minimize"), hooked);

    // Once the shell takes it, the same step succeeds.
    m_shell->refuseAdd = m_shell->refuseRemove = false;
    m_tray->SetVisible(!visibleAfter);
    QCOMPARE(m_tray->Visible(), !visibleAfter);
}

void TestTrayIcon::animationCyclesThroughSixImages()
{
    ImageList images(QSize(16, 16));
    const QList<QColor> colors{Qt::black, Qt::white, Qt::green, Qt::blue, Qt::cyan, Qt::magenta};
    for (const QColor &c : colors)
        images.add(solidIcon(c));
    m_tray->SetIcons(&images);
    m_tray->SetVisible(true);
    m_tray->SetAnimate(true);
    QVERIFY(m_tray->GetAnimate());
    QVERIFY(m_tray->AnimationRunning());
    m_tray->SetAnimateInterval(100);
    QCOMPARE(m_tray->GetAnimateInterval(), 100);

    m_tray->SetIconIndex(0);
    QList<int> shown{m_tray->IconIndex()};
    for (int i = 0; i < 7; ++i) {
        m_shell->calls.clear();
        m_tray->DoOnAnimate(m_tray.get());
        shown << m_tray->IconIndex();
        const qint64 expected = images.icon(m_tray->IconIndex()).cacheKey();
        QCOMPARE(m_tray->CurrentIcon().cacheKey(), expected);
        QVERIFY(!m_shell->calls.isEmpty());
        QCOMPARE(m_shell->calls.last().op, QString("modify"));
        QCOMPARE(m_shell->calls.last().data.hIcon.cacheKey(), expected);
    }
    QCOMPARE(shown, (QList<int>{0, 1, 2, 3, 4, 5, 0, 1}));

    // Replacing OnAnimate does not take the timer's step away.
    m_tray->OnAnimate = nullptr;
    m_tray->SetAnimateInterval(1);
    QTRY_VERIFY(m_tray->IconIndex() != 1);

    m_tray->SetAnimate(false);
    QVERIFY(!m_tray->AnimationRunning());
    m_tray->SetIcons(nullptr);
}

void TestTrayIcon::animateNeedsIcons()
{
    m_tray->SetAnimate(true);
    QVERIFY(!m_tray->GetAnimate());
    QVERIFY(!m_tray->AnimationRunning());
    // With no images the tick does nothing.
    m_tray->DoOnAnimate(m_tray.get());
    QCOMPARE(m_tray->IconIndex(), 0);

    // While a form streams the component in, the value is kept until Loaded() decides.
    m_tray->BeginLoad();
    m_tray->SetAnimate(true);
    QVERIFY(m_tray->GetAnimate());
    m_tray->Loaded();
    QVERIFY(!m_tray->GetAnimate());
    QVERIFY(!m_tray->AnimationRunning());
}

void TestTrayIcon::watcherFramesWrap()
{
    int tag = 0;
    QList<int> shown;
    const auto show = [&](int i) { shown << i; };
    for (int i = 0; i < 8; ++i)
        advanceTrayFrame(tag, show);
    QCOMPARE(shown, (QList<int>{0, 1, 2, 3, 4, 5, 0, 1}));
    QCOMPARE(tag, 2);

    for (int odd : {-1, 6, 99}) {
        tag = odd;
        shown.clear();
        advanceTrayFrame(tag, show);
        QVERIFY(shown.isEmpty());
        QCOMPARE(tag, odd);
    }
}

void TestTrayIcon::loaded()
{
    ImageList images(QSize(16, 16));
    for (const Qt::GlobalColor c : {Qt::black, Qt::white, Qt::green})
        images.add(solidIcon(c));
    m_tray->SetVisible(true);
    m_tray->BeginLoad();
    m_tray->SetIcons(&images);
    m_tray->SetAnimate(true);
    m_tray->SetIconIndex(1);
    m_tray->SetIcons(nullptr);
    m_tray->SetIcons(&images);
    m_shell->calls.clear();
    m_tray->Loaded();
    QVERIFY(m_tray->AnimationRunning());
    QCOMPARE(m_tray->CurrentIcon().cacheKey(), images.icon(1).cacheKey());
    QCOMPARE(m_shell->ops(), QStringList{"modify"});

    m_tray->SetDefaultIcon();
    QCOMPARE(m_tray->CurrentIcon().cacheKey(), QGuiApplication::windowIcon().cacheKey());
    QCOMPARE(m_shell->calls.last().data.hIcon.cacheKey(), QGuiApplication::windowIcon().cacheKey());
    m_tray->SetIcons(nullptr);
}

void TestTrayIcon::iconIndexOutsideListKeepsIcon()
{
    ImageList images(QSize(16, 16));
    images.add(solidIcon(Qt::black));
    images.add(solidIcon(Qt::white));
    m_tray->SetIcons(&images);
    m_tray->SetIconIndex(1);
    m_tray->SetIconIndex(9);
    QCOMPARE(m_tray->IconIndex(), 9);
    QCOMPARE(m_tray->CurrentIcon().cacheKey(), images.icon(1).cacheKey());
    // The tick brings an index past the end back to the first image.
    m_tray->DoOnAnimate(m_tray.get());
    QCOMPARE(m_tray->IconIndex(), 0);
    m_tray->SetIcons(nullptr);
}

void TestTrayIcon::messageTable_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("withOnClick");
    QTest::addColumn<TTrayIconMessage>("restoreOn");
    QTest::addColumn<TTrayIconMessage>("popupMenuOn");
    QTest::addColumn<QStringList>("expected");

    // Shift state numbers: Shift 1 (held in every row), left 8, right 16, middle 32.
    const auto row = [](const char *name, QStringList msgs, bool click, TTrayIconMessage r, TTrayIconMessage p,
                        QStringList expected) { QTest::newRow(name) << msgs << click << r << p << expected; };
    const QStringList none;

    row("move needs OnClick", {"move"}, false, imNone, imNone, none);
    row("move with OnClick", {"move"}, true, imNone, imNone, {"move:1:11,22"});
    row("left down", {"ldown"}, false, imNone, imNone, {"down:L:9:11,22"});
    row("left up", {"lup"}, false, imNone, imNone, {"up:L:9:11,22"});
    row("left up with OnClick", {"lup"}, true, imNone, imNone, {"click", "up:L:9:11,22"});
    row("left double", {"ldbl"}, false, imNone, imNone, {"dbl"});
    row("right down", {"rdown"}, false, imNone, imNone, {"down:R:17:11,22"});
    row("right up", {"rup"}, false, imNone, imNone, {"up:R:17:11,22"});
    row("right double", {"rdbl"}, false, imNone, imNone, {"dbl"});
    row("middle down", {"mdown"}, false, imNone, imNone, {"down:M:33:11,22"});
    row("middle up", {"mup"}, false, imNone, imNone, {"up:M:33:11,22"});
    row("middle double", {"mdbl"}, false, imNone, imNone, {"dbl"});
    row("wheel ignored", {"wheel"}, true, imMouseUp, imMouseDown, none);

    row("click choice needs OnClick", {"lup"}, false, imClick, imClick, {"up:L:9:11,22"});
    row("click choice", {"lup"}, true, imClick, imClick, {"restore", "menu", "click", "up:L:9:11,22"});
    row("double click, any button", {"mdbl"}, false, imDoubleClick, imDoubleClick, {"restore", "menu", "dbl"});
    row("left click up", {"lup", "rup"}, true, imLeftClickUp, imNone,
        {"click", "up:L:9:11,22", "restore", "up:R:17:11,22"});
    row("right click up opens menu", {"lup", "rdown", "rup"}, false, imDoubleClick, imRightClickUp,
        {"up:L:9:11,22", "down:R:17:11,22", "up:R:17:11,22", "menu"});
    row("general before specific", {"rup"}, false, imMouseUp, imRightClickUp, {"restore", "up:R:17:11,22", "menu"});
    row("mouse down any button", {"mdown", "ldown"}, false, imMouseDown, imNone,
        {"restore", "down:M:33:11,22", "restore", "down:L:9:11,22"});
    row("left double only", {"rdbl", "ldbl"}, false, imLeftDoubleClick, imNone, {"dbl", "dbl", "restore"});
    row("right double only", {"ldbl", "rdbl"}, false, imNone, imRightDoubleClick, {"dbl", "dbl", "menu"});
    row("middle double has no button choice", {"mdbl"}, false, imLeftDoubleClick, imRightDoubleClick, {"dbl"});
    row("a double click as the shell sends it", {"ldown", "lup", "ldbl", "lup"}, false, imDoubleClick, imNone,
        {"down:L:9:11,22", "up:L:9:11,22", "restore", "dbl", "up:L:9:11,22"});
}

void TestTrayIcon::messageTable()
{
    QFETCH(QStringList, messages);
    QFETCH(bool, withOnClick);
    QFETCH(TTrayIconMessage, restoreOn);
    QFETCH(TTrayIconMessage, popupMenuOn);
    QFETCH(QStringList, expected);

    QMenu menu;
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu] {
        m_log << "menu";
        QTimer::singleShot(0, &menu, &QMenu::close);
    });
    watch(*m_tray);
    if (withOnClick)
        m_tray->OnClick = [this](QObject *) { m_log << "click"; };
    m_tray->SetRestoreOn(restoreOn);
    m_tray->SetPopupMenuOn(popupMenuOn);
    m_tray->SetPopupMenu(&menu);

    const quintptr id = m_tray->IconData().uID;
    for (const QString &name : messages) {
        const quint32 mouse = mouseMessage(name);
        QVERIFY(mouse != 0);
        QCOMPARE(m_tray->GetHandle()->send(1025, id, qintptr(mouse)), qintptr(0));
    }
    QCOMPARE(m_log, expected);

    // The same mouse message under another number is not the icon's callback.
    m_log.clear();
    m_tray->GetHandle()->send(1026, id, qintptr(Win::WM_LBUTTONDBLCLK));
    QVERIFY(m_log.isEmpty());
    m_tray->SetPopupMenu(nullptr);
}

void TestTrayIcon::restoreAndMinimizeDriveApplication()
{
    watch(*m_tray);
    m_tray->SetVisible(true);
    m_tray->Minimize();
    QVERIFY(m_app->isMinimized());
    QVERIFY(!m_app->isAppWindowShown());
    m_tray->GetHandle()->send(1025, 0, qintptr(Win::WM_LBUTTONDBLCLK));
    QVERIFY(!m_app->isMinimized());
    QVERIFY(m_app->isAppWindowShown());
    QCOMPARE(m_log, (QStringList{"minimize", "restore", "dbl"}));

    // With no notification area to come back through, or no icon in it, the taskbar entry stays.
    m_shell->notificationArea = false;
    QVERIFY(!m_tray->InNotificationArea());
    m_tray->Minimize();
    QVERIFY(m_app->isMinimized());
    QVERIFY(m_app->isAppWindowShown());
    m_app->restore();
    m_shell->notificationArea = true;
    m_tray->SetVisible(false);
    m_tray->Minimize();
    QVERIFY(m_app->isAppWindowShown());
}

// A desktop that opens icons' menus itself is handed the menu while the mouse is meant to open one.
void TestTrayIcon::menuHandedToShell()
{
    const auto handed = [this] { return m_shell->menus.isEmpty() ? nullptr : m_shell->menus.last(); };
    auto *menu = new QMenu;
    m_tray->SetPopupMenu(menu);
    m_tray->SetPopupMenuOn(imRightClickUp);
    QVERIFY(m_shell->menus.isEmpty()); // nothing goes to the shell before the icon is there
    m_tray->SetVisible(true);
    QCOMPARE(handed(), menu);
    m_tray->SetPopupMenuOn(imNone);
    QVERIFY(!handed());
    m_tray->SetPopupMenuOn(imRightClickUp);
    QCOMPARE(handed(), menu);
    delete menu;
    QVERIFY(!handed());
}

void TestTrayIcon::applicationHookProc_data()
{
    QTest::addColumn<quint32>("msg");
    QTest::addColumn<quintptr>("command");
    QTest::addColumn<QString>("expected");

    QTest::newRow("minimise") << Win::WM_SYSCOMMAND << Win::SC_MINIMIZE << "minimize";
    QTest::newRow("restore") << Win::WM_SYSCOMMAND << Win::SC_RESTORE << "restore";
    QTest::newRow("minimise with extra bits") << Win::WM_SYSCOMMAND << (Win::SC_MINIMIZE | 2) << "";
    QTest::newRow("maximise") << Win::WM_SYSCOMMAND << quintptr(0xF030) << "";
    QTest::newRow("other message") << Win::WM_LBUTTONUP << Win::SC_MINIMIZE << "";
}

void TestTrayIcon::applicationHookProc()
{
    QFETCH(quint32, msg);
    QFETCH(quintptr, command);
    QFETCH(QString, expected);

    watch(*m_tray);
    TMessage message{msg, command, 0, 0};
    QCOMPARE(m_tray->ApplicationHookProc(message), false);
    QCOMPARE(m_log.join(','), expected);
}

void TestTrayIcon::menuOpensAtCursor()
{
    QMenu menu;
    menu.addAction("&Restore");
    QPoint cursor(40, 50);
    m_tray->setInputSource([&cursor] { return cursor; }, [] { return Qt::KeyboardModifiers(); });
    m_tray->SetPopupMenu(&menu);
    m_tray->SetPopupMenuOn(imRightClickUp);
    const quintptr id = m_tray->IconData().uID;

    m_tray->GetHandle()->send(1025, id, qintptr(Win::WM_RBUTTONDOWN));
    QVERIFY(!menu.isVisible());
    cursor = QPoint(120, 90); // where the cursor is on release counts
    m_tray->GetHandle()->send(1025, id, qintptr(Win::WM_RBUTTONUP));
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.pos(), QPoint(120, 90));
    menu.close();
    m_tray->SetPopupMenu(nullptr);
}

void TestTrayIcon::removedReferencesAreCleared()
{
    auto *menu = new QMenu;
    auto *images = new ImageList(QSize(16, 16));
    images->add(solidIcon(Qt::black));
    images->add(solidIcon(Qt::white));
    m_tray->SetPopupMenu(menu);
    m_tray->SetIcons(images);
    m_tray->SetPopupMenuOn(imRightClickUp);
    m_tray->SetAnimate(true);

    delete menu;
    delete images;
    QVERIFY(!m_tray->PopupMenu());
    QVERIFY(!m_tray->Icons());
    // Later menu actions and ticks do nothing and do not touch the freed objects.
    m_tray->GetHandle()->send(1025, 0, qintptr(Win::WM_RBUTTONUP));
    const qint64 before = m_tray->CurrentIcon().cacheKey();
    m_tray->DoOnAnimate(m_tray.get());
    m_tray->SetIconIndex(1);
    QCOMPARE(m_tray->CurrentIcon().cacheKey(), before);

    // A reference replaced before its object goes is not cleared by that object's end.
    QMenu first;
    {
        QMenu second;
        m_tray->SetPopupMenu(&second);
        m_tray->SetPopupMenu(&first);
    }
    QCOMPARE(m_tray->PopupMenu(), &first);
    m_tray->SetPopupMenu(nullptr);
}

void TestTrayIcon::sessionEnd()
{
    m_tray->SetVisible(true);
    m_shell->calls.clear();
    QCOMPARE(m_tray->GetHandle()->send(Win::WM_QUERYENDSESSION), qintptr(1));
    QVERIFY(m_shell->calls.isEmpty());
    // A logout that another program cancelled leaves the icon in place.
    QCOMPARE(m_tray->GetHandle()->send(Win::WM_ENDSESSION, 0), qintptr(0));
    QVERIFY(m_shell->calls.isEmpty());
    QCOMPARE(m_tray->GetHandle()->send(Win::WM_ENDSESSION, 1), qintptr(0));
    QCOMPARE(m_shell->ops(), QStringList{"remove"});
    QCOMPARE(m_shell->calls[0].data.uID, m_tray->IconData().uID);
    // Any other message is answered 0.
    QCOMPARE(m_tray->GetHandle()->send(Win::WM_SYSCOMMAND, Win::SC_MINIMIZE), qintptr(0));
}

void TestTrayIcon::destructionRemovesIconAndHook()
{
    m_tray->SetVisible(true);
    const quintptr id = m_tray->IconData().uID;
    m_shell->calls.clear();
    m_tray.reset();
    QCOMPARE(m_shell->ops(), QStringList{"remove"});
    QCOMPARE(m_shell->calls[0].data.uID, id);
    // No hook left behind that would call into the freed component.
    m_app->systemCommand(Application::SystemCommand::Minimize);
    QVERIFY(m_app->isAppWindowShown());
}

QTEST_MAIN(TestTrayIcon)
#include "test_trayicon.moc"
