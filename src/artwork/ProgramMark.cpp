#include "artwork/ProgramMark.h"

#include "artwork/IconCanvas.h"

#include <QtMath>

#include <algorithm>

namespace {

using P = QPointF;

// The "V" is a polyline for the glint and a filled outline for the letter.
const P vLeft(5.3, 4.2);
const P vBottom(7.9, 11.2);
const P vRight(10.5, 4.2);

QPainterPath letterV()
{
    return IconCanvas::polygon({P(4.2, 3.6), P(6.6, 3.6), P(7.9, 8.2), P(9.2, 3.6), P(11.6, 3.6), P(8.9, 11.6),
                                P(6.9, 11.6)});
}

void glint(IconCanvas &c, P centre)
{
    QRadialGradient shine(centre, 3.2);
    shine.setColorAt(0, QColor(255, 255, 255, 255));
    shine.setColorAt(0.35, QColor(255, 250, 200, 200));
    shine.setColorAt(1, QColor(255, 240, 150, 0));
    QPainterPath star;
    const qreal arm = 3.2;
    const qreal waist = 0.7;
    star.moveTo(centre + P(0, -arm));
    star.lineTo(centre + P(waist, -waist));
    star.lineTo(centre + P(arm, 0));
    star.lineTo(centre + P(waist, waist));
    star.lineTo(centre + P(0, arm));
    star.lineTo(centre + P(-waist, waist));
    star.lineTo(centre + P(-arm, 0));
    star.lineTo(centre + P(-waist, -waist));
    star.closeSubpath();
    c.fill(star, shine, QColor());
    QPainterPath core;
    core.addEllipse(centre, 0.9, 0.9);
    c.fill(core, Qt::white, QColor());
}

} // namespace

void ProgramMark::paint(IconCanvas &c)
{
    const bool large = c.pixels() >= 48;
    // Edges stay about a pixel and a half wide at 48 and thin out in proportion above that.
    const qreal edge = large ? std::max(24.0 / c.pixels(), 0.22) : 1.0;
    // The page block shows below and to the right of the cover.
    const QPainterPath pages = IconCanvas::roundRect(QRectF(3.5, 3, 11, 12), 0.8);
    c.fill(pages, IconCanvas::shade(3, 15, Ink::cream, Ink::cream.darker(115)), Ink::outline, edge);
    if (large) {
        for (qreal y = 13.9; y < 14.8; y += 0.3)
            c.line(P(4.5, y), P(13.6, y), Ink::cream.darker(135), 0.08);
        for (qreal x = 13.0; x < 14.4; x += 0.3)
            c.line(P(x, 4), P(x, 14), Ink::cream.darker(135), 0.08);
    }
    const QRectF coverRect(1.5, 1.5, 11, 12);
    QLinearGradient cover(coverRect.topLeft(), coverRect.bottomRight());
    cover.setColorAt(0, Ink::navyLight);
    cover.setColorAt(0.55, Ink::navy);
    cover.setColorAt(1, Ink::navyDark);
    c.fill(IconCanvas::roundRect(coverRect, 1), cover, Ink::navyDark, edge);
    // The spine edge catches the light.
    c.line(P(3, 2), P(3, 13), QColor(255, 255, 255, large ? 60 : 45), large ? 0.6 : 1);
    if (large)
        c.fill(IconCanvas::roundRect(coverRect.adjusted(2.2, 0.9, -0.9, -0.9), 0.5), Qt::NoBrush,
               QColor(Ink::amber.red(), Ink::amber.green(), Ink::amber.blue(), 170), 0.25);
    QLinearGradient letter(0, 3.6, 0, 11.6);
    letter.setColorAt(0, Ink::spring.lighter(125));
    letter.setColorAt(1, Ink::spring.darker(115));
    c.fill(letterV(), letter, Ink::springDark, large ? edge * 0.8 : 0.8);
}

void ProgramMark::paintTrayFrame(IconCanvas &c, int frame)
{
    paint(c);
    // The resting frame puts the glint at the tip of the left arm; each later frame moves it one step along.
    const int step = ((frame - restingFrame) % trayFrames + trayFrames) % trayFrames;
    const qreal t = step / qreal(trayFrames - 1);
    const P at = t < 0.5 ? vLeft + (vBottom - vLeft) * (t * 2) : vBottom + (vRight - vBottom) * ((t - 0.5) * 2);
    glint(c, at);
}
