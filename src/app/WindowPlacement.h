#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window whose outer frame is `frame` comes up so that the whole of its title bar (the top `titleHeight`
// pixels of the frame) lies on the screens: kept where it is when it already does, otherwise moved as little as
// possible onto the one screen that needs the smallest move. `screens` are the screens' usable areas.
QPoint titleBarOnScreen(const QRect &frame, int titleHeight, const QList<QRect> &screens);
