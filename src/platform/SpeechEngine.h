#pragma once

#include <QtGlobal>

#include <memory>

// One text-to-speech voice, ready to speak. Results are not reported: a failure to speak is silent.
class SpeechEngine
{
public:
    virtual ~SpeechEngine();

    // Queues a zero-terminated UTF-16 text and returns without waiting; `bytes` counts the
    // terminator. A text given while another is spoken waits its turn.
    virtual void textData(const char16_t *text, qsizetype bytes) = 0;
    // Stops speaking at once and drops everything queued.
    virtual void audioReset() = 0;
};

// The component runtime the engine lives in: started once before the engine, ended after it.
class SpeechRuntime
{
public:
    virtual ~SpeechRuntime();

    virtual bool initialize() = 0;
    // Null when no engine can be created.
    virtual std::unique_ptr<SpeechEngine> createEngine() = 0;
    virtual void uninitialize() = 0;
};
