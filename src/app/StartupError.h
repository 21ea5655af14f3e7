#pragma once

#include "platform/MessageBox.h"

#include <QString>

#include <functional>
#include <optional>

// A start-up failure that ends the process before any window appears, with its own exit status.
struct StartupError
{
    QString message;
    int exitCode = 1;
};

// Runs the building of the main window. Whatever escapes it is shown in one of the message boxes and becomes
// the exit status; nothing is returned when the window was built.
std::optional<int> buildOrReport(const std::function<void()> &build, const MessageBoxes &messages);
