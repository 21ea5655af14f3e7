#include "tray/TrayFrame.h"

void advanceTrayFrame(int &tag, const std::function<void(int)> &setIconIndex)
{
    if (tag < 0 || tag > 5)
        return;
    const int shown = tag;
    tag = shown == 5 ? 0 : shown + 1;
    setIconIndex(shown);
}
