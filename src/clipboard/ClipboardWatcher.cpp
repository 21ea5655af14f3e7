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
    m_callbacks.setSearchText(searchTextOf(m_lastSeen));
    if (m_callbacks.autoRestoreChecked())
        m_callbacks.restoreAndShow();
    if (m_callbacks.soundChecked())
        m_callbacks.speakWord();
}
