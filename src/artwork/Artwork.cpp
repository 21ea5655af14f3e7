#include "artwork/Artwork.h"

#include "artwork/CommandImages.h"
#include "artwork/IconCanvas.h"
#include "artwork/PaintedIconEngine.h"
#include "artwork/ProgramMark.h"
#include "platform/ImageList.h"

#include <QFont>
#include <QTransform>

static_assert(Artwork::commandImageCount == CommandImages::count);
static_assert(Artwork::trayFrameCount == ProgramMark::trayFrames);
static_assert(Artwork::trayRestingFrame == ProgramMark::restingFrame);

QList<int> Artwork::commandImageSizes()
{
    return {16, 32};
}

QList<int> Artwork::trayImageSizes()
{
    // Trays on dense screens ask for 22 or 24 pixels.
    return {16, 22, 24};
}

QList<int> Artwork::programIconSizes()
{
    return {16, 22, 24, 32, 48, 64, 128, 256};
}

QList<int> Artwork::windowIconSizes()
{
    // Title bars, taskbars and trays use 16 to 48 px; switchers that show more take the theme's icon named by
    // the desktop entry. Each size is painted at every start: 64 px alone would cost as much as the others.
    return {16, 22, 24, 32, 48};
}

QImage Artwork::paintCommandImage(int index, int pixels)
{
    return paintIcon(pixels, [index](IconCanvas &c) { CommandImages::paint(c, index); });
}

QImage Artwork::paintTrayFrame(int frame, int pixels)
{
    return paintIcon(pixels, [frame](IconCanvas &c) { ProgramMark::paintTrayFrame(c, frame); });
}

QImage Artwork::paintProgramIcon(int pixels)
{
    // The halo helps a small mark on a dark panel; large sizes have their own lit edges.
    return paintIcon(pixels, [](IconCanvas &c) { ProgramMark::paint(c); }, pixels < 48);
}

QList<QIcon> Artwork::commandImages()
{
    QList<QIcon> icons;
    icons.reserve(commandImageCount);
    for (int i = 0; i < commandImageCount; ++i)
        icons.append(PaintedIconEngine::icon([i](int px) { return paintCommandImage(i, px); }, commandImageSizes()));
    return icons;
}

QList<QIcon> Artwork::trayImages()
{
    QList<QIcon> icons;
    icons.reserve(trayFrameCount);
    for (int i = 0; i < trayFrameCount; ++i)
        icons.append(PaintedIconEngine::icon([i](int px) { return paintTrayFrame(i, px); }, trayImageSizes()));
    return icons;
}

QIcon Artwork::programIcon()
{
    return PaintedIconEngine::icon(&paintProgramIcon, programIconSizes());
}

QIcon Artwork::windowIcon()
{
    return PaintedIconEngine::icon(&paintProgramIcon, windowIconSizes());
}

QIcon Artwork::startIcon()
{
    return PaintedIconEngine::icon(&paintProgramIcon, {16});
}

QImage Artwork::paintLinkIcon(int pixels)
{
    return paintIcon(pixels, [](IconCanvas &c) {
        const QPointF centre(8, 8);
        QPainterPath globe;
        globe.addEllipse(centre, 6.5, 6.5);
        QRadialGradient sea(QPointF(6, 5.5), 9);
        sea.setColorAt(0, Ink::blueLight);
        sea.setColorAt(1, Ink::blue);
        c.fill(globe, sea, Ink::blueDark);
        QPainterPath grid;
        grid.addEllipse(centre, 2.8, 6.5);
        grid.moveTo(8, 1.5);
        grid.lineTo(8, 14.5);
        grid.moveTo(1.5, 8);
        grid.lineTo(14.5, 8);
        grid.moveTo(2.6, 4.8);
        grid.lineTo(13.4, 4.8);
        grid.moveTo(2.6, 11.2);
        grid.lineTo(13.4, 11.2);
        c.stroke(grid, QColor(255, 255, 255, 190), 0.8);
        c.stroke(globe, Ink::blueDark, 1);
    });
}

QImage Artwork::paintTitleArtwork()
{
    QImage image(214, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath word;
    word.addText(0, 0, font, QStringLiteral("Verbarium"));
    const QRectF box = word.boundingRect();
    // The name fills the height, left-aligned beside the program icon, whatever serif face is found.
    const qreal scale = std::min(26.0 / box.height(), 208.0 / box.width());
    QTransform t;
    t.translate(2, 3);
    t.scale(scale, scale);
    t.translate(-box.left(), -box.top());
    word = t.map(word);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 32, 60));
    p.drawPath(word.translated(1.2, 1.4));
    QLinearGradient fill(0, 3, 0, 29);
    fill.setColorAt(0, Ink::navyLight);
    fill.setColorAt(0.6, Ink::navy);
    fill.setColorAt(1, Ink::springDark);
    p.setBrush(fill);
    p.setPen(QPen(Ink::navyDark, 0.6));
    p.drawPath(word);
    // A thin spring-green rule under the name echoes the word list's colours.
    const qreal right = word.boundingRect().right();
    QLinearGradient rule(2, 0, right, 0);
    rule.setColorAt(0, Ink::spring);
    rule.setColorAt(1, QColor(Ink::spring.red(), Ink::spring.green(), Ink::spring.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(rule);
    p.drawRect(QRectF(2, 30, right - 2, 1.5));
    return image;
}

QPixmap Artwork::titleArtwork()
{
    return QPixmap::fromImage(paintTitleArtwork());
}

QPixmap Artwork::linkIcon()
{
    return QPixmap::fromImage(paintLinkIcon(16));
}

QImage Artwork::paintToolBarExtension(Qt::Orientation orientation, int pixels)
{
    return paintIcon(pixels, [orientation](IconCanvas &c) {
        QPainterPath chevrons;
        for (const qreal x : {4.5, 9.0}) {
            chevrons.moveTo(x, 4.5);
            chevrons.lineTo(x + 3, 8);
            chevrons.lineTo(x, 11.5);
        }
        // A vertical bar hides its buttons below: the same chevrons mirrored across the diagonal.
        if (orientation == Qt::Vertical)
            chevrons = QTransform(0, 1, 1, 0, 0, 0).map(chevrons);
        c.stroke(chevrons, Ink::outline, 1.5);
    });
}

QIcon Artwork::toolBarExtensionIcon(Qt::Orientation orientation)
{
    return PaintedIconEngine::icon([orientation](int pixels) { return paintToolBarExtension(orientation, pixels); },
                                   commandImageSizes());
}

QCursor Artwork::handCursor()
{
    // The platform's own pointing hand matches the rest of the desktop.
    return QCursor(Qt::PointingHandCursor);
}

void Artwork::fillImageList(ImageList &list, const QList<QIcon> &icons)
{
    list.clear();
    for (const QIcon &icon : icons)
        list.add(icon);
}
