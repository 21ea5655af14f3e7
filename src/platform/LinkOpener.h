#pragma once

#include <QUrl>

#include <functional>

// Opens a web or mailto link with the desktop's registered program. Tests replace the opener.
namespace LinkOpener {

using Opener = std::function<bool(const QUrl &url)>;

// Replaces the opener (tests); an empty opener restores the desktop's.
void setOpener(Opener opener);
// Returns what the desktop reported; callers of the feedback links do not look at it.
bool open(const QUrl &url);

} // namespace LinkOpener
