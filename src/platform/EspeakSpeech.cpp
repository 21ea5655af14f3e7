#include "platform/EspeakSpeech.h"

#include <QString>
#include <QStringList>

#include <espeak-ng/espeak_ng.h>

#include <dlfcn.h>

#include <atomic>
#include <type_traits>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// The library is opened at run time rather than linked: not finding it (or one of its sound libraries)
// is then the speech start's failure, not a program that cannot start at all.
struct EspeakLibrary
{
    decltype(&::espeak_Info) info = nullptr;
    decltype(&::espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&::espeak_ng_Cancel) cancel = nullptr;
    decltype(&::espeak_ng_ClearErrorContext) clearErrorContext = nullptr;
    decltype(&::espeak_ng_Initialize) initialize = nullptr;
    decltype(&::espeak_ng_InitializeOutput) initializeOutput = nullptr;
    decltype(&::espeak_ng_InitializePath) initializePath = nullptr;
    decltype(&::espeak_ng_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&::espeak_ng_Synthesize) synthesize = nullptr;
    decltype(&::espeak_ng_Terminate) terminate = nullptr;
    bool loaded = false;
};

const EspeakLibrary &espeak()
{
    static const EspeakLibrary library = [] {
        EspeakLibrary l;
        // Never closed: the library's own threads may outlive any owner here.
        // Bound lazily: of the sixteen sound libraries below it, most functions are never called.
        void *handle = ::dlopen("libespeak-ng.so.1", RTLD_LAZY | RTLD_LOCAL);
        if (!handle)
            return l;
        auto bind = [handle](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(handle, name));
            return function != nullptr;
        };
        l.loaded = bind(l.info, "espeak_Info") && bind(l.setSynthCallback, "espeak_SetSynthCallback")
            && bind(l.cancel, "espeak_ng_Cancel") && bind(l.clearErrorContext, "espeak_ng_ClearErrorContext")
            && bind(l.initialize, "espeak_ng_Initialize") && bind(l.initializeOutput, "espeak_ng_InitializeOutput")
            && bind(l.initializePath, "espeak_ng_InitializePath") && bind(l.setVoiceByName, "espeak_ng_SetVoiceByName")
            && bind(l.synthesize, "espeak_ng_Synthesize") && bind(l.terminate, "espeak_ng_Terminate");
        return l;
    }();
    return library;
}

// espeak-ng has one callback for the whole process; it reaches the options of the runtime in use.
std::atomic<const EspeakOptions *> activeOptions{nullptr};
std::atomic<bool> runtimeTaken{false};

int synthCallback(short *samples, int count, espeak_EVENT *events)
{
    const EspeakOptions *options = activeOptions.load();
    if (!options)
        return 0;
    if (samples && count > 0 && options->samplesTap)
        options->samplesTap(samples, count);
    if (options->eventTap && events) {
        for (const espeak_EVENT *event = events; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
            EspeakEvent report;
            report.textId = event->unique_identifier;
            if (event->type == espeakEVENT_WORD)
                report.kind = EspeakEvent::Kind::Word;
            else if (event->type == espeakEVENT_SENTENCE)
                report.kind = EspeakEvent::Kind::Sentence;
            else if (event->type == espeakEVENT_MSG_TERMINATED)
                report.kind = EspeakEvent::Kind::TextEnd;
            else
                continue;
            options->eventTap(report);
        }
    }
    return 0;
}

bool compatibleVersion()
{
    if (!espeak().loaded)
        return false;
    const QString version = QString::fromLatin1(espeak().info(nullptr));
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() < 2)
        return false;
    const int major = parts.at(0).toInt();
    const int minor = parts.at(1).toInt();
    return major > 1 || (major == 1 && minor >= 49);
}

void synthesize(const QByteArray &utf8)
{
    unsigned int id = 0;
    espeak().synthesize(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, &id,
                         nullptr);
}

class EspeakEngine final : public SpeechEngine
{
public:
    explicit EspeakEngine(bool playback) : m_playback(playback)
    {
        // espeak_Cancel can block for up to a second just after start, and a full queue blocks a
        // text handed over, so the library is fed from a thread of its own: the caller never waits.
        if (m_playback)
            m_worker = std::thread([this] { run(); });
    }

    ~EspeakEngine() override
    {
        if (m_playback) {
            {
                std::lock_guard lock(m_mutex);
                m_pending.clear();
                m_quit = true;
            }
            m_wake.notify_one();
            m_worker.join();
            espeak().cancel();
        }
    }

    void textData(const char16_t *text, qsizetype bytes) override
    {
        qsizetype units = text && bytes > 0 ? bytes / 2 : 0;
        // The size counts the terminator, and a zero unit ends the text wherever it stands.
        for (qsizetype i = 0; i < units; ++i) {
            if (text[i] == u'\0') {
                units = i;
                break;
            }
        }
        QByteArray utf8 = QString::fromUtf16(text, units).toUtf8();
        if (!m_playback) {
            synthesize(utf8);
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            m_pending.push_back(std::move(utf8));
        }
        m_wake.notify_one();
    }

    void audioReset() override
    {
        if (!m_playback)
            return;
        {
            std::lock_guard lock(m_mutex);
            m_pending.clear();
            m_cancel = true;
        }
        m_wake.notify_one();
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || m_cancel || !m_pending.empty(); });
            if (m_quit)
                return;
            // A reset is carried out before any text given after it.
            if (m_cancel) {
                m_cancel = false;
                lock.unlock();
                espeak().cancel();
                lock.lock();
                continue;
            }
            QByteArray text = std::move(m_pending.front());
            m_pending.pop_front();
            lock.unlock();
            synthesize(text);
            lock.lock();
        }
    }

    const bool m_playback;
    std::thread m_worker;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QByteArray> m_pending;
    bool m_cancel = false;
    bool m_quit = false;
};

} // namespace

void EspeakRuntime::loadLibrary()
{
    espeak();
}

EspeakRuntime::EspeakRuntime(EspeakOptions options) : m_options(std::move(options)) {}

EspeakRuntime::~EspeakRuntime()
{
    uninitialize();
}

bool EspeakRuntime::initialize()
{
    if (m_initialized)
        return true;
    bool expected = false;
    if (!runtimeTaken.compare_exchange_strong(expected, true))
        return false;
    m_initialized = true;
    return true;
}

bool EspeakRuntime::startLibrary()
{
    if (m_libraryStarted)
        return true;
    if (!compatibleVersion())
        return false;
    espeak().initializePath(m_options.dataPath.isEmpty() ? nullptr : m_options.dataPath.constData());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak().initialize(&context);
    espeak().clearErrorContext(&context);
    if (status != ENS_OK)
        return false;
    activeOptions = &m_options;
    m_libraryStarted = true;
    return true;
}

std::unique_ptr<SpeechEngine> EspeakRuntime::createEngine()
{
    if (!m_initialized || !startLibrary())
        return nullptr;
    const bool playback = m_options.output == EspeakOptions::Output::Playback;
    if (!m_outputOpened) {
        const auto mode = playback ? ENOUTPUT_MODE_SPEAK_AUDIO : ENOUTPUT_MODE_SYNCHRONOUS;
        if (espeak().initializeOutput(mode, 0, nullptr) != ENS_OK)
            return nullptr;
        m_outputOpened = true;
        espeak().setSynthCallback(synthCallback);
    }
    // A voice named by its file ("gmw/en") loads at once; a bare language name makes espeak-ng read every
    // voice file first, which costs more than the rest of its start. Older data folders know only the name.
    const QByteArray &voice = m_options.voice;
    if (espeak().setVoiceByName(voice.constData()) != ENS_OK) {
        const qsizetype slash = voice.lastIndexOf('/');
        if (slash < 0 || espeak().setVoiceByName(voice.mid(slash + 1).constData()) != ENS_OK)
            return nullptr;
    }
    return std::make_unique<EspeakEngine>(playback);
}

void EspeakRuntime::uninitialize()
{
    if (!m_initialized)
        return;
    // Terminating a library whose output was never opened joins threads that never started, and in
    // espeak-ng 1.51 a second termination in synchronous mode hangs; that mode has nothing to stop.
    if (m_outputOpened && m_options.output == EspeakOptions::Output::Playback)
        espeak().terminate();
    activeOptions = nullptr;
    m_initialized = false;
    m_libraryStarted = false;
    m_outputOpened = false;
    runtimeTaken = false;
}
