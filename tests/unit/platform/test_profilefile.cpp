#include "platform/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestProfileFile final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void rules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray view = "[View]\nToolBar=No\n";
        QTest::newRow("plain") << view << "View" << "ToolBar" << "No";
        QTest::newRow("section and key ignore case") << view << "vIEW" << "TOOLBAR" << "No";
        QTest::newRow("missing key") << view << "View" << "StatusBar" << "DEFAULT";
        QTest::newRow("missing section") << view << "Options" << "ToolBar" << "DEFAULT";
        QTest::newRow("blanks trimmed") << QByteArray("  [ View ]  \n\t ToolBar =  No \t\n") << "View" << "ToolBar"
                                        << "No";
        QTest::newRow("double quotes") << QByteArray("[View]\nToolBar=\" No \"\n") << "View" << "ToolBar" << " No ";
        QTest::newRow("single quotes") << QByteArray("[View]\nToolBar='No'\n") << "View" << "ToolBar" << "No";
        QTest::newRow("one pair only") << QByteArray("[View]\nToolBar=\"\"No\"\"\n") << "View" << "ToolBar"
                                       << "\"No\"";
        QTest::newRow("unmatched quotes kept") << QByteArray("[View]\nToolBar=\"No'\n") << "View" << "ToolBar"
                                               << "\"No'";
        QTest::newRow("lone quote kept") << QByteArray("[View]\nToolBar=\"\n") << "View" << "ToolBar" << "\"";
        QTest::newRow("comma stays one string") << QByteArray("[View]\nToolBar=a, b\n") << "View" << "ToolBar"
                                                << "a, b";
        QTest::newRow("empty value") << QByteArray("[View]\nToolBar=\n") << "View" << "ToolBar" << "";
        QTest::newRow("empty quotes") << QByteArray("[View]\nToolBar=\"\"\n") << "View" << "ToolBar" << "";
        QTest::newRow("comment line") << QByteArray("[View]\n;ToolBar=No\n") << "View" << "ToolBar" << "DEFAULT";
        QTest::newRow("semicolon inside value") << QByteArray("[View]\nToolBar=No ; note\n") << "View" << "ToolBar"
                                                << "No ; note";
        QTest::newRow("key before any section") << QByteArray("ToolBar=No\n[View]\n") << "View" << "ToolBar"
                                                << "DEFAULT";
        QTest::newRow("key of another section") << QByteArray("[Options]\nToolBar=No\n[View]\n") << "View"
                                                << "ToolBar" << "DEFAULT";
        QTest::newRow("first key wins") << QByteArray("[View]\nToolBar=No\ntoolbar=Yes\n") << "View" << "ToolBar"
                                        << "No";
        QTest::newRow("first section wins") << QByteArray("[View]\nA=1\n[view]\nToolBar=No\n") << "View"
                                            << "ToolBar" << "DEFAULT";
        QTest::newRow("line without equals") << QByteArray("[View]\nToolBar\n") << "View" << "ToolBar"
                                             << "DEFAULT";
        QTest::newRow("value holding equals") << QByteArray("[View]\nToolBar=a=b\n") << "View" << "ToolBar"
                                              << "a=b";
        QTest::newRow("windows line ends") << QByteArray("[Display]\r\nWindowTop=-40\r\n") << "Display"
                                           << "WindowTop" << "-40";
        QTest::newRow("utf-8 byte-order mark") << QByteArray("\xef\xbb\xbf[View]\nToolBar=No\n") << "View"
                                               << "ToolBar" << "No";
        QTest::newRow("latin-1 text") << QByteArray("[View]\nToolBar=caf\xe9\n") << "View" << "ToolBar"
                                      << QStringLiteral("café");
        QTest::newRow("header with trailing text") << QByteArray("[View] old\nToolBar=No\n") << "View"
                                                   << "ToolBar" << "No";
        QTest::newRow("no final line end") << QByteArray("[View]\nToolBar=No") << "View" << "ToolBar" << "No";
    }

    void rules()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString path = m_dir.filePath(QStringLiteral("vrb.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        QCOMPARE(ProfileFile(path).readString(section, key, QStringLiteral("DEFAULT")), expected);
    }

    void utf16WithByteOrderMark()
    {
        const QString path = m_dir.filePath(QStringLiteral("utf16.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QString text = QStringLiteral("[Options]\r\nAoT=No\r\n");
        f.write("\xff\xfe");
        f.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        f.close();
        QCOMPARE(ProfileFile(path).readString(QStringLiteral("Options"), QStringLiteral("AoT"), QStringLiteral("Yes")),
                 QStringLiteral("No"));
    }

    void missingOrUnreadableFile()
    {
        const ProfileFile missing(m_dir.filePath(QStringLiteral("absent.ini")));
        QCOMPARE(missing.readString(QStringLiteral("View"), QStringLiteral("ToolBar"), QStringLiteral("Yes")),
                 QStringLiteral("Yes"));
        const ProfileFile folder(m_dir.path());
        QCOMPARE(folder.readString(QStringLiteral("View"), QStringLiteral("ToolBar"), QStringLiteral("0")),
                 QStringLiteral("0"));
        // A pipe would block a plain read for good; a device never ends; a giant is damage. All read as missing.
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QCOMPARE(ProfileFile(pipe).readString(QStringLiteral("View"), QStringLiteral("ToolBar"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QCOMPARE(ProfileFile(QStringLiteral("/dev/zero")).readString(QStringLiteral("View"), QStringLiteral("ToolBar"),
                                                                    QStringLiteral("d")),
                 QStringLiteral("d"));
        const QString giant = m_dir.filePath(QStringLiteral("giant.ini"));
        QFile f(giant);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[View]\nToolBar=No\n");
        f.write(QByteArray(ProfileFile::kMaxFileSize, ';'));
        f.close();
        QCOMPARE(ProfileFile(giant).readString(QStringLiteral("View"), QStringLiteral("ToolBar"), QStringLiteral("d")),
                 QStringLiteral("d"));
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
