#include "clipboard/ClipboardWatcher.h"

#include "platform/ClipboardSource.h"
#include "text/LookupText.h"

ClipboardWatcher::ClipboardWatcher(ClipboardSource *source) : m_source(source)
{
}

std::optional<ClipboardFind> ClipboardWatcher::clipboardStep()
{
    try {
        return takeNewText();
    } catch (...) {
        // The next tick tries again; the program has nowhere to report a failed tick.
        return std::nullopt;
    }
}

std::optional<ClipboardFind> ClipboardWatcher::takeNewText()
{
    // A password manager's copy is neither looked up nor spoken, nor remembered as seen.
    if (!m_source->hasText() || m_source->isSecret())
        return std::nullopt;
    if (m_source->text() == m_lastSeen)
        return std::nullopt;
    m_lastSeen = m_source->text();
    return ClipboardFind{lookupTextOf(m_lastSeen), m_modes.autoRestore, m_modes.checkClipSound};
}
