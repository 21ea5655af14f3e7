#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// The nearest start in [low, low + room - size]; the low edge when the window is larger than the room.
int clampInto(int value, int low, int room, int size)
{
    return size >= room ? low : std::clamp(value, low, low + room - size);
}

// A title bar can be dragged from any part of it that is on a screen, half its height at least.
bool canBeGrabbed(const QRect &titleBar, const QList<ScreenArea> &screens)
{
    const int needed = std::min(100, std::max(1, titleBar.width() / 3));
    const int topmost = std::min_element(screens.begin(), screens.end(), [](const ScreenArea &a, const ScreenArea &b) {
                            return a.full.top() < b.full.top();
                        })->full.top();
    if (titleBar.top() < topmost)
        return false;
    return std::any_of(screens.begin(), screens.end(), [&](const ScreenArea &screen) {
        const QRect onScreen = titleBar & screen.full;
        return onScreen.width() >= needed && onScreen.height() >= (titleBar.height() + 1) / 2;
    });
}

} // namespace

QPoint titleBarOnScreen(const QRect &frame, int titleHeight, const QList<ScreenArea> &screens)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), std::max(1, titleHeight)));
    if (screens.isEmpty() || canBeGrabbed(titleBar, screens))
        return frame.topLeft();

    QPoint best = frame.topLeft();
    long bestDistance = std::numeric_limits<long>::max();
    for (const ScreenArea &screen : screens) {
        const QRect &area = screen.available.isValid() ? screen.available : screen.full;
        const QPoint moved(clampInto(titleBar.x(), area.x(), area.width(), titleBar.width()),
                           clampInto(titleBar.y(), area.y(), area.height(), titleBar.height()));
        const long distance = std::labs(long(moved.x()) - frame.x()) + std::labs(long(moved.y()) - frame.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = moved;
        }
    }
    return best;
}
