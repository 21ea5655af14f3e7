#include "artwork/IconCanvas.h"

#include <QtMath>

#include <algorithm>

IconCanvas::IconCanvas(QImage &image, qreal units)
    : m_painter(&image), m_pixels(image.width())
{
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.scale(m_pixels / units, m_pixels / units);
}

void IconCanvas::fill(const QPainterPath &path, const QBrush &brush, const QColor &edge, qreal edgeWidth)
{
    if (edge.isValid() && edgeWidth > 0)
        m_painter.setPen(QPen(edge, edgeWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    else
        m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(brush);
    m_painter.drawPath(path);
}

void IconCanvas::fillRect(const QRectF &rect, const QBrush &brush, const QColor &edge, qreal radius)
{
    fill(roundRect(rect, radius), brush, edge);
}

void IconCanvas::stroke(const QPainterPath &path, const QColor &color, qreal width, Qt::PenCapStyle cap)
{
    m_painter.setPen(QPen(color, width, Qt::SolidLine, cap, Qt::RoundJoin));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(path);
}

void IconCanvas::line(QPointF from, QPointF to, const QColor &color, qreal width, Qt::PenCapStyle cap)
{
    m_painter.setPen(QPen(color, width, Qt::SolidLine, cap));
    m_painter.drawLine(from, to);
}

void IconCanvas::rimmedStroke(const QPainterPath &path, const QColor &color, const QColor &rim, qreal width)
{
    stroke(path, rim, width + 1.2);
    stroke(path, color, width);
}

QLinearGradient IconCanvas::shade(qreal top, qreal bottom, const QColor &from, const QColor &to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

void IconCanvas::textLines(qreal left, qreal right, qreal top, int count, qreal step, const QColor &color)
{
    for (int i = 0; i < count; ++i) {
        // The last line of a paragraph runs short, as text does.
        const qreal end = (i == count - 1 && count > 1) ? left + (right - left) * 0.6 : right;
        line(QPointF(left, top + i * step), QPointF(end, top + i * step), color, 1);
    }
}

QPainterPath IconCanvas::roundRect(const QRectF &rect, qreal radius)
{
    QPainterPath p;
    if (radius > 0)
        p.addRoundedRect(rect, radius, radius);
    else
        p.addRect(rect);
    return p;
}

QPainterPath IconCanvas::polygon(std::initializer_list<QPointF> points)
{
    QPainterPath p;
    bool first = true;
    for (const QPointF &pt : points) {
        if (first)
            p.moveTo(pt);
        else
            p.lineTo(pt);
        first = false;
    }
    p.closeSubpath();
    return p;
}

namespace {

// Lays a light rim, one pixel wide at toolbar sizes, under every drawn pixel.
QImage withHalo(const QImage &source)
{
    const int w = source.width();
    const int h = source.height();
    const int r = std::max(1, w / 20);
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int a = 0;
            for (int dy = -r; dy <= r && a < 255; ++dy) {
                const int yy = y + dy;
                if (yy < 0 || yy >= h)
                    continue;
                const auto *src = reinterpret_cast<const QRgb *>(source.constScanLine(yy));
                for (int dx = -r; dx <= r; ++dx) {
                    const int xx = x + dx;
                    if (xx >= 0 && xx < w && dx * dx + dy * dy <= r * r + r)
                        a = std::max(a, qAlpha(src[xx]));
                }
            }
            const int ha = a * 150 / 255;
            dst[x] = qRgba(ha, ha, ha, ha);
        }
    }
    QPainter p(&out);
    p.drawImage(0, 0, source);
    return out;
}

} // namespace

QImage paintIcon(int pixels, const std::function<void(IconCanvas &)> &draw, bool halo)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        IconCanvas canvas(image);
        draw(canvas);
    }
    return halo ? withHalo(image) : image;
}
