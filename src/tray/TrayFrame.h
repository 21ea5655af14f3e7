#pragma once

#include <functional>

// The watcher's tray animation: shows image `tag` of the six and moves on, 5 wrapping to 0.
// Any other value of `tag` leaves the icon as it is.
void advanceTrayFrame(int &tag, const std::function<void(int)> &setIconIndex);
