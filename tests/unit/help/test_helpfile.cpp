#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "help/HelpFile.h"
#include "help/HelpLocator.h"
#include "platform/AppError.h"

namespace {

const char *kSample = "VERBARIUM HELP 1\n"
                      "# comment\n"
                      "\n"
                      "@topic intro\n"
                      "@title Introduction\n"
                      "@keywords start; Overview\n"
                      "<p>See <a href=\"topic:keys\">keys</a>.</p>\n"
                      "@topic keys\n"
                      "@title Keys\n"
                      "@parent intro\n"
                      "@keywords  copy ;shortcuts;;  \n"
                      "<p>Ctrl+C</p>\n"
                      "@topic tray\n"
                      "@title Tray\n"
                      "@keywords Copy\n"
                      "<p>tray</p>\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestHelpFile : public QObject
{
    Q_OBJECT
private slots:
    void searchOrder_data()
    {
        QTest::addColumn<QStringList>("present"); // folders holding vrb.hlp: work, prog, data
        QTest::addColumn<QString>("found");
        QTest::newRow("working folder first") << QStringList{"work", "prog", "data"} << "work";
        QTest::newRow("then the program's folder") << QStringList{"prog", "data"} << "prog";
        QTest::newRow("then the data folder") << QStringList{"data"} << "data";
        QTest::newRow("nowhere") << QStringList{} << "";
    }

    void searchOrder()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        QTemporaryDir root;
        for (const char *sub : {"work", "prog", "data"})
            QDir(root.path()).mkdir(QString::fromLatin1(sub));
        for (const QString &sub : present)
            writeFile(root.filePath(sub + QStringLiteral("/vrb.hlp")), "x");
        const HelpLocator locator(root.filePath(QStringLiteral("work")), root.filePath(QStringLiteral("prog")),
                                  root.filePath(QStringLiteral("data")));
        const QString expected = found.isEmpty() ? QString() : root.filePath(found + QStringLiteral("/vrb.hlp"));
        QCOMPARE(locator.locate(), expected);
    }

    void locatorTakesBareNamesAndFilesOnly()
    {
        QTemporaryDir root;
        QDir(root.path()).mkdir(QStringLiteral("work"));
        QDir(root.path()).mkdir(QStringLiteral("data"));
        // A folder called vrb.hlp is not the help file.
        QDir(root.filePath(QStringLiteral("work"))).mkdir(QStringLiteral("vrb.hlp"));
        writeFile(root.filePath(QStringLiteral("data/vrb.hlp")), "x");
        writeFile(root.filePath(QStringLiteral("secret.hlp")), "x");
        const HelpLocator locator(root.filePath(QStringLiteral("work")), QString(), root.filePath(QStringLiteral("data")));
        QCOMPARE(locator.searchPath().size(), 2);
        QCOMPARE(locator.locate(), root.filePath(QStringLiteral("data/vrb.hlp")));
        QCOMPARE(locator.locate(QStringLiteral("../secret.hlp")), QString());
        QCOMPARE(locator.locate(QStringLiteral("..")), QString());
    }

    void parsesTopicsTreeAndIndex()
    {
        const HelpFile file = HelpFile::parse(QString::fromLatin1(kSample));
        QCOMPARE(file.topics().size(), 3);
        const HelpTopic *keys = file.topic(QStringLiteral("keys"));
        QVERIFY(keys);
        QCOMPARE(keys->title, QStringLiteral("Keys"));
        QCOMPARE(keys->parentId, QStringLiteral("intro"));
        QCOMPARE(keys->keywords, (QStringList{"copy", "shortcuts"}));
        QCOMPARE(keys->html, QStringLiteral("<p>Ctrl+C</p>\n"));
        QCOMPARE(file.children(QString()).size(), 2);
        QCOMPARE(file.children(QStringLiteral("intro")).first()->id, QStringLiteral("keys"));

        QStringList index;
        for (const HelpIndexEntry &e : file.index())
            index << e.keyword + QLatin1Char('>') + e.topicId;
        // Case-insensitive order; equal keywords keep the order of the file.
        QCOMPARE(index, (QStringList{"copy>keys", "Copy>tray", "Overview>intro", "shortcuts>keys", "start>intro"}));
        QVERIFY(file.brokenLinks().isEmpty());
    }

    void refusesDamagedFiles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << "not a Verbarium help file";
        QTest::newRow("other file") << "[View]\nToolBar=Yes\n" << "not a Verbarium help file";
        QTest::newRow("no topics") << "VERBARIUM HELP 1\n# nothing\n" << "holds no topics";
        QTest::newRow("twice") << "VERBARIUM HELP 1\n@topic a\n@title A\n@topic a\n@title B\n" << "line 4";
        QTest::newRow("parent later") << "VERBARIUM HELP 1\n@topic a\n@title A\n@parent b\n@topic b\n@title B\n"
                                      << "unknown parent";
        QTest::newRow("own parent") << "VERBARIUM HELP 1\n@topic a\n@title A\n@parent a\n" << "unknown parent";
        QTest::newRow("no title") << "VERBARIUM HELP 1\n@topic a\n<p>x</p>\n@topic b\n@title B\n" << "no title";
        QTest::newRow("last topic without title") << "VERBARIUM HELP 1\n@topic a\n" << "no title";
        QTest::newRow("text before topics") << "VERBARIUM HELP 1\n<p>x</p>\n" << "outside a topic";
        QTest::newRow("unknown directive") << "VERBARIUM HELP 1\n@topic a\n@title A\n@bogus\n" << "@bogus";
        QTest::newRow("bad name") << "VERBARIUM HELP 1\n@topic a b\n" << "bad topic name";
    }

    void refusesDamagedFiles()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        try {
            HelpFile::parse(text, QStringLiteral("vrb.hlp"));
            QFAIL("parsed");
        } catch (const AppError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    void loadReportsUnreadableFiles()
    {
        QTemporaryDir dir;
        const QString binary = dir.filePath(QStringLiteral("binary.hlp"));
        writeFile(binary, QByteArray("VERBARIUM HELP 1\n@topic a\n@title \xff\xfe\n", 35));
        const QString crlf = dir.filePath(QStringLiteral("crlf.hlp"));
        writeFile(crlf, "VERBARIUM HELP 1\r\n@topic a\r\n@title A\r\n<p>x</p>\r\n");
        QCOMPARE(HelpFile::load(crlf).topic(QStringLiteral("a"))->title, QStringLiteral("A"));
        for (const QString &path : {binary, dir.filePath(QStringLiteral("missing.hlp")), dir.path()}) {
            try {
                HelpFile::load(path);
                QFAIL(qPrintable(path));
            } catch (const AppError &e) {
                QVERIFY2(e.message().contains(path), qPrintable(e.message()));
            }
        }
    }

    // The shipped help: well formed, every command of the menus with its shortcut, and the notices.
    void shippedHelpFile()
    {
        const HelpFile file = HelpFile::load(QStringLiteral(VB_SOURCE_DATA "/vrb.hlp"));
        QCOMPARE(file.brokenLinks(), QStringList());
        QString all;
        for (const HelpTopic &t : file.topics())
            all += t.html;
        const QStringList captions{
            "Send word definition", "Close", "Cut", "Copy", "Paste", "Delete", "Undo", "Toolbar", "Status Bar",
            "Hide Words Explorer", "Next", "Back", "Next Search", "Back Search", "Speak", "Speak words", "Stop",
            "Always on Top", "Auto Restore", "Check Clipboard", "Check Clipboard Sound", "Contents and Index",
            "Send Suggestion...", "Report a Bug...", "About...", "Select All", "Copy Word", "Restore", "Exit",
            "Dictionaries..."};
        for (const QString &caption : captions)
            QVERIFY2(all.contains(QStringLiteral("<td>") + caption + QStringLiteral("</td>")), qPrintable(caption));
        const QStringList rows{"Close</td><td>Alt+F4", "Undo</td><td>Ctrl+Z", "Cut</td><td>Ctrl+X",
                               "Copy</td><td>Ctrl+C", "Paste</td><td>Ctrl+V", "Delete</td><td>Del",
                               "Next</td><td>Alt+Down", "Back</td><td>Alt+Up", "Speak</td><td>Ctrl+T",
                               "Speak words</td><td>Ctrl+W", "Stop</td><td>Ctrl+O", "Select All</td><td>Ctrl+A",
                               "Dictionaries...</td><td>Ctrl+Shift+D"};
        for (const QString &row : rows)
            QVERIFY2(all.contains(row), qPrintable(row));
        QVERIFY(!all.contains(QLatin1Char('&') + QStringLiteral("About")));
        for (const char *needle : {"WordNet 3.0 Copyright 2006 by Princeton University.", "/m", "vrb.ini",
                                   "Verbarium.conf", "Ctrl+B", "Ctrl+I", "Ctrl+U"})
            QVERIFY2(all.contains(QLatin1String(needle)), needle);
        for (const char *topic : {"tray", "clipboard", "startup", "settings", "dictionary", "mail"})
            QVERIFY2(file.topic(QLatin1String(topic)), topic);
    }
};

QTEST_GUILESS_MAIN(TestHelpFile)
#include "test_helpfile.moc"
