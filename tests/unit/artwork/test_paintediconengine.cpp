#include "artwork/IconCanvas.h"
#include "artwork/PaintedIconEngine.h"

#include <QPainter>
#include <QtTest>

namespace {

// A painter that records which sizes it was asked for and fills its square with one colour.
struct CountingPainter
{
    std::shared_ptr<QList<int>> calls = std::make_shared<QList<int>>();

    PaintedIconEngine::Painter painter() const
    {
        auto log = calls;
        return [log](int px) {
            log->append(px);
            QImage img(px, px, QImage::Format_ARGB32_Premultiplied);
            img.fill(QColor(200, 40, 40));
            return img;
        };
    }
};

} // namespace

class TestPaintedIconEngine final : public QObject
{
    Q_OBJECT

private slots:
    void drawsEachSizeOnceAndOnlyWhenAsked();
    void oddRequests_data();
    void oddRequests();
    void copiesShareWhatIsDrawn();
    void haloRimsShapesOnePixelOut();
};

void TestPaintedIconEngine::drawsEachSizeOnceAndOnlyWhenAsked()
{
    CountingPainter counter;
    const QIcon icon = PaintedIconEngine::icon(counter.painter(), {16, 32});
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
    // Making the icon and asking for its sizes paints nothing.
    QVERIFY(counter.calls->isEmpty());

    QCOMPARE(icon.pixmap(16).size(), QSize(16, 16));
    QCOMPARE(icon.pixmap(16).size(), QSize(16, 16));
    QCOMPARE(*counter.calls, QList<int>{16});
    // Other modes are derived from the drawn picture, not drawn again.
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    QVERIFY(disabled != icon.pixmap(16).toImage());
    QCOMPARE(*counter.calls, QList<int>{16});

    // A size that was never offered is still drawn for itself rather than scaled.
    QCOMPARE(icon.pixmap(24).size(), QSize(24, 24));
    QCOMPARE(*counter.calls, (QList<int>{16, 24}));
}

void TestPaintedIconEngine::oddRequests_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<QSize>("given");
    QTest::newRow("wide") << QSize(40, 16) << QSize(16, 16);
    QTest::newRow("tall") << QSize(16, 22) << QSize(16, 16);
    QTest::newRow("empty") << QSize(0, 0) << QSize();
    QTest::newRow("negative") << QSize(-5, 16) << QSize();
}

void TestPaintedIconEngine::oddRequests()
{
    QFETCH(QSize, asked);
    QFETCH(QSize, given);
    CountingPainter counter;
    const QIcon icon = PaintedIconEngine::icon(counter.painter(), {16});
    const QPixmap pm = icon.pixmap(asked);
    QCOMPARE(pm.isNull(), given.isEmpty());
    if (!given.isEmpty())
        QCOMPARE(pm.size(), given);
    QCOMPARE(counter.calls->size(), given.isEmpty() ? 0 : 1);
}

void TestPaintedIconEngine::copiesShareWhatIsDrawn()
{
    CountingPainter counter;
    QIcon icon = PaintedIconEngine::icon(counter.painter(), {16});
    icon.pixmap(16);
    const QIcon copy = icon;
    copy.pixmap(16);
    QCOMPARE(counter.calls->size(), 1);
    // Adding a pixmap detaches the icon through the engine's clone, which keeps the drawn sizes.
    icon.addPixmap(QPixmap(8, 8));
    icon.pixmap(16);
    QCOMPARE(counter.calls->size(), 1);

    // Painting into a rectangle centres the square picture in it.
    QImage canvas(30, 16, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        copy.paint(&p, canvas.rect());
    }
    QCOMPARE(qAlpha(canvas.pixel(6, 8)), 0);
    QCOMPARE(qAlpha(canvas.pixel(7, 8)), 255);
    QCOMPARE(qAlpha(canvas.pixel(22, 8)), 255);
    QCOMPARE(qAlpha(canvas.pixel(23, 8)), 0);
}

void TestPaintedIconEngine::haloRimsShapesOnePixelOut()
{
    // A dark square from pixel 5 to 10 on a 16-pixel canvas.
    const auto square = [](IconCanvas &c) { c.fillRect(QRectF(5, 5, 6, 6), Qt::black, QColor()); };
    const QImage plain = paintIcon(16, square, false);
    const QImage rimmed = paintIcon(16, square);
    QCOMPARE(plain.pixel(7, 7), rimmed.pixel(7, 7));
    QCOMPARE(qAlpha(plain.pixel(4, 7)), 0);
    // Next to the shape: light and partly see-through, so it shows on dark grounds and vanishes on light ones.
    const QRgb rim = rimmed.pixel(4, 7);
    QVERIFY(qAlpha(rim) > 80 && qAlpha(rim) < 255);
    QCOMPARE(qRed(rim), qAlpha(rim));
    QCOMPARE(qRgba(0, 0, 0, 0), rimmed.pixel(3, 7));
    QCOMPARE(qRgba(0, 0, 0, 0), rimmed.pixel(0, 0));
    // At 32 pixels the rim is still a single pixel: the larger toolbar size is not blurred.
    const QImage large = paintIcon(32, square);
    QVERIFY(qAlpha(large.pixel(9, 14)) > 80);
    QCOMPARE(qAlpha(large.pixel(8, 14)), 0);
}

QTEST_MAIN(TestPaintedIconEngine)
#include "test_paintediconengine.moc"
