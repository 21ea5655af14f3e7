#pragma once

// What "Check Clipboard", "Check Clipboard Sound" and "Auto Restore" chose, and whether the watcher's timer
// runs. The watcher holds them; the window's check marks and timer follow them after every command.
struct ClipboardModes
{
    bool checkClip = false;
    bool checkClipSound = false;
    bool autoRestore = true;
    bool timerEnabled = false;

    // As stored: the timer runs when either watch mode is on, even both.
    static ClipboardModes fromSettings(bool checkClip, bool checkClipSound, bool autoRestore);

    void toggleCheckClip();      // CheckClipAction1Execute
    void toggleCheckClipSound(); // CheckClipSoundAction1Execute
    void toggleAutoRestore();    // AutoRestoreActionExecute
};
