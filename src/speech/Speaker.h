#pragma once

#include "platform/SpeechEngine.h"

#include <QString>

#include <memory>
#include <vector>

// The speech engine of the main window and its three speaking commands. It is started once while the
// window is created and released when the window goes.
class Speaker final
{
public:
    static constexpr qsizetype WordBufferUnits = 1024;   // 1023 characters and the terminator
    static constexpr qsizetype WordsBufferUnits = 11024; // 11023 characters and the terminator

    static QString runtimeFailureMessage() { return QStringLiteral("Can't create OLE."); }
    static QString engineFailureMessage() { return QStringLiteral("Can't create a TTS engine."); }

    explicit Speaker(std::unique_ptr<SpeechRuntime> runtime);
    ~Speaker();
    Speaker(const Speaker &) = delete;
    Speaker &operator=(const Speaker &) = delete;

    // Starts the runtime, then the engine. Empty when ready, else the fatal message to show.
    QString start();
    bool isReady() const { return m_engine != nullptr; }
    // Releases the engine, then the runtime; safe to call twice.
    void release();

    void speakWord(const QString &searchText);
    void speakWords(const QString &text);
    void stop();

private:
    void speak(const QString &text, std::vector<char16_t> &buffer);

    std::unique_ptr<SpeechRuntime> m_runtime;
    std::unique_ptr<SpeechEngine> m_engine;
    bool m_runtimeStarted = false;
    std::vector<char16_t> m_wordBuffer;
    std::vector<char16_t> m_wordsBuffer;
};
