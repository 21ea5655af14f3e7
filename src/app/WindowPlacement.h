#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// A screen as the window system reports it: all of it, and the part panels leave free.
struct ScreenArea
{
    QRect full;
    QRect available;
};

// Where a window whose outer frame is `frame` comes up. A stored position is kept exactly as long as the title
// bar (the top `titleHeight` pixels of the frame) can be grabbed: at least 100 px of it, or a third of the
// window's width when that is less, lies on one screen, and its top edge is not above every screen. Otherwise
// the window moves the shortest way that puts its whole title bar in one screen's free area.
QPoint titleBarOnScreen(const QRect &frame, int titleHeight, const QList<ScreenArea> &screens);
