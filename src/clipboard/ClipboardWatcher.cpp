#include "clipboard/ClipboardWatcher.h"

#include "platform/ClipboardSource.h"
#include "text/LookupText.h"

ClipboardWatcher::ClipboardWatcher(ClipboardSource *source, ClipboardWatcherCallbacks callbacks)
    : m_source(source), m_callbacks(std::move(callbacks))
{
}

void ClipboardWatcher::clipboardStep()
{
    try {
        takeNewText();
    } catch (...) {
        // The next tick tries again; the program has nowhere to report a failed tick.
    }
}

void ClipboardWatcher::takeNewText()
{
    // A password manager's copy is neither looked up nor spoken, nor remembered as seen.
    if (!m_source->hasText() || m_source->isSecret())
        return;
    if (m_source->text() == m_lastSeen)
        return;
    m_lastSeen = m_source->text();
    m_callbacks.setSearchText(lookupTextOf(m_lastSeen));
    if (m_callbacks.autoRestoreChecked())
        m_callbacks.restoreAndShow();
    if (m_callbacks.soundChecked())
        m_callbacks.speakWord();
}
