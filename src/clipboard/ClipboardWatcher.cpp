#include "clipboard/ClipboardWatcher.h"

#include "platform/ClipboardSource.h"
#include "text/TextCut.h"

namespace {

// A copied line brings its line break and a copied word often a blank or a no-break space, which would
// land the lookup on a neighbour of the word. A cut inside a run of blanks leaves some behind.
QString searchTextOf(const QString &copied)
{
    const QString text = copied.trimmed();
    return text.left(cutLength(text, ClipboardWatcher::MaxCopyLength)).trimmed();
}

} // namespace

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
    return ClipboardFind{searchTextOf(m_lastSeen), m_modes.autoRestore, m_modes.checkClipSound};
}
