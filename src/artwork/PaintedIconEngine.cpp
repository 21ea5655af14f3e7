#include "artwork/PaintedIconEngine.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <utility>

PaintedIconEngine::PaintedIconEngine(Painter painter, QList<int> sizes)
    : m_painter(std::move(painter)), m_sizes(std::move(sizes))
{
}

QIcon PaintedIconEngine::icon(Painter painter, QList<int> sizes)
{
    return QIcon(new PaintedIconEngine(std::move(painter), std::move(sizes)));
}

void PaintedIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap pm = pixmap((QSizeF(rect.size()) * dpr).toSize(), mode, state);
    if (pm.isNull())
        return;
    pm.setDevicePixelRatio(dpr);
    QRect target(QPoint(), (QSizeF(pm.size()) / dpr).toSize());
    target.moveCenter(rect.center());
    painter->drawPixmap(target, pm);
}

QSize PaintedIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    const int side = std::min(size.width(), size.height());
    return side > 0 ? QSize(side, side) : QSize();
}

QPixmap PaintedIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    const int side = std::min(size.width(), size.height());
    if (side <= 0)
        return {};
    if (!m_drawnSizes.contains(side)) {
        m_drawn.addPixmap(QPixmap::fromImage(m_painter(side)));
        m_drawnSizes.append(side);
    }
    // A ratio of 1 keeps the pixmap icon from scaling a drawn size up for a high-density screen.
    return m_drawn.pixmap(QSize(side, side), 1.0, mode, state);
}

QList<QSize> PaintedIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    sizes.reserve(m_sizes.size());
    for (int side : std::as_const(m_sizes))
        sizes.append(QSize(side, side));
    return sizes;
}

QIconEngine *PaintedIconEngine::clone() const
{
    auto *copy = new PaintedIconEngine(m_painter, m_sizes);
    copy->m_drawn = m_drawn;
    copy->m_drawnSizes = m_drawnSizes;
    return copy;
}

QString PaintedIconEngine::key() const
{
    return QStringLiteral("VerbariumPainted");
}
