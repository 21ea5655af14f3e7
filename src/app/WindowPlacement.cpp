#include "app/WindowPlacement.h"

#include <QRegion>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// The nearest start in [low, low + room - size]; the low edge when the window is larger than the room.
int clampInto(int value, int low, int room, int size)
{
    return size >= room ? low : std::clamp(value, low, low + room - size);
}

} // namespace

QPoint titleBarOnScreen(const QRect &frame, int titleHeight, const QList<QRect> &screens)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), std::max(1, titleHeight)));
    QRegion uncovered(titleBar);
    for (const QRect &screen : screens)
        uncovered -= screen;
    // Spanning two monitors side by side is fine as long as no part of the title bar is off all of them.
    if (screens.isEmpty() || uncovered.isEmpty())
        return frame.topLeft();

    QPoint best = frame.topLeft();
    long bestDistance = std::numeric_limits<long>::max();
    for (const QRect &screen : screens) {
        const QPoint moved(clampInto(titleBar.x(), screen.x(), screen.width(), titleBar.width()),
                           clampInto(titleBar.y(), screen.y(), screen.height(), titleBar.height()));
        const long distance = std::labs(long(moved.x()) - frame.x()) + std::labs(long(moved.y()) - frame.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = moved;
        }
    }
    return best;
}
