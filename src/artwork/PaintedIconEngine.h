#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QList>

#include <functional>

// An icon drawn in code at the pixel size asked for, the first time it is asked for,
// so that a program start pays only for the pictures it shows.
class PaintedIconEngine final : public QIconEngine
{
public:
    using Painter = std::function<QImage(int pixels)>;

    PaintedIconEngine(Painter painter, QList<int> sizes);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override { return false; }

    // Wraps a painter into an icon offering the given sizes.
    static QIcon icon(Painter painter, QList<int> sizes);

private:
    Painter m_painter;
    QList<int> m_sizes;
    // Drawn sizes live in a plain pixmap icon, which also derives the disabled and selected looks.
    QIcon m_drawn;
    QList<int> m_drawnSizes;
};
