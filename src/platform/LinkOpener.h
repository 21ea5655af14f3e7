#pragma once

#include <QUrl>

#include <functional>

// Opens a web or mailto link; returns what the desktop reported (callers of the feedback links do not look at it).
using LinkOpener = std::function<bool(const QUrl &url)>;

// The desktop's registered program for the link's scheme.
bool openWithDesktop(const QUrl &url);
