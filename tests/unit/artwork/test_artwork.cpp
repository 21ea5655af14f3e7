#include "artwork/Artwork.h"
#include "artwork/CommandImages.h"
#include "platform/ImageList.h"

#include <QPainter>
#include <QtTest>

namespace {

int pixelsAtLeast(const QImage &image, int alpha)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            n += qAlpha(argb.pixel(x, y)) >= alpha;
    return n;
}

int opaquePixels(const QImage &image)
{
    return pixelsAtLeast(image, 255);
}

int differingPixels(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c)
            n += x.pixel(c, r) != y.pixel(c, r);
    return n;
}

QImage image(const QIcon &icon, int side, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(side, side), 1.0, mode).toImage();
}

} // namespace

class TestArtwork final : public QObject
{
    Q_OBJECT

private slots:
    void commandImagesAreDrawnAtEachSize_data();
    void commandImagesAreDrawnAtEachSize();
    void commandImagesAreAllDistinct();
    void commandImagesStandOutOnLightAndDarkGrounds();
    void commandImagesKeepTheirLooksWhenDisabledOrDense();
    void trayFramesReadAsOneAnimation();
    void programIconOffersEveryThemeSize();
    void aboutPanelPictures();
    void fillImageListReplacesContents();
};

void TestArtwork::commandImagesAreDrawnAtEachSize_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
    QTest::newRow("24 on request") << 24;
}

void TestArtwork::commandImagesAreDrawnAtEachSize()
{
    QFETCH(int, side);
    const QList<QIcon> icons = Artwork::commandImages();
    QCOMPARE(icons.size(), 38);
    for (int i = 0; i < icons.size(); ++i) {
        QVERIFY2(!icons.at(i).isNull(), qPrintable(QString::number(i)));
        const QImage img = image(icons.at(i), side);
        QCOMPARE(img.size(), QSize(side, side));
        // Solid pixels and enough strongly covered ones to be seen, but no picture filling its square like a tile.
        QVERIFY2(opaquePixels(img) > 0, qPrintable(QString::number(i)));
        const int seen = pixelsAtLeast(img, 160);
        QVERIFY2(seen >= side * side / 8, qPrintable(QStringLiteral("image %1: %2 pixels seen").arg(i).arg(seen)));
        QVERIFY2(opaquePixels(img) < side * side, qPrintable(QStringLiteral("image %1 is a full square").arg(i)));
        QVERIFY2(icons.at(i).availableSizes() == (QList<QSize>{QSize(16, 16), QSize(32, 32)}), qPrintable(QString::number(i)));
    }
}

void TestArtwork::commandImagesAreAllDistinct()
{
    QList<QImage> small;
    for (int i = 0; i < Artwork::commandImageCount; ++i)
        small.append(Artwork::paintCommandImage(i, 16));
    for (int i = 0; i < small.size(); ++i)
        for (int j = i + 1; j < small.size(); ++j)
            // Two pictures a few pixels apart would be told apart by nobody at toolbar size.
            QVERIFY2(differingPixels(small.at(i), small.at(j)) > 8, qPrintable(QStringLiteral("%1 and %2").arg(i).arg(j)));
    // Each size is drawn for itself, not enlarged from the small one.
    const QImage drawn = Artwork::paintCommandImage(0, 32);
    const QImage enlarged = small.at(0).scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(differingPixels(drawn, enlarged) > 0);
}

void TestArtwork::commandImagesStandOutOnLightAndDarkGrounds()
{
    // A toolbar may be light grey or near black; each picture must leave a clear mark on both.
    const QColor grounds[] = {QColor(240, 240, 240), QColor(35, 38, 45), QColor(0, 0, 32)};
    for (int i = 0; i < Artwork::commandImageCount; ++i) {
        const QImage picture = Artwork::paintCommandImage(i, 16);
        for (const QColor &ground : grounds) {
            QImage shown(16, 16, QImage::Format_ARGB32);
            shown.fill(ground);
            {
                QPainter p(&shown);
                p.drawImage(0, 0, picture);
            }
            int marked = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    marked += std::abs(qGray(shown.pixel(x, y)) - qGray(ground.rgb())) >= 60;
            QVERIFY2(marked >= 20, qPrintable(QStringLiteral("image %1 on %2: %3 pixels stand out")
                                                  .arg(i).arg(ground.name()).arg(marked)));
        }
    }
}

void TestArtwork::commandImagesKeepTheirLooksWhenDisabledOrDense()
{
    const QIcon stop = Artwork::commandImages().at(CommandImages::Stop);
    const QImage normal = image(stop, 16);
    QCOMPARE(normal, Artwork::paintCommandImage(29, 16).convertToFormat(normal.format()));
    QVERIFY(differingPixels(normal, image(stop, 16, QIcon::Disabled)) > 0);
    // A screen at twice the density gets the picture drawn at 32 pixels, not a blown-up 16.
    const QPixmap dense = stop.pixmap(QSize(16, 16), 2.0);
    QCOMPARE(dense.size(), QSize(32, 32));
    QImage denseImage = dense.toImage().convertToFormat(QImage::Format_ARGB32);
    denseImage.setDevicePixelRatio(1.0);
    QCOMPARE(denseImage,
             Artwork::paintCommandImage(29, 32).convertToFormat(QImage::Format_ARGB32));
    // Painting through a painter gives the same picture as asking for the pixmap.
    QImage canvas(16, 16, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        stop.paint(&p, QRect(0, 0, 16, 16));
    }
    QCOMPARE(differingPixels(canvas, normal), 0);
}

void TestArtwork::trayFramesReadAsOneAnimation()
{
    const QList<QIcon> frames = Artwork::trayImages();
    QCOMPARE(frames.size(), 6);
    QCOMPARE(Artwork::trayRestingFrame, 1);
    for (int side : {16, 22, 24}) {
        QList<QImage> images;
        for (const QIcon &f : frames) {
            images.append(image(f, side));
            QCOMPARE(images.last().size(), QSize(side, side));
            QVERIFY(opaquePixels(images.last()) >= side * side / 4);
        }
        for (int i = 0; i < images.size(); ++i)
            for (int j = i + 1; j < images.size(); ++j) {
                const int changed = differingPixels(images.at(i), images.at(j));
                QVERIFY2(changed > 0, qPrintable(QStringLiteral("frames %1 and %2 at %3").arg(i).arg(j).arg(side)));
                // Only a small element moves; the mark itself stays put from frame to frame.
                QVERIFY2(changed < side * side / 3,
                         qPrintable(QStringLiteral("frames %1 and %2 differ in %3 pixels").arg(i).arg(j).arg(changed)));
            }
    }
}

void TestArtwork::programIconOffersEveryThemeSize()
{
    const QIcon icon = Artwork::programIcon();
    const QList<int> sides{16, 22, 24, 32, 48, 64, 128, 256};
    QCOMPARE(Artwork::programIconSizes(), sides);
    QList<QSize> expected;
    for (int side : sides)
        expected.append(QSize(side, side));
    QCOMPARE(icon.availableSizes(), expected);
    for (int side : sides) {
        const QImage img = image(icon, side);
        QCOMPARE(img.size(), QSize(side, side));
        QVERIFY2(opaquePixels(img) >= side * side / 2, qPrintable(QString::number(side)));
    }
    // The icon the program starts with is the same mark, offered at 16 px only, and still drawn at
    // any other size asked for (a tray that wants 22 px before the window sizes arrive).
    const QIcon start = Artwork::startIcon();
    QCOMPARE(start.availableSizes(), QList<QSize>{QSize(16, 16)});
    QCOMPARE(differingPixels(image(start, 16), image(icon, 16)), 0);
    QCOMPARE(image(start, 22).size(), QSize(22, 22));
    // The tray's resting frame is the program's mark plus its glint, not another picture.
    const QImage mark = Artwork::paintProgramIcon(16);
    const QImage resting = Artwork::paintTrayFrame(Artwork::trayRestingFrame, 16);
    QVERIFY(differingPixels(mark, resting) < 16 * 16 / 3);
}

void TestArtwork::aboutPanelPictures()
{
    const QPixmap title = Artwork::titleArtwork();
    QCOMPARE(title.size(), QSize(214, 32));
    // The name runs across most of the width.
    const QImage t = title.toImage().convertToFormat(QImage::Format_ARGB32);
    int first = -1;
    int last = -1;
    for (int x = 0; x < t.width(); ++x)
        for (int y = 0; y < t.height(); ++y)
            if (qAlpha(t.pixel(x, y)) == 255) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    QVERIFY2(first >= 0 && first < 10 && last - first > 150, qPrintable(QStringLiteral("%1..%2").arg(first).arg(last)));

    const QPixmap link = Artwork::linkIcon();
    QCOMPARE(link.size(), QSize(16, 16));
    QVERIFY(opaquePixels(link.toImage()) >= 100);
    QCOMPARE(Artwork::handCursor().shape(), Qt::PointingHandCursor);
}

void TestArtwork::fillImageListReplacesContents()
{
    ImageList list(QSize(16, 16));
    list.add(QIcon());
    const QList<QIcon> frames = Artwork::trayImages();
    Artwork::fillImageList(list, frames);
    QCOMPARE(list.count(), 6);
    QCOMPARE(image(list.icon(5), 16), image(frames.at(5), 16));
    Artwork::fillImageList(list, Artwork::commandImages());
    QCOMPARE(list.count(), 38);
    QVERIFY(!list.icon(37).isNull());
}

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
