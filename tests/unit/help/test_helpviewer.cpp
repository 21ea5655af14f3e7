#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include "help/HelpLocator.h"
#include "help/HelpViewer.h"

namespace {

const char *kSample = "VERBARIUM HELP 1\n"
                      "@topic intro\n@title Introduction\n@keywords start\n"
                      "<p>Go to <a href=\"topic:keys\">keys</a> or <a href=\"https://www.ostrand.example/\">site</a>.</p>\n"
                      "@topic keys\n@title Keys\n@parent intro\n@keywords copy; Speak\n<p>Ctrl+C copies.</p>\n"
                      "@topic tray\n@title Tray\n@keywords copy; exit\n<p>The tray.</p>\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// For the tests that follow no outside link.
bool noLinks(const QUrl &)
{
    return false;
}

QStringList visibleIndex(const HelpViewer *viewer)
{
    QStringList texts;
    for (int i = 0; i < viewer->indexList()->count(); ++i) {
        if (!viewer->indexList()->item(i)->isHidden())
            texts << viewer->indexList()->item(i)->text();
    }
    return texts;
}

} // namespace

class TestHelpViewer : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        delete HelpViewer::instance();
    }

    void showsContentsIndexAndTopics()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("vrb.hlp")), kSample);
        HelpViewer *viewer = HelpViewer::showHelp(HelpLocator(dir.path(), QString(), QString()), noLinks);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Verbarium Help"));
        QCOMPARE(viewer->windowModality(), Qt::NonModal);
        QCOMPARE(viewer->tabs()->tabText(0), QStringLiteral("Contents"));
        QCOMPARE(viewer->tabs()->tabText(1), QStringLiteral("Index"));
        QVERIFY(viewer->message().isEmpty());

        // Contents: the tree of the file, opened on the first topic.
        QCOMPARE(viewer->contents()->topLevelItemCount(), 2);
        QCOMPARE(viewer->contents()->topLevelItem(0)->child(0)->text(0), QStringLiteral("Keys"));
        QCOMPARE(viewer->currentTopic(), QStringLiteral("intro"));
        viewer->contents()->setCurrentItem(viewer->contents()->topLevelItem(1));
        QCOMPARE(viewer->currentTopic(), QStringLiteral("tray"));
        QVERIFY(viewer->browser()->toPlainText().contains(QLatin1String("The tray.")));

        // Index: a keyword of two topics names each topic; the filter narrows the list.
        QCOMPARE(visibleIndex(viewer).size(), 5);
        QVERIFY(visibleIndex(viewer).contains(QString::fromUtf8("copy \u2014 Keys")));
        viewer->indexFilter()->setText(QStringLiteral("sp"));
        QCOMPARE(visibleIndex(viewer), QStringList{"Speak"});
        QTest::keyClick(viewer->indexFilter(), Qt::Key_Return);
        QCOMPARE(viewer->currentTopic(), QStringLiteral("keys"));
        viewer->indexFilter()->setText(QStringLiteral("nothing"));
        QVERIFY(visibleIndex(viewer).isEmpty());
    }

    void followsTopicLinksAndHandsOutsideLinksOn()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("vrb.hlp")), kSample);
        QList<QUrl> opened;
        HelpViewer *viewer = HelpViewer::showHelp(HelpLocator(dir.path(), QString(), QString()), [&](const QUrl &url) {
            opened << url;
            return true;
        });
        emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("topic:keys")));
        QCOMPARE(viewer->currentTopic(), QStringLiteral("keys"));
        QCOMPARE(viewer->contents()->currentItem()->text(0), QStringLiteral("Keys"));
        emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("https://www.ostrand.example/")));
        emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://www.ostrand.example/"))});
        QCOMPARE(viewer->currentTopic(), QStringLiteral("keys"));
    }

    void isReusedWhileOpen()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("vrb.hlp")), kSample);
        const HelpLocator locator(dir.path(), QString(), QString());
        HelpViewer *first = HelpViewer::showHelp(locator, noLinks);
        first->showTopic(QStringLiteral("tray"));
        QCOMPARE(HelpViewer::showHelp(locator, noLinks), first);
        QCOMPARE(first->currentTopic(), QStringLiteral("tray")); // not reloaded
        first->close();
        QTRY_VERIFY(!HelpViewer::instance()); // deleted on close
        HelpViewer *second = HelpViewer::showHelp(locator, noLinks);
        QVERIFY(second);
        QCOMPARE(second->currentTopic(), QStringLiteral("intro"));
    }

    void saysWhenTheFileIsMissingOrDamaged()
    {
        QTemporaryDir dir;
        const HelpLocator locator(dir.path(), QString(), QString());
        HelpViewer *viewer = HelpViewer::showHelp(locator, noLinks);
        QVERIFY(viewer->isVisible());
        QVERIFY2(viewer->message().contains(QLatin1String("\"vrb.hlp\" was not found")), qPrintable(viewer->message()));
        QVERIFY(viewer->message().contains(dir.path()));
        QCOMPARE(viewer->contents()->topLevelItemCount(), 0);

        writeFile(dir.filePath(QStringLiteral("vrb.hlp")), "?_\x03\x00 binary help of another program");
        HelpViewer::showHelp(locator, noLinks);
        QVERIFY2(viewer->message().contains(QLatin1String("not a Verbarium help file")), qPrintable(viewer->message()));
        QVERIFY(!viewer->isLoaded());

        // Put right, the next request loads it into the same window.
        writeFile(dir.filePath(QStringLiteral("vrb.hlp")), kSample);
        QCOMPARE(HelpViewer::showHelp(locator, noLinks), viewer);
        QVERIFY(viewer->isLoaded());
        QVERIFY(viewer->message().isEmpty());
        QCOMPARE(viewer->contents()->topLevelItemCount(), 2);
    }
};

QTEST_MAIN(TestHelpViewer)
#include "test_helpviewer.moc"
