#include "clipboard/ClipboardModes.h"

namespace {

// Turning a watch mode on turns the other one off; turning it off stops the timer whatever the other holds.
void toggle(bool &own, bool &other, bool &timerEnabled)
{
    if (own) {
        timerEnabled = false;
        own = false;
    } else {
        timerEnabled = true;
        own = true;
        other = false;
    }
}

} // namespace

ClipboardModes ClipboardModes::fromSettings(bool checkClip, bool checkClipSound, bool autoRestore)
{
    return {checkClip, checkClipSound, autoRestore, checkClip || checkClipSound};
}

void ClipboardModes::toggleCheckClip()
{
    toggle(checkClip, checkClipSound, timerEnabled);
}

void ClipboardModes::toggleCheckClipSound()
{
    toggle(checkClipSound, checkClip, timerEnabled);
}

void ClipboardModes::toggleAutoRestore()
{
    autoRestore = !autoRestore;
}
