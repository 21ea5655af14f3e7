#pragma once

#include "platform/SpeechEngine.h"

#include <memory>
#include <thread>

// Starts a speech runtime and creates its engine on a thread of its own, from construction on, while the
// program does other work. The first initialize() and createEngine() hand over what that thread got,
// so the steps, their order and their failures are the runtime's own; later calls go straight to it.
class PrestartedRuntime final : public SpeechRuntime
{
public:
    explicit PrestartedRuntime(std::unique_ptr<SpeechRuntime> runtime);
    ~PrestartedRuntime() override;

    bool initialize() override;
    std::unique_ptr<SpeechEngine> createEngine() override;
    void uninitialize() override;

private:
    void join();

    std::unique_ptr<SpeechRuntime> m_runtime;
    std::thread m_thread;
    // What the thread got, waiting to be handed over.
    bool m_prestartInitialized = false;
    std::unique_ptr<SpeechEngine> m_prestartEngine;
    bool m_initializeTaken = false;
    bool m_engineTaken = false;
    bool m_started = false;
};
