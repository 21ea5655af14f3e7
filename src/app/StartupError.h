#pragma once

#include <QString>

// A start-up failure that ends the process before any window appears, with its own exit status.
struct StartupError
{
    QString message;
    int exitCode = 1;
};
