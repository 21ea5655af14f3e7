// The system clipboard source on Qt's clipboard (process-local under the offscreen platform): what it
// reports for plain text, other data, secrets and malformed text, and that it follows every change.
#include "clipboard/ClipboardWatcher.h"
#include "platform/ClipboardSource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

namespace {

QMimeData *mime(const QByteArray &plain, const QByteArray &hint = {})
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), plain);
    if (!hint.isNull())
        data->setData(QStringLiteral("x-kde-passwordManagerHint"), hint);
    return data;
}

} // namespace

class TestQtClipboardSource : public QObject
{
    Q_OBJECT
private slots:
    void followsChanges();
    void secretHint_data();
    void secretHint();
    void malformedText();
    void hugeTextTickIsBounded();
};

void TestQtClipboardSource::followsChanges()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("alpha"));
    QtClipboardSource source;
    QVERIFY(source.hasText());
    QCOMPARE(source.text(), QStringLiteral("alpha"));

    clipboard->setText(QStringLiteral("beta"));
    QCOMPARE(source.text(), QStringLiteral("beta"));

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->setImage(picture);
    QVERIFY(!source.hasText());
    QVERIFY(!source.isSecret());

    // A file manager's copy is a list of files, which QMimeData would also call text.
    auto *files = new QMimeData;
    files->setUrls({QUrl(QStringLiteral("file:///tmp/report.txt"))});
    clipboard->setMimeData(files);
    QVERIFY(!source.hasText());
    auto *utf8 = new QMimeData;
    utf8->setData(QStringLiteral("text/plain;charset=utf-8"), "caf\xc3\xa9");
    clipboard->setMimeData(utf8);
    QCOMPARE(source.text(), QStringLiteral("caf\u00e9"));

    // The selection is another clipboard and does not touch what the watcher sees.
    clipboard->setText(QStringLiteral("gamma"));
    if (clipboard->supportsSelection())
        clipboard->setText(QStringLiteral("selected"), QClipboard::Selection);
    QCOMPARE(source.text(), QStringLiteral("gamma"));
    clipboard->clear();
    QVERIFY(!source.hasText());
}

void TestQtClipboardSource::secretHint_data()
{
    QTest::addColumn<QByteArray>("hint");
    QTest::addColumn<bool>("secret");
    QTest::newRow("no hint") << QByteArray() << false;
    QTest::newRow("secret") << QByteArray("secret") << true;
    QTest::newRow("other value") << QByteArray("public") << false;
}

void TestQtClipboardSource::secretHint()
{
    QFETCH(QByteArray, hint);
    QFETCH(bool, secret);
    QGuiApplication::clipboard()->setMimeData(mime("s3cret-pass", hint));
    QtClipboardSource source;
    QVERIFY(source.hasText());
    QCOMPARE(source.isSecret(), secret);
}

void TestQtClipboardSource::malformedText()
{
    QtClipboardSource source;
    ClipboardWatcher watcher(&source);
    QGuiApplication::clipboard()->setMimeData(mime(QByteArray("nul\0inside", 10)));
    QString box = watcher.clipboardStep().value_or(ClipboardFind{}).searchText;
    QCOMPARE(box.size(), 10);
    QVERIFY(box.startsWith(QStringLiteral("nul")));

    QGuiApplication::clipboard()->setMimeData(mime(QByteArray("bad \xff\xfe\xc3 utf8")));
    box = watcher.clipboardStep().value_or(ClipboardFind{}).searchText;
    QVERIFY(box.startsWith(QStringLiteral("bad ")));
    QVERIFY(box.endsWith(QStringLiteral(" utf8")));
}

void TestQtClipboardSource::hugeTextTickIsBounded()
{
    QtClipboardSource source;
    ClipboardWatcher watcher(&source);
    QGuiApplication::clipboard()->setText(QString(10 * 1024 * 1024, QLatin1Char('q')));
    const auto found = watcher.clipboardStep();
    QVERIFY(found);
    QCOMPARE(found->searchText.size(), 300);

    // Nothing new: nothing found (bench_tick measures what these ticks cost).
    for (int i = 0; i < 10; ++i)
        QVERIFY(!watcher.clipboardStep());
}

QTEST_MAIN(TestQtClipboardSource)
#include "test_qtclipboardsource.moc"
