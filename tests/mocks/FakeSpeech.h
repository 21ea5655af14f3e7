#pragma once

#include "platform/SpeechEngine.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Records what a speech runtime and its engine were asked to do, in order.
struct FakeSpeechLog
{
    struct Text
    {
        QString units; // every unit handed over, the terminator included
        qsizetype bytes = 0;
    };
    std::vector<Text> texts;
    int resets = 0;
    QStringList calls; // "initialize", "createEngine", "releaseEngine", "uninitialize"
};

class FakeSpeechEngine final : public SpeechEngine
{
public:
    explicit FakeSpeechEngine(std::shared_ptr<FakeSpeechLog> log) : m_log(std::move(log)) {}
    ~FakeSpeechEngine() override { m_log->calls << QStringLiteral("releaseEngine"); }

    void textData(const char16_t *text, qsizetype bytes) override
    {
        m_log->texts.push_back({QString::fromUtf16(text, bytes / 2), bytes});
    }
    void audioReset() override { ++m_log->resets; }

private:
    std::shared_ptr<FakeSpeechLog> m_log;
};

class FakeSpeechRuntime final : public SpeechRuntime
{
public:
    explicit FakeSpeechRuntime(std::shared_ptr<FakeSpeechLog> log = std::make_shared<FakeSpeechLog>())
        : m_log(std::move(log))
    {
    }

    bool initialize() override
    {
        m_log->calls << QStringLiteral("initialize");
        return initializeSucceeds;
    }
    std::unique_ptr<SpeechEngine> createEngine() override
    {
        m_log->calls << QStringLiteral("createEngine");
        if (!engineAvailable)
            return nullptr;
        return std::make_unique<FakeSpeechEngine>(m_log);
    }
    void uninitialize() override { m_log->calls << QStringLiteral("uninitialize"); }

    std::shared_ptr<FakeSpeechLog> log() const { return m_log; }

    bool initializeSucceeds = true;
    bool engineAvailable = true;

private:
    std::shared_ptr<FakeSpeechLog> m_log;
};
