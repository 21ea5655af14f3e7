#include "artwork/CommandImages.h"

#include "artwork/IconCanvas.h"

#include <QtMath>

namespace {

using P = QPointF;

// ---- parts shared by several pictures ----

// A sheet of paper with its top right corner folded over.
void sheet(IconCanvas &c, const QRectF &r, qreal fold = 3)
{
    const QPainterPath body = IconCanvas::polygon({r.topLeft(), P(r.right() - fold, r.top()),
                                                   P(r.right(), r.top() + fold), r.bottomRight(), r.bottomLeft()});
    c.fill(body, IconCanvas::shade(r.top(), r.bottom(), Ink::paper, Ink::paperShade), Ink::outline);
    if (fold > 0) {
        const QPainterPath corner = IconCanvas::polygon(
            {P(r.right() - fold, r.top()), P(r.right() - fold, r.top() + fold), P(r.right(), r.top() + fold)});
        c.fill(corner, Ink::paperShade, Ink::outline);
    }
}

// A wooden board with a steel clip and a sheet held on it.
void clipboard(IconCanvas &c, const QRectF &r)
{
    c.fillRect(r, IconCanvas::shade(r.top(), r.bottom(), Ink::wood, Ink::woodDark.lighter(130)), Ink::woodDark, 1);
    c.fillRect(r.adjusted(2, 2, -2, -1), Ink::paper, QColor());
    const qreal mid = r.center().x();
    c.fillRect(QRectF(mid - 2.5, r.top() - 1, 5, 3), IconCanvas::shade(r.top() - 1, r.top() + 2, Ink::steel, Ink::steelDark),
               Ink::outline, 0.8);
}

// A magnifying glass whose lens is centred on `centre`; the handle points down to the right.
void magnifier(IconCanvas &c, P centre, qreal radius, const QColor &handle = Ink::woodDark)
{
    const qreal d = radius * 0.7071;
    QPainterPath grip;
    grip.moveTo(centre + P(d + 0.6, d + 0.6));
    grip.lineTo(centre + P(d + 3.6, d + 3.6));
    c.rimmedStroke(grip, handle, Ink::outline, 2.0);
    QPainterPath lens;
    lens.addEllipse(centre, radius, radius);
    QRadialGradient glass(centre - P(radius / 3, radius / 3), radius * 1.4);
    glass.setColorAt(0, QColor(255, 255, 255, 240));
    glass.setColorAt(1, QColor(Ink::blueLight.red(), Ink::blueLight.green(), Ink::blueLight.blue(), 200));
    c.fill(lens, glass, QColor());
    c.stroke(lens, Ink::outline, 1.4);
}

// A loudspeaker facing right, its back at x, its middle at y; `s` scales it.
void speaker(IconCanvas &c, qreal x, qreal y, qreal s = 1)
{
    const QPainterPath box = IconCanvas::polygon(
        {P(x, y - 2.5 * s), P(x + 3 * s, y - 2.5 * s), P(x + 7 * s, y - 5.5 * s), P(x + 7 * s, y + 5.5 * s),
         P(x + 3 * s, y + 2.5 * s), P(x, y + 2.5 * s)});
    c.fill(box, IconCanvas::shade(y - 5.5 * s, y + 5.5 * s, Ink::steel, Ink::steelDark), Ink::outline);
    c.line(P(x + 3 * s, y - 2.5 * s), P(x + 3 * s, y + 2.5 * s), Ink::outline, 0.8);
}

// Sound waves spreading right from (x, y).
void waves(IconCanvas &c, qreal x, qreal y, int count, qreal first = 2.5, qreal step = 2.5)
{
    for (int i = 0; i < count; ++i) {
        const qreal r = first + i * step;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(x - r, y - r, 2 * r, 2 * r), 45);
        arc.arcTo(QRectF(x - r, y - r, 2 * r, 2 * r), 45, -90);
        c.stroke(arc, Ink::blue, 1.4);
    }
}

// A window with a blue title bar.
void window(IconCanvas &c, const QRectF &r)
{
    c.fillRect(r, Ink::paper, Ink::outline);
    c.fillRect(QRectF(r.left(), r.top(), r.width(), 3), IconCanvas::shade(r.top(), r.top() + 3, Ink::blueLight, Ink::blue),
               Ink::outline);
}

// A thick arrow pointing down inside the 16-unit square, turned by `degrees` clockwise.
QPainterPath arrow(qreal degrees, bool withBar = false)
{
    QPainterPath p = withBar
        ? IconCanvas::polygon({P(5.5, 1.5), P(10.5, 1.5), P(10.5, 5.5), P(14.5, 5.5), P(8, 12), P(1.5, 5.5), P(5.5, 5.5)})
        : IconCanvas::polygon({P(5.5, 1.5), P(10.5, 1.5), P(10.5, 7.5), P(14.5, 7.5), P(8, 14), P(1.5, 7.5), P(5.5, 7.5)});
    QTransform t;
    t.translate(8, 8);
    t.rotate(degrees);
    t.translate(-8, -8);
    return t.map(p);
}

void paintArrow(IconCanvas &c, qreal degrees, const QColor &light, const QColor &mid, const QColor &dark, bool withBar = false)
{
    QLinearGradient g(P(8, 8) + QTransform().rotate(degrees).map(P(0, -6)), P(8, 8) + QTransform().rotate(degrees).map(P(0, 6)));
    g.setColorAt(0, light);
    g.setColorAt(1, mid);
    c.fill(arrow(degrees, withBar), g, dark);
    if (withBar) {
        QTransform t;
        t.translate(8, 8);
        t.rotate(degrees);
        t.translate(-8, -8);
        c.fill(t.map(IconCanvas::roundRect(QRectF(2.5, 13, 11, 2), 0)), dark, QColor());
    }
}

// A hooked arrow: out to the right, round, and back pointing left, the picture of a step back.
void curvedArrow(IconCanvas &c, bool mirrored, const QColor &mid, const QColor &dark)
{
    QTransform m;
    if (mirrored)
        m = QTransform(-1, 0, 0, 1, 16, 0);
    QPainterPath hook;
    hook.moveTo(5, 5.5);
    hook.lineTo(9.5, 5.5);
    hook.arcTo(QRectF(6, 5.5, 7.5, 7.5), 90, -180);
    hook.lineTo(6, 13);
    c.stroke(m.map(hook), dark, 3.2, Qt::FlatCap);
    c.stroke(m.map(hook), mid, 1.8, Qt::FlatCap);
    c.fill(m.map(IconCanvas::polygon({P(1.5, 5.5), P(6, 1.5), P(6, 9.5)})), mid, dark);
}

// A gear wheel with `teeth` teeth.
QPainterPath gear(P centre, qreal outer, qreal inner, int teeth)
{
    QPainterPath p;
    const qreal step = 2 * M_PI / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        const qreal pts[4][2] = {{a - step * 0.22, inner}, {a - step * 0.14, outer}, {a + step * 0.14, outer},
                                 {a + step * 0.22, inner}};
        for (int k = 0; k < 4; ++k) {
            const P pt = centre + P(qCos(pts[k][0]) * pts[k][1], qSin(pts[k][0]) * pts[k][1]);
            if (i == 0 && k == 0)
                p.moveTo(pt);
            else
                p.lineTo(pt);
        }
    }
    p.closeSubpath();
    p.addEllipse(centre, outer * 0.32, outer * 0.32);
    p.setFillRule(Qt::OddEvenFill);
    return p;
}

// ---- the pictures ----

void cut(IconCanvas &c)
{
    // Two open blades crossing at the pivot, their ring handles below.
    QPainterPath blades;
    blades.moveTo(4, 1.5);
    blades.lineTo(10, 10.2);
    blades.moveTo(12, 1.5);
    blades.lineTo(6, 10.2);
    c.stroke(blades, Ink::steelDark, 2.2);
    c.stroke(blades, Ink::steel, 1.0);
    for (const P centre : {P(4.6, 12.4), P(11.4, 12.4)}) {
        QPainterPath ring;
        ring.addEllipse(centre, 2.1, 2.1);
        c.stroke(ring, Ink::redDark, 2.4);
        c.stroke(ring, Ink::red, 1.2);
    }
    QPainterPath pivot;
    pivot.addEllipse(P(8, 7.3), 0.8, 0.8);
    c.fill(pivot, Ink::outline, QColor());
}

void copy(IconCanvas &c)
{
    sheet(c, QRectF(1.5, 1.5, 8, 10), 2.5);
    c.textLines(3.5, 6.5, 5.5, 2);
    sheet(c, QRectF(6.5, 4.5, 8, 10), 2.5);
    c.textLines(8.5, 12.5, 8.5, 3);
}

void paste(IconCanvas &c)
{
    clipboard(c, QRectF(1.5, 2.5, 10, 12));
    sheet(c, QRectF(7.5, 6.5, 7, 8.5), 2);
    c.textLines(9.5, 12.5, 10.5, 2);
}

void newDocument(IconCanvas &c)
{
    sheet(c, QRectF(3.5, 1.5, 10, 13));
    c.textLines(5.5, 11.5, 8.5, 3);
    // A small star says "new".
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2) ? 1.4 : 3.2;
        const P pt(4.5 + qCos(a) * r, 4.5 + qSin(a) * r);
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    c.fill(star, Ink::amber, Ink::amberDark, 0.8);
}

void openFolder(IconCanvas &c)
{
    const QPainterPath back = IconCanvas::polygon({P(1.5, 3.5), P(6, 3.5), P(7.5, 5), P(13.5, 5), P(13.5, 13.5), P(1.5, 13.5)});
    c.fill(back, IconCanvas::shade(3.5, 13.5, Ink::amberDark.lighter(140), Ink::amberDark), Ink::amberDark.darker(130));
    sheet(c, QRectF(3.5, 6.5 - 2, 8, 5), 0);
    const QPainterPath front = IconCanvas::polygon({P(3.5, 8), P(15, 8), P(13, 13.5), P(1.5, 13.5)});
    c.fill(front, IconCanvas::shade(8, 13.5, Ink::amberLight, Ink::amber), Ink::amberDark.darker(130));
}

void save(IconCanvas &c)
{
    c.fillRect(QRectF(1.5, 1.5, 13, 13), IconCanvas::shade(1.5, 14.5, Ink::blueLight, Ink::blue), Ink::blueDark, 1.5);
    c.fillRect(QRectF(4.5, 1.5, 7, 5), Ink::paper, Ink::blueDark);
    c.fillRect(QRectF(9, 2.5, 1.5, 3), Ink::blueDark, QColor());
    c.fillRect(QRectF(3.5, 9.5, 9, 5), Ink::steel, Ink::blueDark);
}

void print(IconCanvas &c)
{
    sheet(c, QRectF(4.5, 1.5, 7, 6), 0);
    c.fillRect(QRectF(1.5, 6.5, 13, 6), IconCanvas::shade(6.5, 12.5, Ink::steel, Ink::steelDark), Ink::outline, 1.5);
    c.fillRect(QRectF(12, 8, 1.5, 1.5), Ink::green, QColor());
    sheet(c, QRectF(4.5, 10.5, 7, 4), 0);
    c.textLines(6, 10, 12.5, 1);
}

void find(IconCanvas &c)
{
    magnifier(c, P(6.5, 6.5), 4.5);
}

void wordList(IconCanvas &c)
{
    c.fillRect(QRectF(1.5, 1.5, 13, 13), Ink::paper, Ink::outline, 1);
    for (int i = 0; i < 4; ++i) {
        const qreal y = 4 + i * 2.8;
        QPainterPath dot;
        dot.addEllipse(P(4.5, y), 1.1, 1.1);
        c.fill(dot, Ink::blue, QColor());
        c.line(P(6.5, y), P(i % 2 ? 10.5 : 12.5, y), Ink::outline, 1);
    }
}

void selectAll(IconCanvas &c)
{
    c.fillRect(QRectF(1.5, 1.5, 13, 13), QColor(Ink::blueLight.red(), Ink::blueLight.green(), Ink::blueLight.blue(), 110),
               QColor());
    QPainterPath frame;
    frame.addRect(QRectF(1.5, 1.5, 13, 13));
    c.painter().setPen(QPen(Ink::blueDark, 1, Qt::DashLine, Qt::FlatCap));
    c.painter().setBrush(Qt::NoBrush);
    c.painter().drawPath(frame);
    c.textLines(4, 12, 5.5, 3, 2.5, Ink::outline);
}

void zoom(IconCanvas &c, bool in)
{
    magnifier(c, P(6.5, 6.5), 4.5);
    c.line(P(4, 6.5), P(9, 6.5), Ink::outline, 1.6);
    if (in)
        c.line(P(6.5, 4), P(6.5, 9), Ink::outline, 1.6);
}

// The letters are drawn rather than set from a font: no font has to be loaded for a toolbar,
// and a face's own italic is too thin at 16 pixels.
void bold(IconCanvas &c)
{
    QPainterPath letter = IconCanvas::roundRect(QRectF(3.5, 2, 7.4, 5.8), 2.9)
                              .united(IconCanvas::roundRect(QRectF(3.5, 7, 8.2, 7), 3.2))
                              .united(IconCanvas::roundRect(QRectF(3.5, 2, 4, 12), 0));
    letter = letter.subtracted(IconCanvas::roundRect(QRectF(6.3, 4.1, 2.4, 1.8), 0.9))
                 .subtracted(IconCanvas::roundRect(QRectF(6.3, 9.1, 2.9, 2.8), 1.2));
    c.fill(letter, Ink::outline, QColor());
}

void underline(IconCanvas &c)
{
    QPainterPath letter;
    letter.moveTo(4.7, 1.5);
    letter.lineTo(4.7, 7.5);
    letter.arcTo(QRectF(4.7, 4.3, 6.6, 6.6), 180, 180);
    letter.lineTo(11.3, 1.5);
    c.stroke(letter, Ink::outline, 2.2, Qt::FlatCap);
    c.fillRect(QRectF(2.5, 12.5, 11, 1.6), Ink::blue, QColor());
}

void italic(IconCanvas &c)
{
    c.fill(IconCanvas::polygon({P(6.5, 2), P(12.2, 2), P(11.8, 3.8), P(10.6, 3.8), P(8.8, 12.2), P(10, 12.2), P(9.6, 14),
                                P(3.9, 14), P(4.3, 12.2), P(5.5, 12.2), P(7.3, 3.8), P(6.1, 3.8)}),
           Ink::outline, QColor());
}

void fontColour(IconCanvas &c)
{
    QPainterPath letter = IconCanvas::polygon({P(6.6, 1.5), P(9.4, 1.5), P(13.5, 11), P(11, 11), P(10.1, 8.7), P(5.9, 8.7),
                                               P(5, 11), P(2.5, 11)});
    letter.addPath(IconCanvas::polygon({P(8, 4.3), P(9.3, 6.8), P(6.7, 6.8)}));
    letter.setFillRule(Qt::OddEvenFill);
    c.fill(letter, Ink::outline, QColor());
    c.fillRect(QRectF(1.5, 12.5, 13, 2.5), Ink::red, Ink::redDark);
}

void options(IconCanvas &c)
{
    c.fill(gear(P(8, 8), 6.6, 4.6, 8), IconCanvas::shade(1.5, 14.5, Ink::steel, Ink::steelDark), Ink::outline);
}

void send(IconCanvas &c)
{
    const QRectF r(1.5, 3.5, 13, 9);
    c.fillRect(r, IconCanvas::shade(r.top(), r.bottom(), Ink::paper, Ink::paperShade), Ink::outline);
    QPainterPath flap;
    flap.moveTo(r.topLeft());
    flap.lineTo(8, 9);
    flap.lineTo(r.topRight());
    c.fill(flap, QColor(Ink::blueLight.red(), Ink::blueLight.green(), Ink::blueLight.blue(), 120), QColor());
    c.stroke(flap, Ink::outline, 1);
    QPainterPath folds;
    folds.moveTo(r.bottomLeft());
    folds.lineTo(6, 8);
    folds.moveTo(r.bottomRight());
    folds.lineTo(10, 8);
    c.stroke(folds, Ink::text, 0.8);
}

void help(IconCanvas &c)
{
    QPainterPath disc;
    disc.addEllipse(P(8, 8), 6.6, 6.6);
    c.fill(disc, IconCanvas::shade(1.5, 14.5, Ink::blueLight, Ink::blue), Ink::blueDark);
    // Hand-drawn, so the toolbar needs no font to be loaded for it.
    const QRectF bowl(5.3, 3.5, 5.4, 5.2);
    QPainterPath hook;
    hook.arcMoveTo(bowl, 165);
    hook.arcTo(bowl, 165, -225);
    hook.lineTo(8, 9.4);
    hook.lineTo(8, 10);
    c.stroke(hook, Ink::paper, 1.9, Qt::FlatCap);
    QPainterPath dot;
    dot.addEllipse(P(8, 12), 1.15, 1.15);
    c.fill(dot, Ink::paper, QColor());
}

void stop(IconCanvas &c)
{
    c.fillRect(QRectF(2.5, 2.5, 11, 11), IconCanvas::shade(2.5, 13.5, Ink::redLight, Ink::red), Ink::redDark, 1.5);
    c.fillRect(QRectF(4, 4, 8, 3), QColor(255, 255, 255, 70), QColor(), 1);
}

void speakWord(IconCanvas &c)
{
    speaker(c, 1.5, 8);
    waves(c, 8.5, 8, 1, 4.6);
}

void speakDefinition(IconCanvas &c)
{
    speaker(c, 1.5, 6, 0.8);
    waves(c, 7.5, 6, 2, 2.2, 2.5);
    c.textLines(1.5, 14.5, 12.5, 2, 2, Ink::outline);
}

void checkClipboard(IconCanvas &c)
{
    clipboard(c, QRectF(1.5, 2.5, 10, 12));
    c.textLines(4, 8, 6.5, 2, 2, Ink::text);
    magnifier(c, P(10, 10), 3, Ink::outline);
}

void checkClipboardSound(IconCanvas &c)
{
    clipboard(c, QRectF(1.5, 2.5, 10, 12));
    c.textLines(4, 8, 6.5, 2, 2, Ink::text);
    speaker(c, 7, 11, 0.72);
    waves(c, 11.5, 11, 1, 2.6);
}

void explorer(IconCanvas &c, bool show)
{
    const QRectF r(1.5, 2.5, 13, 11);
    window(c, r);
    if (show) {
        c.fillRect(QRectF(1.5, 5.5, 5, 8), Ink::navy, Ink::outline);
        c.textLines(3, 5, 7.5, 3, 2, Ink::spring);
        c.fill(IconCanvas::polygon({P(9, 7), P(12, 9.5), P(9, 12)}), Ink::green, Ink::greenDark, 0.8);
    } else {
        QPainterPath edge;
        edge.moveTo(4.5, 5.5);
        edge.lineTo(4.5, 13.5);
        c.painter().setPen(QPen(Ink::text, 1, Qt::DotLine));
        c.painter().drawPath(edge);
        c.fill(IconCanvas::polygon({P(11, 7), P(8, 9.5), P(11, 12)}), Ink::green, Ink::greenDark, 0.8);
    }
}

void restore(IconCanvas &c)
{
    window(c, QRectF(5.5, 1.5, 9, 8));
    window(c, QRectF(1.5, 6.5, 9, 8));
}

void closeWindow(IconCanvas &c)
{
    window(c, QRectF(1.5, 1.5, 11, 10));
    QPainterPath badge;
    badge.addEllipse(P(11, 11), 4, 4);
    c.fill(badge, IconCanvas::shade(7, 15, Ink::redLight, Ink::red), Ink::redDark);
    QPainterPath cross;
    cross.moveTo(9.3, 9.3);
    cross.lineTo(12.7, 12.7);
    cross.moveTo(12.7, 9.3);
    cross.lineTo(9.3, 12.7);
    c.stroke(cross, Ink::paper, 1.4, Qt::RoundCap);
}

void deleteCross(IconCanvas &c)
{
    QPainterPath cross;
    cross.moveTo(3.5, 3.5);
    cross.lineTo(12.5, 12.5);
    cross.moveTo(12.5, 3.5);
    cross.lineTo(3.5, 12.5);
    c.stroke(cross, Ink::redDark, 3.6, Qt::RoundCap);
    c.stroke(cross, Ink::red, 2.2, Qt::RoundCap);
}

void refresh(IconCanvas &c)
{
    // One turn of an arrow, open at the top right where its head sits.
    const QRectF ring(3, 3.5, 10, 10);
    QPainterPath turn;
    turn.arcMoveTo(ring, 85);
    turn.arcTo(ring, 85, 290);
    c.stroke(turn, Ink::greenDark, 3.2, Qt::FlatCap);
    c.stroke(turn, Ink::green, 1.8, Qt::FlatCap);
    // The head points along the turn where the stroke ends.
    const P end = turn.currentPosition();
    const qreal a = qDegreesToRadians(375.0);
    const P ahead(-qSin(a), -qCos(a));
    const P side(-ahead.y(), ahead.x());
    c.fill(IconCanvas::polygon({end + side * 2.8, end + ahead * 3.4, end - side * 2.8}), Ink::green, Ink::greenDark);
}

} // namespace

void CommandImages::paint(IconCanvas &c, int index)
{
    switch (index) {
    case Cut: return cut(c);
    case Copy: return copy(c);
    case Paste: return paste(c);
    case NewDocument: return newDocument(c);
    case OpenFolder: return openFolder(c);
    case Save: return save(c);
    case Print: return print(c);
    case Find: return find(c);
    case WordList: return wordList(c);
    case SelectAll: return selectAll(c);
    case Redo: return curvedArrow(c, true, Ink::blue, Ink::blueDark);
    case ZoomIn: return zoom(c, true);
    case ZoomOut: return zoom(c, false);
    case FontColour: return fontColour(c);
    case Options: return options(c);
    case Send: return send(c);
    case Next: return paintArrow(c, 0, Ink::greenLight, Ink::green, Ink::greenDark);
    case First: return paintArrow(c, 180, Ink::greenLight, Ink::green, Ink::greenDark, true);
    case Prior: return paintArrow(c, 180, Ink::greenLight, Ink::green, Ink::greenDark);
    case Bold: return bold(c);
    case Last: return paintArrow(c, 0, Ink::greenLight, Ink::green, Ink::greenDark, true);
    case Undo: return curvedArrow(c, false, Ink::blue, Ink::blueDark);
    case Italic: return italic(c);
    case Underline: return underline(c);
    case Refresh: return refresh(c);
    case Delete: return deleteCross(c);
    case SearchBack: return paintArrow(c, 90, Ink::blueLight, Ink::blue, Ink::blueDark);
    case SearchForward: return paintArrow(c, -90, Ink::blueLight, Ink::blue, Ink::blueDark);
    case Help: return help(c);
    case Stop: return stop(c);
    case SpeakWord: return speakWord(c);
    case SpeakWords: return speakDefinition(c);
    case CheckClipboard: return checkClipboard(c);
    case CheckClipboardSound: return checkClipboardSound(c);
    case ShowExplorer: return explorer(c, true);
    case HideExplorer: return explorer(c, false);
    case Restore: return restore(c);
    case CloseWindow: return closeWindow(c);
    default: return;
    }
}
