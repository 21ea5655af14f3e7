#pragma once

#include <QString>

#include <functional>

class ClipboardSource;

// What the watcher asks of the main window.
struct ClipboardWatcherCallbacks
{
    std::function<void(const QString &text)> setSearchText; // the box looks up only a text it does not hold
    std::function<bool()> autoRestoreChecked;
    std::function<void()> restoreAndShow;
    std::function<bool()> soundChecked;
    std::function<void()> speakWord;
};

// The clipboard step of the watcher's tick: a new plain text copied anywhere goes into the search box,
// may bring the window back and may be spoken.
class ClipboardWatcher final
{
public:
    static constexpr qsizetype MaxCopyLength = 300;

    ClipboardWatcher(ClipboardSource *source, ClipboardWatcherCallbacks callbacks);

    // Never throws: a busy clipboard or a failing lookup, restore or engine ends the step quietly.
    void clipboardStep();
    const QString &lastSeenText() const { return m_lastSeen; }

private:
    void takeNewText();

    ClipboardSource *m_source;
    ClipboardWatcherCallbacks m_callbacks;
    QString m_lastSeen;
};
