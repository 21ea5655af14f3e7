#pragma once

#include "clipboard/ClipboardModes.h"

#include <QString>

#include <optional>

class ClipboardSource;

// What one tick found on the clipboard: the text for the search box, and what the modes ask done with it.
struct ClipboardFind
{
    QString searchText;   // the copy as the search box takes it (lookupTextOf)
    bool restore = false; // "Auto Restore": bring the window back
    bool speak = false;   // "Check Clipboard Sound": speak the word
};

// The clipboard watch: its three modes, and the clipboard step of the tick, which reports a new plain text
// copied anywhere. The window acts on the report: the search box, the restore, the speech.
class ClipboardWatcher final
{
public:
    explicit ClipboardWatcher(ClipboardSource *source);

    const ClipboardModes &modes() const { return m_modes; }
    void setModes(const ClipboardModes &modes) { m_modes = modes; }

    // Nothing when the clipboard holds no new plain text. Never throws: a busy clipboard finds nothing.
    std::optional<ClipboardFind> clipboardStep();
    const QString &lastSeenText() const { return m_lastSeen; }

private:
    std::optional<ClipboardFind> takeNewText();

    ClipboardSource *m_source;
    ClipboardModes m_modes;
    QString m_lastSeen;
};
