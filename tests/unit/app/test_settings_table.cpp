#include "app/SettingsTable.h"
#include "platform/AppError.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsKey.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What applySettings did, in the order it did it.
struct Applied
{
    QStringList calls;
    SettingsTargets targets()
    {
        SettingsTargets t;
        const auto flag = [this](const char *name) {
            return [this, name](bool on) { calls << QStringLiteral("%1=%2").arg(QLatin1StringView(name), switchText(on)); };
        };
        t.toolBar = flag("ToolBar");
        t.statusBar = flag("StatusBar");
        t.wordsExplorer = flag("WordsExplorer");
        t.alwaysOnTop = flag("AoT");
        t.autoRestore = flag("ARA");
        t.checkClip = flag("CheckClip");
        t.checkClipSound = flag("CheckClipSound");
        t.clipboardTimer = flag("Timer1");
        t.windowState = [this](Qt::WindowState s) { calls << QStringLiteral("WinState=%1").arg(windowStateText(s)); };
        t.startHidden = [this] { calls << QStringLiteral("hidden"); };
        t.windowTop = [this](int v) { calls << QStringLiteral("WindowTop=%1").arg(v); };
        t.windowLeft = [this](int v) { calls << QStringLiteral("WindowLeft=%1").arg(v); };
        return t;
    }
};

QString appError(const std::function<void()> &f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class TestSettingsTable final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString iniPath() const { return m_dir->filePath(QStringLiteral("vrb.ini")); }

    void writeIni(const QByteArray &content)
    {
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

    // Writes the raw lines of the key's group, as a user editing the file would.
    QString configFolder() const { return m_dir->filePath(QStringLiteral("config")); }

    void writeKey(const QByteArray &lines)
    {
        const QString path = SettingsKey::filePathFor(configFolder(), QLatin1StringView(settingsKeyPath));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[1.0.0.0]\n" + lines);
    }

    std::unique_ptr<SettingsKey> openKey()
    {
        return SettingsKey::openOrCreate(configFolder(), QLatin1StringView(settingsKeyPath));
    }

    QStringList applied(bool startHidden = false)
    {
        Applied a;
        const auto key = openKey();
        applySettings(key.get(), ProfileFile(iniPath()), startHidden, a.targets());
        return a.calls;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void tableIsConsistent()
    {
        QStringList names;
        for (const SettingDef &d : settingDefs()) {
            names << QLatin1StringView(d.name);
            QCOMPARE(findSetting(QString::fromLatin1(d.name)), &d);
        }
        QStringList saved;
        for (const char *name : settingsSaveOrder())
            saved << QLatin1StringView(name);
        QCOMPARE(saved.size(), names.size());
        for (const QString &n : names)
            QVERIFY2(saved.contains(n), qPrintable(n));
        QVERIFY(!findSetting(u"toolbar"));
    }

    void twoTierRead_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");

        QTest::newRow("key wins") << QByteArray("ToolBar=No\n") << QByteArray("[View]\nToolBar=Yes\n") << "ToolBar"
                                  << "No";
        QTest::newRow("empty key value defers") << QByteArray("ToolBar=\n") << QByteArray("[View]\nToolBar=No\n")
                                                << "ToolBar" << "No";
        QTest::newRow("quoted empty key value defers") << QByteArray("ToolBar=\"\"\n")
                                                       << QByteArray("[View]\nToolBar=No\n") << "ToolBar" << "No";
        QTest::newRow("file fills the gap") << QByteArray("StatusBar=No\n") << QByteArray("[View]\nToolBar=No\n")
                                            << "ToolBar" << "No";
        QTest::newRow("empty file value stays empty") << QByteArray() << QByteArray("[Options]\nAoT=\n") << "AoT"
                                                      << "";
        QTest::newRow("file key in the wrong section") << QByteArray() << QByteArray("[View]\nAoT=No\n") << "AoT"
                                                       << "Yes";
        QTest::newRow("neither: file default") << QByteArray() << QByteArray() << "CheckClip" << "No";
        QTest::newRow("key value not trimmed to empty") << QByteArray("WindowTop=\"  \"\n")
                                                        << QByteArray("[Display]\nWindowTop=5\n") << "WindowTop"
                                                        << "  ";
        QTest::newRow("names ignore case in both") << QByteArray("windowleft=-30\n")
                                                   << QByteArray("[display]\nwindowleft=7\n") << "WindowLeft"
                                                   << "-30";
    }

    void twoTierRead()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, ini);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        writeKey(key);
        if (!ini.isEmpty())
            writeIni(ini);
        const auto k = openKey();
        QVERIFY(k);
        QCOMPARE(readSetting(k.get(), ProfileFile(iniPath()), *findSetting(name)), expected);
    }

    void interpretation()
    {
        QVERIFY(switchOn(QStringLiteral("Yes")));
        for (const char *off : {"yes", "YES", "", " Yes", "No", "1", "true"})
            QVERIFY2(!switchOn(QString::fromLatin1(off)), off);

        QCOMPARE(windowStateFrom(QStringLiteral("0")).value_or(Qt::WindowActive), Qt::WindowNoState);
        QCOMPARE(windowStateFrom(QStringLiteral("1")).value_or(Qt::WindowActive), Qt::WindowMinimized);
        QCOMPARE(windowStateFrom(QStringLiteral("2")).value_or(Qt::WindowActive), Qt::WindowMaximized);
        for (const char *other : {"3", "", "00", " 1", "-1", "Yes"})
            QVERIFY2(!windowStateFrom(QString::fromLatin1(other)), other);
        QCOMPARE(windowStateText(Qt::WindowMinimized | Qt::WindowMaximized), QStringLiteral("1"));
        QCOMPARE(windowStateText(Qt::WindowMaximized), QStringLiteral("2"));
        QCOMPARE(windowStateText(Qt::WindowFullScreen), QStringLiteral("0"));
    }

    void positions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("zero") << "0" << "0";
        QTest::newRow("negative") << "-1200" << "-1200";
        QTest::newRow("plus sign") << "+7" << "7";
        QTest::newRow("leading zeros") << "007" << "7";
        QTest::newRow("largest") << "2147483647" << "2147483647";
        QTest::newRow("smallest") << "-2147483648" << "-2147483648";
        const QString bad = QStringLiteral("'%1' is not a valid integer value");
        for (const char *text : {"", " 5", "5 ", "1.5", "0x10", "$10", "12px", "2147483648", "-", "+", "+-5", "1e3"})
            QTest::newRow(text) << QString::fromLatin1(text) << bad.arg(QLatin1StringView(text));
        QTest::newRow("arabic digits") << QStringLiteral("\u0661\u0662") << bad.arg(QStringLiteral("\u0661\u0662"));
    }

    void positions()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QString got;
        const QString error = appError([&] { got = QString::number(positionFrom(text)); });
        QCOMPARE(got.isEmpty() ? error : got, result);
    }

    void firstRunWithNeitherStore()
    {
        QCOMPARE(applied(), QStringList({"ToolBar=Yes", "StatusBar=Yes", "WordsExplorer=Yes", "AoT=Yes", "ARA=Yes",
                                         "CheckClip=No", "CheckClipSound=Yes", "Timer1=Yes", "WinState=0",
                                         "WindowTop=0", "WindowLeft=0"}));
    }

    void mixedStores()
    {
        writeKey("ToolBar=No\nAoT=yes\nWinState=3\nWindowTop=-20\n");
        writeIni("[View]\nToolBar=Yes\nStatusBar=No\n[Options]\nCheckClip=Yes\nCheckClipSound=No\n"
                 "[Display]\nWindowLeft=1700\nWinState=2\n");
        QCOMPARE(applied(), QStringList({"ToolBar=No", "StatusBar=No", "WordsExplorer=Yes", "AoT=No", "ARA=Yes",
                                         "CheckClip=Yes", "CheckClipSound=No", "Timer1=Yes", "WindowTop=-20",
                                         "WindowLeft=1700"}));
    }

    void clipboardTimer_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("running");
        QTest::newRow("both off") << QByteArray("CheckClip=No\nCheckClipSound=No\n") << false;
        QTest::newRow("look up only") << QByteArray("CheckClip=Yes\nCheckClipSound=No\n") << true;
        QTest::newRow("sound only") << QByteArray("CheckClip=No\nCheckClipSound=Yes\n") << true;
        QTest::newRow("both") << QByteArray("CheckClip=Yes\nCheckClipSound=Yes\n") << true;
        QTest::newRow("lower case is off") << QByteArray("CheckClip=yes\nCheckClipSound=YES\n") << false;
    }

    void clipboardTimer()
    {
        QFETCH(QByteArray, key);
        QFETCH(bool, running);
        writeKey(key);
        QVERIFY(applied().contains(running ? "Timer1=Yes" : "Timer1=No"));
    }

    void startHiddenSkipsWinState()
    {
        // Not even read: a value that would fail to read must not stop the start.
        writeKey("WinState=@ByteArray(1)\nWindowTop=30\nWindowLeft=-8\n");
        const QStringList calls = applied(true);
        QCOMPARE(calls.mid(8), QStringList({"hidden", "WindowTop=30", "WindowLeft=-8"}));
        QVERIFY(appError([this] { applied(false); }).contains(u"Invalid data type for 'WinState'"));
    }

    void failuresStopTheRest_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("lastApplied");
        QTest::newRow("bad top") << QByteArray("WindowTop=12px\nWindowLeft=40\n")
                                 << "'12px' is not a valid integer value" << "WinState=0";
        QTest::newRow("bad left") << QByteArray("WindowTop=5\nWindowLeft=1.5\n") << "'1.5' is not a valid integer value"
                                  << "WindowTop=5";
        QTest::newRow("not a string") << QByteArray("StatusBar=\"a\", \"b\"\n")
                                      << "Invalid data type for 'StatusBar'" << "ToolBar=Yes";
    }

    void failuresStopTheRest()
    {
        QFETCH(QByteArray, key);
        QFETCH(QString, message);
        QFETCH(QString, lastApplied);
        writeKey(key);
        Applied a;
        const auto k = openKey();
        QCOMPARE(appError([&] { applySettings(k.get(), ProfileFile(iniPath()), false, a.targets()); }), message);
        QCOMPARE(a.calls.last(), lastApplied);
    }

    void emptyFileValueGivesBadPosition()
    {
        writeIni("[Display]\nWindowTop=\n");
        QCOMPARE(appError([this] { applied(); }), QStringLiteral("'' is not a valid integer value"));
    }

    void saveWritesAllTen()
    {
        writeKey("ToolBar=\nCheckClip=maybe\n");
        SavedValues v;
        v.windowState = Qt::WindowMaximized;
        v.toolBar = false;
        v.wordsExplorer = false;
        v.windowTop = -16;
        v.windowLeft = 2100;
        v.alwaysOnTop = true;
        v.checkClip = true;
        {
            auto key = openKey();
            QVERIFY(saveSettings(*key, v));
        }
        QFile f(SettingsKey::filePathFor(configFolder(), QLatin1StringView(settingsKeyPath)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines, QStringList({"[1.0.0.0]", "ToolBar=No", "CheckClip=Yes", "WinState=2", "StatusBar=Yes",
                                     "WordsExplorer=No", "WindowTop=-16", "WindowLeft=2100", "AoT=Yes", "ARA=Yes",
                                     "CheckClipSound=No"}));
        static const QRegularExpression stored(QStringLiteral("^[A-Za-z]+=(Yes|No|-?[0-9]+)$"));
        for (const QString &line : lines.mid(1))
            QVERIFY2(stored.match(line).hasMatch(), qPrintable(line));

        // What was saved is what the next start applies, whatever the settings file says.
        writeIni("[View]\nToolBar=Yes\nWordsExplorer=Yes\n[Options]\nAoT=No\n");
        QCOMPARE(applied(), QStringList({"ToolBar=No", "StatusBar=Yes", "WordsExplorer=No", "AoT=Yes", "ARA=Yes",
                                         "CheckClip=Yes", "CheckClipSound=No", "Timer1=Yes", "WinState=2",
                                         "WindowTop=-16", "WindowLeft=2100"}));
    }

    void saveOrder()
    {
        SavedValues v;
        v.windowState = Qt::WindowMinimized;
        v.checkClipSound = true;
        const auto entries = savedEntries(v);
        QStringList got;
        for (const auto &[name, text] : entries)
            got << name + u'=' + text;
        QCOMPARE(got, QStringList({"WinState=1", "ToolBar=Yes", "StatusBar=Yes", "WordsExplorer=Yes", "WindowTop=0",
                                   "WindowLeft=0", "AoT=No", "ARA=Yes", "CheckClip=No", "CheckClipSound=Yes"}));
    }

    void shippedFile()
    {
        const ProfileFile shipped(QStringLiteral(VB_SHIPPED_INI));
        QFile raw(QStringLiteral(VB_SHIPPED_INI));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        // Every key it holds belongs to the table and sits in the table's section.
        QString section;
        for (const QString &line : QString::fromUtf8(raw.readAll()).split(u'\n')) {
            if (line.startsWith(u'['))
                section = line.mid(1, line.indexOf(u']') - 1);
            else if (const qsizetype eq = line.indexOf(u'='); eq > 0 && !line.startsWith(u';')) {
                const SettingDef *d = findSetting(line.left(eq));
                QVERIFY2(d, qPrintable(line));
                QCOMPARE(section, QLatin1StringView(d->section));
            }
        }
        QCOMPARE(QFileInfo(QStringLiteral(VB_SHIPPED_INI)).fileName(), QLatin1StringView(settingsFileName));

        Applied a;
        applySettings(nullptr, shipped, false, a.targets());
        QVERIFY(a.calls.contains("AoT=No"));
        QVERIFY(a.calls.contains("CheckClip=No"));
        QVERIFY(a.calls.contains("CheckClipSound=No"));
        QVERIFY(a.calls.contains("Timer1=No"));
        QVERIFY(a.calls.contains("WinState=0"));
        // The designed 543 x 390 window fits a 1024 x 768 screen where the file puts it.
        const int top = positionFrom(readSetting(nullptr, shipped, *findSetting(u"WindowTop")));
        const int left = positionFrom(readSetting(nullptr, shipped, *findSetting(u"WindowLeft")));
        QVERIFY(QRect(0, 0, 1024, 768).contains(QRect(left, top, 543, 390)));
    }
};

QTEST_GUILESS_MAIN(TestSettingsTable)
#include "test_settings_table.moc"
