// The ten settings through the real window: what start-up applies from the user's settings and "vrb.ini",
// what it does when they cannot be read, and what "E&xit" leaves behind.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "app/SettingsTable.h"
#include "dictionary/DictionaryTable.h"
#include "platform/SettingsKey.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <unistd.h>

namespace {

const QString kAdminText = QStringLiteral(
    "You must have administrator rights to do this operation or may be an operating system problem.");

// The settings key as it is kept on disk, from "name=value" lines.
QString keyText(const QString &lines)
{
    return QStringLiteral("[1.0.0.0]\n") + lines;
}

bool writeText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.toUtf8()) == text.toUtf8().size();
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

enum class ConfigFolder { Writable, UnderRegularFile, ReadOnlyParent, ReadOnlyKeyFolder, LockedKeyFile };

struct Setup
{
    QString key;                 // the settings file's whole text; null: no file
    QString ini;                 // "vrb.ini" beside the program; null: no file
    bool startHidden = false;
    ConfigFolder config = ConfigFolder::Writable;
};

// The real window over a small dictionary, started on the given stores, with message boxes recorded.
class SettingsWindow
{
public:
    explicit SettingsWindow(const Setup &setup)
    {
        m_oldDir = QDir::currentPath();
        qputenv("HOME", m_home.path().toUtf8());
        QString configHome = m_home.filePath(QStringLiteral("config"));
        if (setup.config == ConfigFolder::UnderRegularFile) {
            // A folder cannot be made under a plain file, whoever asks.
            writeText(m_home.filePath(QStringLiteral("blocker")), QStringLiteral("not a folder"));
            configHome = m_home.filePath(QStringLiteral("blocker/config"));
        } else if (setup.config == ConfigFolder::ReadOnlyParent) {
            QDir().mkpath(configHome);
            QFile::setPermissions(configHome, QFile::ReadOwner | QFile::ExeOwner);
            m_lockedDir = configHome;
        }
        m_configFolder = configHome;
        keyPath = SettingsKey::filePathFor(configHome, QLatin1String(settingsKeyPath));
        if (!setup.key.isNull())
            writeText(keyPath, setup.key);
        if (setup.config == ConfigFolder::ReadOnlyKeyFolder) {
            m_lockedDir = QFileInfo(keyPath).absolutePath();
            QFile::setPermissions(m_lockedDir, QFile::ReadOwner | QFile::ExeOwner);
        } else if (setup.config == ConfigFolder::LockedKeyFile) {
            QFile::setPermissions(keyPath, {});
        }
        if (!setup.ini.isNull())
            writeText(m_program.filePath(QStringLiteral("vrb.ini")), setup.ini);

        writeDictionary(m_work.filePath(QStringLiteral("data.dat")), sampleRows());
        QDir::setCurrent(m_work.path());
        Platform platform;
        platform.messages = MessageBoxes([this](MessageBoxes::Kind kind, const QString &caption, const QString &text) {
            boxes.append({kind, caption, text});
        });
        platform.configFolder = configHome;
        platform.clipboard = [this] { return &m_clipboard; };
        platform.speechRuntime = [log = m_speech] { return std::make_unique<FakeSpeechRuntime>(log); };
        platform.trayShell = &m_trayShell;
        FormEnvironment env;
        env.startHidden = setup.startHidden;
        env.programDir = m_program.path();
        app = std::make_unique<Application>();
        form = std::make_unique<TLexivoAppForm>(app.get(), platform, env);
    }

    ~SettingsWindow()
    {
        form.reset();
        app.reset();
        QDir::setCurrent(m_oldDir);
        if (!m_lockedDir.isEmpty())
            QFile::setPermissions(m_lockedDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString homePath() const { return m_home.path(); }
    QString configFolder() const { return m_configFolder; }
    bool checked(Command id) const { return form->action(id)->isChecked(); }
    bool staysOnTop() const
    {
        if (const QWindow *w = form->windowHandle())
            return w->flags().testFlag(Qt::WindowStaysOnTopHint);
        return form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    }

    std::unique_ptr<Application> app;
    std::unique_ptr<TLexivoAppForm> form;
    QList<ShownBox> boxes;
    QString keyPath;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_work;
    QTemporaryDir m_program;
    QString m_oldDir;
    QString m_lockedDir;
    QString m_configFolder;
    std::shared_ptr<FakeSpeechLog> m_speech = std::make_shared<FakeSpeechLog>();
    FakeTrayShell m_trayShell;
    FakeClipboard m_clipboard;
};

// What the window shows of the ten settings, in one comparable line.
QString viewState(const SettingsWindow &w)
{
    const TLexivoAppForm *f = w.form.get();
    QStringList parts;
    auto flag = [&](const char *name, bool on) { parts << QLatin1String(name) + QLatin1Char(on ? '+' : '-'); };
    flag("toolbar", !f->ControlBar1->isHidden() && w.checked(Command::ToolbarAction));
    flag("statusbar", !f->StatusBar->isHidden() && w.checked(Command::StatusBarAction));
    flag("explorer", !f->WordsListPanel1->isHidden() && !w.checked(Command::ShowHideLeftAction));
    flag("ontop", w.staysOnTop() && w.checked(Command::AoTAction1));
    flag("restore", w.checked(Command::AutoRestoreAction));
    flag("clip", w.checked(Command::CheckClipAction1));
    flag("sound", w.checked(Command::CheckClipSoundAction1));
    flag("timer", f->Timer1->isActive());
    parts << QStringLiteral("at %1,%2").arg(f->x()).arg(f->y());
    return parts.join(u' ');
}

} // namespace

class TestSettingsWindow : public QObject
{
    Q_OBJECT

private slots:
    void startUpState_data();
    void startUpState();
    void explorerStoredHiddenStartsNarrow();
    void windowStateAndStartHidden_data();
    void windowStateAndStartHidden();
    void unreadableKeyKeepsLayout_data();
    void unreadableKeyKeepsLayout();
    void failureStopsLaterSettings_data();
    void failureStopsLaterSettings();
    void exitWritesAllTenAndRestartRestores();
    void exitWithUnwritableKeyStillEnds();
    void whatCanBeReadIsApplied_data();
    void whatCanBeReadIsApplied();
    void titleBarBroughtOnScreen();
};

void TestSettingsWindow::startUpState_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first run: neither store")
        << QString() << QString()
        << "toolbar+ statusbar+ explorer+ ontop+ restore+ clip- sound+ timer+ at 0,0";
    // The user's value wins wherever it is not empty; the file fills the rest, and "yes" is not "Yes".
    QTest::newRow("key wins over vrb.ini")
        << keyText("ToolBar=No\nStatusBar=\nARA=Yes\nCheckClip=yes\nWindowLeft=70\nWinState=3\n")
        << "[View]\nToolBar=Yes\nStatusBar=No\n[Options]\nAoT=\nARA=No\nCheckClip=Yes\nCheckClipSound=No\n"
           "[Display]\nWindowTop=40\nWindowLeft=30\n"
        << "toolbar- statusbar- explorer+ ontop- restore+ clip- sound- timer- at 70,40";
    QTest::newRow("vrb.ini alone") << QString()
                                   << "[view]\ntoolbar = No\n[OPTIONS]\nAoT=\"No\"\nCheckClipSound=No\n[Display]\n"
                                      "WindowTop=20\nWindowLeft=15\n"
                                   << "toolbar- statusbar+ explorer+ ontop- restore+ clip- sound- timer- at 15,20";
    QTest::newRow("clip alone runs the timer")
        << keyText("CheckClip=Yes\nCheckClipSound=No\n") << QString()
        << "toolbar+ statusbar+ explorer+ ontop+ restore+ clip+ sound- timer+ at 0,0";
    QTest::newRow("both watch modes") << keyText("CheckClip=Yes\nCheckClipSound=Yes\n") << QString()
                                      << "toolbar+ statusbar+ explorer+ ontop+ restore+ clip+ sound+ timer+ at 0,0";
    QTest::newRow("no watch mode, no timer") << QString() << "[Options]\nCheckClip=No\nCheckClipSound=No\n"
                                             << "toolbar+ statusbar+ explorer+ ontop+ restore+ clip- sound- timer- at 0,0";
}

void TestSettingsWindow::startUpState()
{
    QFETCH(QString, key);
    QFETCH(QString, ini);
    QFETCH(QString, expected);
    SettingsWindow w({key, ini});
    QCOMPARE(viewState(w), expected);
    QCOMPARE(w.form->windowState(), Qt::WindowNoState);
    QVERIFY(w.boxes.isEmpty());
    // The shown explorer gets the command's texts of its state.
    QAction *toggle = w.form->action(Command::ShowHideLeftAction);
    QCOMPARE(toggle->text(), QStringLiteral("Hide Words Explorer"));
    QCOMPARE(toggle->property("hint").toString(), QStringLiteral("Hide Words Explorer|Hide Words Explorer"));
}

void TestSettingsWindow::explorerStoredHiddenStartsNarrow()
{
    for (const char *stored : {"No", "no", "0"}) {
        SettingsWindow w({keyText(QStringLiteral("WordsExplorer=%1\n").arg(QLatin1String(stored))), QString()});
        TLexivoAppForm *f = w.form.get();
        QVERIFY2(w.checked(Command::ShowHideLeftAction), stored);
        QCOMPARE(f->action(Command::ShowHideLeftAction)->text(), QStringLiteral("Show Words Explorer"));
        QCOMPARE(f->action(Command::ShowHideLeftAction)->property("imageIndex").toInt(), 34);
        QVERIFY(f->WordsListPanel1->isHidden());
        QVERIFY(f->DBGrid1->isHidden());
        QVERIFY(f->SEdit1->isHidden());
        QCOMPARE(f->RichEdit1->x(), 12);
        QCOMPARE(f->WordDBText1->x(), 20);
        QCOMPARE(f->DefSynLabel1->x(), 20);
        QCOMPARE(f->Shape2->x(), 9);
        QCOMPARE(f->RichEdit1->width(), 345);
        QCOMPARE(f->formWidth(), 345 + 24 + 8);
        for (Command id : {Command::EditCut1, Command::EditPaste1, Command::EditDelete1})
            QVERIFY(!f->action(id)->isVisible());

        // Showing the list from there gives the layout's window back.
        w.app->showForm();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QCOMPARE(f->formWidth(), 345 + 24 + 8);
        f->action(Command::ShowHideLeftAction)->trigger();
        QCOMPARE(f->formWidth(), 543);
        QCOMPARE(f->RichEdit1->geometry().left(), 176);
        QCOMPARE(f->RichEdit1->width(), 345);
        QVERIFY(w.boxes.isEmpty());
    }
}

void TestSettingsWindow::windowStateAndStartHidden_data()
{
    QTest::addColumn<bool>("startHidden");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("state");
    QTest::addColumn<QPoint>("pos");
    QTest::newRow("maximised") << false << keyText("WinState=2\nWindowTop=40\nWindowLeft=50\n")
                               << int(Qt::WindowMaximized) << QPoint(50, 40);
    QTest::newRow("minimised") << false << keyText("WinState=1\nWindowTop=40\nWindowLeft=50\n")
                               << int(Qt::WindowMinimized) << QPoint(50, 40);
    // With "/m" the window waits in the tray: the application is minimised, the stored state never read.
    QTest::newRow("/m skips the state, not the position")
        << true << keyText("WinState=2\nWindowTop=40\nWindowLeft=50\n") << int(Qt::WindowNoState) << QPoint(50, 40);
    QTest::newRow("/m with a bad state") << true << keyText("WinState=x\nWindowTop=3\nWindowLeft=7\n")
                                         << int(Qt::WindowNoState) << QPoint(7, 3);
}

void TestSettingsWindow::windowStateAndStartHidden()
{
    QFETCH(bool, startHidden);
    QFETCH(QString, key);
    QFETCH(int, state);
    QFETCH(QPoint, pos);
    Setup setup{key, QString()};
    setup.startHidden = startHidden;
    SettingsWindow w(setup);
    QCOMPARE(int(w.form->windowState()), state);
    QCOMPARE(w.form->pos(), pos);
    QVERIFY(w.boxes.isEmpty());
    if (startHidden) {
        QCOMPARE(w.form->table()->recNo(), 2);
        QVERIFY(!w.app->isAppWindowShown());
        QVERIFY(w.app->isMinimized());
    }
}

void TestSettingsWindow::unreadableKeyKeepsLayout_data()
{
    QTest::addColumn<int>("config");
    QTest::newRow("config folder under a plain file") << int(ConfigFolder::UnderRegularFile);
    QTest::newRow("config folder that cannot be made") << int(ConfigFolder::ReadOnlyParent);
}

void TestSettingsWindow::unreadableKeyKeepsLayout()
{
    QFETCH(int, config);
    if (config == int(ConfigFolder::ReadOnlyParent) && ::geteuid() == 0)
        QSKIP("the administrator may write anywhere");
    Setup setup{QString(), "[View]\nToolBar=No\n[Display]\nWindowLeft=5\n"};
    setup.config = ConfigFolder(config);
    SettingsWindow w(setup);
    QCOMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes.first().kind, MessageBoxes::Kind::Application);
    QCOMPARE(w.boxes.first().caption, QStringLiteral("Error..."));
    QVERIFY(w.boxes.first().text.startsWith(kAdminText + QStringLiteral("\n\n")));
    QVERIFY(w.boxes.first().text.endsWith(QStringLiteral("/Ostrand/Verbarium.conf")));
    // Not even vrb.ini is applied: the layout's values stand.
    QCOMPARE(viewState(w), QStringLiteral("toolbar+ statusbar+ explorer+ ontop- restore+ clip- sound- timer- at 225,316"));
    QAction *toggle = w.form->action(Command::ShowHideLeftAction);
    QCOMPARE(toggle->text(), QStringLiteral("Hide Words Explorer"));
    QCOMPARE(toggle->property("hint").toString(), QStringLiteral("Words Explorer|Shows or hides Words Explorer"));
    QCOMPARE(toggle->property("imageIndex").toInt(), 35);
    // Start-up went on: the dictionary is open.
    QVERIFY(w.form->table()->isOpen());
    QVERIFY(!w.form->startupFailed());
}

void TestSettingsWindow::failureStopsLaterSettings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    QTest::newRow("non-string value")
        << keyText("ToolBar=No\nAoT=@ByteArray(Yes)\nCheckClip=Yes\nWindowLeft=10\n") << "Invalid data type for 'AoT'"
        << "toolbar- statusbar+ explorer+ ontop- restore+ clip- sound- timer- at 225,316";
    QTest::newRow("a list is not a string")
        << keyText("StatusBar=\"No\", \"Yes\"\n") << "Invalid data type for 'StatusBar'"
        << "toolbar+ statusbar+ explorer+ ontop- restore+ clip- sound- timer- at 225,316";
    QTest::newRow("bad top leaves left unapplied")
        << keyText("ToolBar=No\nCheckClip=Yes\nWindowTop=x\nWindowLeft=10\n") << "'x' is not a valid integer value"
        << "toolbar- statusbar+ explorer+ ontop+ restore+ clip+ sound+ timer+ at 225,316";
    QTest::newRow("bad left after a good top")
        << keyText("WindowTop=12\nWindowLeft= 4 4\n") << "'4 4' is not a valid integer value"
        << "toolbar+ statusbar+ explorer+ ontop+ restore+ clip- sound+ timer+ at 225,12";
}

void TestSettingsWindow::failureStopsLaterSettings()
{
    QFETCH(QString, key);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    SettingsWindow w({key, QString()});
    QCOMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes.first().kind, MessageBoxes::Kind::Exception);
    QCOMPARE(w.boxes.first().caption, QStringLiteral("Verbarium"));
    QCOMPARE(w.boxes.first().text, message);
    QCOMPARE(viewState(w), expected);
    // The dictionary was opened before the settings: the program goes on.
    QVERIFY(!w.form->startupFailed());
}

void TestSettingsWindow::exitWritesAllTenAndRestartRestores()
{
    QString stored;
    {
        SettingsWindow w({QString(), QString()});
        TLexivoAppForm *f = w.form.get();
        w.app->showForm();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->action(Command::ShowHideLeftAction)->trigger();
        f->action(Command::ToolbarAction)->trigger();
        f->action(Command::AoTAction1)->trigger();
        // From the first run's speaking watch to the plain one, and no restore.
        f->action(Command::CheckClipAction1)->trigger();
        f->action(Command::AutoRestoreAction)->trigger();
        f->move(33, 44);
        QTRY_COMPARE(f->pos(), QPoint(33, 44));
        QVERIFY(!QFile::exists(w.keyPath));

        f->action(Command::FileExit1)->trigger();
        QVERIFY(w.app->terminated());
        QVERIFY(w.boxes.isEmpty());
        stored = readText(w.keyPath);
    }
    const QStringList expected = {
        "[1.0.0.0]", "WinState=0", "ToolBar=No", "StatusBar=Yes", "WordsExplorer=No", "WindowTop=44",
        "WindowLeft=33", "AoT=No", "ARA=No", "CheckClip=Yes", "CheckClipSound=No",
    };
    QCOMPARE(stored.split(u'\n', Qt::SkipEmptyParts), expected);

    // A new start on that file comes back as it was left.
    SettingsWindow again({stored, QString()});
    QCOMPARE(viewState(again), QStringLiteral("toolbar- statusbar+ explorer- ontop- restore- clip+ sound- timer+ at 33,44"));
    QCOMPARE(again.form->formWidth(), 345 + 24 + 8);
    QVERIFY(again.boxes.isEmpty());
}

void TestSettingsWindow::exitWithUnwritableKeyStillEnds()
{
    SettingsWindow w({keyText("ToolBar=No\n"), QString()});
    QVERIFY(w.boxes.isEmpty());
    const QString before = readText(w.keyPath);
    // The settings folder becomes unreachable while the program runs: a plain file takes its place.
    const QString moved = w.configFolder() + QStringLiteral(".moved");
    QVERIFY(QDir().rename(w.configFolder(), moved));
    QVERIFY(writeText(w.configFolder(), QStringLiteral("x")));
    w.form->action(Command::FileExit1)->trigger();
    QCOMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes.first().kind, MessageBoxes::Kind::Application);
    QCOMPARE(w.boxes.first().caption, QStringLiteral("Error..."));
    QCOMPARE(w.boxes.first().text, kAdminText + QStringLiteral("\n\n") + w.keyPath);
    QVERIFY(w.app->terminated());
    QCOMPARE(readText(QString(w.keyPath).replace(w.configFolder(), moved)), before);
}

void TestSettingsWindow::whatCanBeReadIsApplied_data()
{
    QTest::addColumn<int>("config");
    QTest::addColumn<bool>("saidAtStart");
    QTest::addColumn<QString>("view");
    // Locked (mode 000): said at start, vrb.ini and the defaults apply, and "E&xit" says nothing more.
    QTest::newRow("settings file with mode 000") << int(ConfigFolder::LockedKeyFile) << true
                                                 << "toolbar- statusbar+ explorer+ ontop+ restore+ clip- sound+ timer+ at 5,0";
    // Readable but not writable: the stored values apply, and "E&xit" says it cannot save.
    QTest::newRow("read-only settings folder") << int(ConfigFolder::ReadOnlyKeyFolder) << false
                                               << "toolbar- statusbar- explorer+ ontop+ restore+ clip- sound+ timer+ at 5,0";
}

void TestSettingsWindow::whatCanBeReadIsApplied()
{
    QFETCH(int, config);
    QFETCH(bool, saidAtStart);
    QFETCH(QString, view);
    if (config == int(ConfigFolder::ReadOnlyKeyFolder) && ::geteuid() == 0)
        QSKIP("the administrator may write anywhere");
    Setup setup{keyText("StatusBar=No\n"), "[View]\nToolBar=No\n[Display]\nWindowLeft=5\n"};
    setup.config = ConfigFolder(config);
    SettingsWindow w(setup);
    QCOMPARE(w.boxes.size(), saidAtStart ? 1 : 0);
    QCOMPARE(viewState(w), view);
    w.form->action(Command::FileExit1)->trigger();
    QVERIFY(w.app->terminated());
    QCOMPARE(w.boxes.size(), 1);
    QVERIFY(w.boxes.first().text.startsWith(kAdminText));
    QFile::setPermissions(w.keyPath, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(readText(w.keyPath), keyText("StatusBar=No\n"));
}

// The title bar is put back on the screen, however far off it was stored.
void TestSettingsWindow::titleBarBroughtOnScreen()
{
    SettingsWindow w({keyText(QStringLiteral("WindowTop=-340\nWindowLeft=20000\n")), QString()});
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(w.boxes.isEmpty());
    QCOMPARE(w.form->pos(), QPoint(screen.right() + 1 - w.form->frameGeometry().width(), screen.top()));
}

QTEST_MAIN(TestSettingsWindow)
#include "test_settings_window.moc"
