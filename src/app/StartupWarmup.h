#pragma once

#include "dictionary/SqlCipher.h"

#include <QString>

#include <thread>

// Set-up that the first window would otherwise do on the main thread, done on another one while the
// toolkit starts: the font configuration, and the dictionary opened and keyed, which the window's table
// then takes over. What fails here is left for the window to meet, and report, when it does the same work.
class StartupWarmup final
{
public:
    StartupWarmup(const QString &dictionaryPath, const QString &password);
    ~StartupWarmup();

    StartupWarmup(const StartupWarmup &) = delete;
    StartupWarmup &operator=(const StartupWarmup &) = delete;

    // The dictionary opened ahead, once, when it is the one asked for; null otherwise. Waits for the thread.
    sqlite3 *takeDictionary(const QString &path, const QString &password);

private:
    const QString m_path;
    const QString m_password;
    sqlcipher::Database m_dictionary;
    std::thread m_thread;
};
