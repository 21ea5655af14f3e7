#include "platform/PrestartedRuntime.h"

PrestartedRuntime::PrestartedRuntime(std::unique_ptr<SpeechRuntime> runtime) : m_runtime(std::move(runtime))
{
    m_thread = std::thread([this] {
        m_prestartInitialized = m_runtime->initialize();
        if (m_prestartInitialized)
            m_prestartEngine = m_runtime->createEngine();
    });
}

PrestartedRuntime::~PrestartedRuntime()
{
    uninitialize();
}

void PrestartedRuntime::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool PrestartedRuntime::initialize()
{
    join();
    if (!m_initializeTaken) {
        m_initializeTaken = true;
        m_started = m_prestartInitialized;
        return m_started;
    }
    m_started = m_started || m_runtime->initialize();
    return m_started;
}

std::unique_ptr<SpeechEngine> PrestartedRuntime::createEngine()
{
    join();
    if (!m_engineTaken && m_initializeTaken) {
        m_engineTaken = true;
        if (m_prestartInitialized)
            return std::move(m_prestartEngine);
    }
    return m_started ? m_runtime->createEngine() : nullptr;
}

void PrestartedRuntime::uninitialize()
{
    join();
    // An engine nobody took goes before the runtime it lives in, and a start nobody took is ended too.
    m_prestartEngine.reset();
    if (m_started || (m_prestartInitialized && !m_initializeTaken))
        m_runtime->uninitialize();
    m_started = false;
    m_initializeTaken = true;
    m_engineTaken = true;
}
