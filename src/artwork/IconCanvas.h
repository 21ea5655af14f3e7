#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

// The one palette every picture of the program is drawn from.
namespace Ink {
constexpr QColor outline{46, 59, 78};
constexpr QColor paper{253, 253, 250};
constexpr QColor paperShade{222, 229, 237};
constexpr QColor text{120, 136, 156};
constexpr QColor blue{59, 125, 216};
constexpr QColor blueLight{150, 192, 240};
constexpr QColor blueDark{31, 79, 150};
constexpr QColor green{76, 175, 80};
constexpr QColor greenLight{150, 220, 140};
constexpr QColor greenDark{37, 107, 44};
constexpr QColor red{226, 68, 58};
constexpr QColor redLight{245, 140, 120};
constexpr QColor redDark{150, 31, 23};
constexpr QColor amber{245, 185, 60};
constexpr QColor amberLight{255, 226, 140};
constexpr QColor amberDark{168, 112, 15};
constexpr QColor wood{205, 145, 80};
constexpr QColor woodDark{122, 80, 33};
constexpr QColor steel{196, 205, 214};
constexpr QColor steelDark{93, 106, 120};
constexpr QColor navy{27, 45, 107};
constexpr QColor navyLight{52, 82, 170};
constexpr QColor navyDark{12, 20, 58};
constexpr QColor spring{25, 230, 140};
constexpr QColor springDark{0, 120, 70};
constexpr QColor cream{246, 239, 218};
constexpr QColor halo{255, 255, 255};
} // namespace Ink

// A square drawing surface addressed in units of a 16-unit grid, whatever its size in pixels.
// Lines of one unit placed on half units stay sharp at 16 and 32 pixels.
class IconCanvas final
{
public:
    IconCanvas(QImage &image, qreal units = 16);

    QPainter &painter() { return m_painter; }
    int pixels() const { return m_pixels; }
    // Sizes of 24 pixels and more have room for finer detail.
    bool large() const { return m_pixels >= 24; }

    void fill(const QPainterPath &path, const QBrush &brush, const QColor &edge, qreal edgeWidth = 1);
    void fillRect(const QRectF &rect, const QBrush &brush, const QColor &edge, qreal radius = 0);
    void stroke(const QPainterPath &path, const QColor &color, qreal width, Qt::PenCapStyle cap = Qt::RoundCap);
    void line(QPointF from, QPointF to, const QColor &color, qreal width = 1, Qt::PenCapStyle cap = Qt::FlatCap);
    // A stroke with a darker rim, for handles, blades and arrow shafts.
    void rimmedStroke(const QPainterPath &path, const QColor &color, const QColor &rim, qreal width);
    // A top-to-bottom shading between two colours.
    static QLinearGradient shade(qreal top, qreal bottom, const QColor &from, const QColor &to);
    // Ruled lines standing for text, one unit apart by default.
    void textLines(qreal left, qreal right, qreal top, int count, qreal step = 2, const QColor &color = Ink::text);

    static QPainterPath roundRect(const QRectF &rect, qreal radius);
    static QPainterPath polygon(std::initializer_list<QPointF> points);

private:
    QPainter m_painter;
    int m_pixels;
};

// Paints one picture at the given size; with a halo, a light rim keeps it readable on dark backgrounds.
QImage paintIcon(int pixels, const std::function<void(IconCanvas &)> &draw, bool halo = true);
