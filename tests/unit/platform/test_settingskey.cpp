#include "platform/AppError.h"
#include "platform/SettingsKey.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString keyPath = QStringLiteral("\\SOFTWARE\\Ostrand\\Verbarium\\1.0.0.0");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

} // namespace

class TestSettingsKey final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_config;
    QString settingsFile() const { return m_config->path() + QStringLiteral("/Ostrand/Verbarium.conf"); }
    std::unique_ptr<SettingsKey> openKey() const { return SettingsKey::openOrCreate(m_config->path(), keyPath); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
    }

    void init()
    {
        m_config = std::make_unique<QTemporaryDir>();
        QVERIFY(m_config->isValid());
    }

    void cleanup()
    {
        // Undo any permission change so the temporary folder can be removed.
        QFile::setPermissions(m_config->path() + QStringLiteral("/Ostrand"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_config.reset();
    }

    void location()
    {
        QCOMPARE(SettingsKey::filePathFor(m_config->path(), keyPath), settingsFile());
        qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
        QCOMPARE(SettingsKey::userConfigFolder(), m_config->path());
        // A relative XDG_CONFIG_HOME is not valid and falls back to ~/.config.
        qputenv("XDG_CONFIG_HOME", "relative/config");
        QCOMPARE(SettingsKey::userConfigFolder(), m_home.path() + QStringLiteral("/.config"));
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(SettingsKey::userConfigFolder(), m_home.path() + QStringLiteral("/.config"));
        for (const char *bad : {"\\SOFTWARE\\Verbarium", "", "\\SOFTWARE\\..\\x", "\\SOFTWARE\\a/b\\c"}) {
            QVERIFY2(SettingsKey::filePathFor(m_config->path(), QString::fromLatin1(bad)).isEmpty(), bad);
            QVERIFY2(!SettingsKey::openOrCreate(m_config->path(), QString::fromLatin1(bad)), bad);
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("switch") << QStringLiteral("Yes");
        QTest::newRow("negative number") << QStringLiteral("-1200");
        QTest::newRow("comma is one string") << QStringLiteral("a, b");
        QTest::newRow("empty") << QString();
        QTest::newRow("surrounding blanks") << QStringLiteral("  padded\t");
        QTest::newRow("quotes") << QStringLiteral("\"quoted\" and \"more\"");
        QTest::newRow("at sign typed look") << QStringLiteral("@Variant(x)");
        QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree");
        QTest::newRow("backslashes") << QStringLiteral("C:\\dir\\n");
        QTest::newRow("control") << QStringLiteral("bell\x07 del\x7f");
        QTest::newRow("unicode") << QStringLiteral("naïve Ωmega");
        QTest::newRow("equals and brackets") << QStringLiteral("[a]=b;c#d");
    }

    void roundTrip()
    {
        QFETCH(QString, value);
        {
            auto key = openKey();
            QVERIFY(key);
            QVERIFY(key->writeString(QStringLiteral("Value"), value));
            QVERIFY(key->writeString(QStringLiteral("After"), QStringLiteral("x")));
            QCOMPARE(key->readString(QStringLiteral("Value")), value);
            QVERIFY(key->close());
        }
        auto key = openKey();
        QCOMPARE(key->readString(QStringLiteral("Value")), value);
        QCOMPARE(key->readString(QStringLiteral("After")), QStringLiteral("x"));
    }

    void fileShape()
    {
        auto key = openKey();
        key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
        key->writeString(QStringLiteral("WindowLeft"), QStringLiteral("-5"));
        QVERIFY(key->close());
        QCOMPARE(readAll(settingsFile()), QByteArray("[1.0.0.0]\nToolBar=Yes\nWindowLeft=-5\n"));
    }

    void handWrittenValues()
    {
        writeAll(settingsFile(), "; notes\n[2.0.0.0]\nToolBar=Other\n\n[1.0.0.0]\r\n"
                                 "toolbar = a, b \r\n# comment=x\nAoT=\nQuoted=\"  kept  \"\nAt=@home\nAtParen=@(x)\nAtWord=@Rect\n"
                                 "Escaped=\"tab\\there\\x41\"\n");
        auto key = openKey();
        QVERIFY(key);
        QCOMPARE(key->readString(QStringLiteral("ToolBar")), QStringLiteral("a, b"));
        QCOMPARE(key->readString(QStringLiteral("AoT")), QString());
        QCOMPARE(key->readString(QStringLiteral("Quoted")), QStringLiteral("  kept  "));
        QCOMPARE(key->readString(QStringLiteral("At")), QStringLiteral("@home"));
        // Only "@" + letters + "(" is a typed value; anything else is text.
        QCOMPARE(key->readString(QStringLiteral("AtParen")), QStringLiteral("@(x)"));
        QCOMPARE(key->readString(QStringLiteral("AtWord")), QStringLiteral("@Rect"));
        QCOMPARE(key->readString(QStringLiteral("Escaped")), QStringLiteral("tab\there" "A"));
        QCOMPARE(key->readString(QStringLiteral("Missing")), QString());
        QCOMPARE(key->readString(QStringLiteral("# comment")), QString());
    }

    void notAString_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("byte array") << QByteArray("@ByteArray(abc)");
        QTest::newRow("variant") << QByteArray("@Variant(\\0\\0\\0\\x7f)");
        QTest::newRow("rectangle") << QByteArray("@Rect(0 0 10 10)");
        QTest::newRow("list") << QByteArray("\"a\", \"b\"");
        QTest::newRow("unterminated") << QByteArray("\"open");
        QTest::newRow("bad escape") << QByteArray("\"\\xZZ\"");
        QTest::newRow("short escape") << QByteArray("\"\\x4\"");
    }

    void notAString()
    {
        QFETCH(QByteArray, stored);
        writeAll(settingsFile(), "[1.0.0.0]\nOk=Yes\nWindowTop=" + stored + "\n");
        auto key = openKey();
        QVERIFY(key);
        try {
            key->readString(QStringLiteral("WindowTop"));
            QFAIL("no error for a value that is not a string");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("Invalid data type for 'WindowTop'"));
        }
        QCOMPARE(key->readString(QStringLiteral("Ok")), QStringLiteral("Yes"));
    }

    void writeKeepsTheRest()
    {
        const QByteArray before = "; my notes\n[1.0.0.0]\nToolBar=Yes\nunknown line\n\n[Other]\nToolBar=Keep\n";
        writeAll(settingsFile(), before);
        auto key = openKey();
        QVERIFY(key->writeString(QStringLiteral("TOOLBAR"), QStringLiteral("No")));
        QVERIFY(key->writeString(QStringLiteral("AoT"), QStringLiteral("Yes")));
        QVERIFY(key->close());
        QCOMPARE(readAll(settingsFile()),
                 QByteArray("; my notes\n[1.0.0.0]\nTOOLBAR=No\nunknown line\nAoT=Yes\n\n[Other]\nToolBar=Keep\n"));
    }

    void invalidNames()
    {
        auto key = openKey();
        for (const char *name : {"", "a=b", "line\nbreak", " padded", "[group]", ";note"})
            QVERIFY2(!key->writeString(QString::fromLatin1(name), QStringLiteral("x")), name);
        QVERIFY(key->close());
        QVERIFY(!QFile::exists(settingsFile()));
    }

    void destructorCommits()
    {
        openKey()->writeString(QStringLiteral("ARA"), QStringLiteral("No"));
        QCOMPARE(openKey()->readString(QStringLiteral("ARA")), QStringLiteral("No"));
    }

    void folderCannotBeCreated()
    {
        // A regular file where the configuration folder should be: no folder can be made under it, even as root.
        const QString blocker = m_config->path() + QStringLiteral("/blocker");
        writeAll(blocker, "x");
        QVERIFY(!SettingsKey::openOrCreate(blocker, keyPath));
    }

    void folderReadOnly()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not bind root");
        const QString folder = m_config->path() + QStringLiteral("/Ostrand");
        writeAll(settingsFile(), "[1.0.0.0]\nToolBar=No\n");
        auto key = openKey();
        QVERIFY(key);
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        // What is stored is still read.
        QCOMPARE(openKey()->readString(QStringLiteral("ToolBar")), QStringLiteral("No"));
        // A save that cannot replace the file leaves it as it was.
        key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
        QVERIFY(!key->close());
        QCOMPARE(readAll(settingsFile()), QByteArray("[1.0.0.0]\nToolBar=No\n"));
    }

    void fileCannotBeReplaced()
    {
        // A folder in the settings file's place: unreadable, so empty, and a save must fail without harm.
        QVERIFY(QDir().mkpath(settingsFile()));
        writeAll(settingsFile() + QStringLiteral("/inside"), "keep");
        auto key = openKey();
        QVERIFY(key);
        QCOMPARE(key->readString(QStringLiteral("ToolBar")), QString());
        key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
        QVERIFY(!key->close());
        QCOMPARE(readAll(settingsFile() + QStringLiteral("/inside")), QByteArray("keep"));
        QCOMPARE(QDir(QFileInfo(settingsFile()).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void unreadableFilesAreNeverWrittenOver()
    {
        // A pipe (which would block a plain read), a file locked with mode 000 (even for root) and a link to a
        // device: each reads as empty at once, and a save fails without touching it.
        const QString folder = QFileInfo(settingsFile()).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        const auto attempt = [&](const char *what) {
            auto key = openKey();
            QVERIFY2(key && !key->isReadable(), what);
            QCOMPARE(key->readString(QStringLiteral("ToolBar")), QString());
            key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
            QVERIFY2(!key->close(), what);
        };
        QCOMPARE(::mkfifo(QFile::encodeName(settingsFile()).constData(), 0600), 0);
        attempt("pipe");
        struct stat info = {};
        QVERIFY(::stat(QFile::encodeName(settingsFile()).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
        QVERIFY(QFile::remove(settingsFile()));

        writeAll(settingsFile(), "[1.0.0.0]\nToolBar=No\n");
        QVERIFY(QFile::setPermissions(settingsFile(), {}));
        attempt("mode 000");
        QVERIFY(QFile::setPermissions(settingsFile(), QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(readAll(settingsFile()), QByteArray("[1.0.0.0]\nToolBar=No\n"));
        QVERIFY(QFile::remove(settingsFile()));

        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), settingsFile()));
        attempt("device");
        QVERIFY(QFileInfo(settingsFile()).isSymLink());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList({"Verbarium.conf"}));
    }

    void oversizedFileIsSetAside()
    {
        // Megabytes of settings are damage: read as none, and moved aside whole by the save.
        QByteArray content = "[1.0.0.0]\nToolBar=No\n";
        content.append(QByteArray(SettingsKey::kMaxFileSize, ';'));
        writeAll(settingsFile(), content);
        auto key = openKey();
        QVERIFY(key->isReadable());
        QCOMPARE(key->readString(QStringLiteral("ToolBar")), QString());
        key->writeString(QStringLiteral("StatusBar"), QStringLiteral("No"));
        QVERIFY(key->close());
        QCOMPARE(readAll(settingsFile() + QStringLiteral(".bad")), content);
        QCOMPARE(readAll(settingsFile()), QByteArray("[1.0.0.0]\nStatusBar=No\n"));
    }

    void linkIsWrittenThrough()
    {
        // Settings kept elsewhere (a dotfiles repository) and linked: the save replaces the file the link names,
        // in that file's folder, and the link stays.
        const QString elsewhere = m_config->path() + QStringLiteral("/dotfiles");
        writeAll(elsewhere + QStringLiteral("/verbarium.conf"), "[1.0.0.0]\nToolBar=No\n");
        const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(elsewhere + QStringLiteral("/verbarium.conf"), shared));
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).absolutePath()));
        QVERIFY(QFile::link(QStringLiteral("../dotfiles/verbarium.conf"), settingsFile()));
        auto key = openKey();
        QCOMPARE(key->readString(QStringLiteral("ToolBar")), QStringLiteral("No"));
        key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
        QVERIFY(key->close());
        QVERIFY(QFileInfo(settingsFile()).isSymLink());
        QCOMPARE(readAll(elsewhere + QStringLiteral("/verbarium.conf")), QByteArray("[1.0.0.0]\nToolBar=Yes\n"));
        QCOMPARE(QFile::permissions(elsewhere + QStringLiteral("/verbarium.conf")) & QFileDevice::Permissions(0x7077), shared);
        QCOMPARE(QDir(elsewhere).entryList(QDir::Files | QDir::Hidden), QStringList({"verbarium.conf"}));
        QCOMPARE(QDir(QFileInfo(settingsFile()).absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList({"Verbarium.conf"}));
    }

    void fullDisk()
    {
        // A tiny file system of its own, filled to the last byte after the settings were written once.
        const QString mountPoint = m_config->path() + QStringLiteral("/Ostrand");
        QVERIFY(QDir().mkpath(mountPoint));
        if (::mount("tmpfs", mountPoint.toUtf8().constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a tmpfs here (not root?): the full-disk save is not tried");
        const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.toUtf8().constData(), MNT_DETACH); });
        const QByteArray before = "[1.0.0.0]\nToolBar=No\n; a comment\n";
        writeAll(settingsFile(), before);
        {
            QFile filler(mountPoint + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size() && filler.flush()) { }
        }
        auto key = openKey();
        if (key) {
            key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
            key->writeString(QStringLiteral("Padding"), QString(8192, QLatin1Char('p')));
            QVERIFY(!key->close());
        }
        QCOMPARE(readAll(settingsFile()), before);
    }

    void badBytes()
    {
        // Invalid UTF-8 and NUL bytes: what can be read is read, and the file is kept aside before a save.
        static const char raw[] = "[1.0.0.0]\nToolBar=\xff\xfeNo\nStatusBar=No\0junk\n[Other]\nKeep=1\n";
        const QByteArray content(raw, sizeof raw - 1);
        writeAll(settingsFile(), content);
        auto key = openKey();
        QVERIFY(key);
        QCOMPARE(key->readString(QStringLiteral("StatusBar")), QStringLiteral("No"));
        QCOMPARE(key->readString(QStringLiteral("ToolBar")), QStringLiteral("\ufffd\ufffdNo"));
        QVERIFY(key->close());
        QCOMPARE(readAll(settingsFile()), content); // nothing written, nothing touched
        key = openKey();
        key->writeString(QStringLiteral("ToolBar"), QStringLiteral("Yes"));
        QVERIFY(key->close());
        QCOMPARE(readAll(settingsFile() + QStringLiteral(".bad")), content);
        QCOMPARE(readAll(settingsFile()), QByteArray("[1.0.0.0]\nToolBar=Yes\nStatusBar=No\njunk\n[Other]\nKeep=1\n"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsKey)
#include "test_settingskey.moc"
