#include "platform/SelectionReader.h"

#include "platform/WaylandClipboardReader.h"
#include "platform/X11ClipboardReader.h"

namespace {

SelectionText fromAnswer(const ClipboardAnswer &answer)
{
    SelectionText result;
    if (!answer.answered)
        result.outcome = SelectionText::Outcome::TimedOut;
    else if (!answer.hasText)
        result.outcome = SelectionText::Outcome::NoText;
    else if (answer.secret)
        result.outcome = SelectionText::Outcome::Secret;
    else
        result = {SelectionText::Outcome::Text, answer.text};
    return result;
}

} // namespace

SelectionText readPrimarySelection()
{
    // A Wayland session's selection, where the compositor lets it be read; else the X one (XWayland's included).
    if (const auto answer = WaylandClipboardReader::readPrimarySelection())
        return fromAnswer(*answer);
    if (const auto answer = X11ClipboardReader::readPrimarySelection())
        return fromAnswer(*answer);
    return {};
}
