#pragma once

#include <QString>

#include <thread>

// Global set-up that the first window would otherwise do on the main thread, done on another one while
// the toolkit starts: the font configuration, and the cipher's first use on a throwaway read of the
// dictionary. Nothing is handed over: what fails here fails again, and is reported, where the window
// does the same work.
class StartupWarmup final
{
public:
    StartupWarmup(const QString &dictionaryPath, const QString &password);
    ~StartupWarmup();

    StartupWarmup(const StartupWarmup &) = delete;
    StartupWarmup &operator=(const StartupWarmup &) = delete;

private:
    std::thread m_thread;
};
