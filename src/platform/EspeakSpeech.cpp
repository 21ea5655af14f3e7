#include "platform/EspeakSpeech.h"

#include <QString>
#include <QStringList>

#include <espeak-ng/espeak_ng.h>

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
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
    decltype(&::espeak_ng_GetSampleRate) sampleRate = nullptr;
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
            && bind(l.synthesize, "espeak_ng_Synthesize") && bind(l.terminate, "espeak_ng_Terminate")
            && bind(l.sampleRate, "espeak_ng_GetSampleRate");
        return l;
    }();
    return library;
}

// The sound library espeak-ng plays through, opened at run time like espeak-ng itself.
struct PcAudioLibrary
{
    void *(*create)(const char *device, const char *application, const char *description) = nullptr;
    int (*open)(void *object, int format, uint32_t rate, uint8_t channels) = nullptr;
    int (*write)(void *object, const void *data, size_t bytes) = nullptr;
    int (*flush)(void *object) = nullptr;
    void (*close)(void *object) = nullptr;
    void (*destroy)(void *object) = nullptr;
    const char *(*strerror)(void *object, int error) = nullptr;
    bool loaded = false;
};

const PcAudioLibrary &pcaudio()
{
    static const PcAudioLibrary library = [] {
        PcAudioLibrary l;
        void *handle = ::dlopen("libpcaudio.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!handle)
            return l;
        auto bind = [handle](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(handle, name));
            return function != nullptr;
        };
        l.loaded = bind(l.create, "create_audio_device_object") && bind(l.open, "audio_object_open")
            && bind(l.write, "audio_object_write") && bind(l.flush, "audio_object_flush")
            && bind(l.close, "audio_object_close") && bind(l.destroy, "audio_object_destroy")
            && bind(l.strerror, "audio_object_strerror");
        return l;
    }();
    return library;
}

class PcAudioOutput final : public SoundOutput
{
public:
    ~PcAudioOutput() override
    {
        if (m_object) {
            pcaudio().close(m_object);
            pcaudio().destroy(m_object);
        }
    }

    QString open(int sampleRate) override
    {
        if (!pcaudio().loaded)
            return QStringLiteral("the sound library libpcaudio0 is missing");
        m_object = pcaudio().create(nullptr, "Verbarium", "Speech");
        if (!m_object)
            return QStringLiteral("no sound server answers");
        constexpr int kSigned16LittleEndian = 2;
        return failure(pcaudio().open(m_object, kSigned16LittleEndian, uint32_t(sampleRate), 1));
    }

    QString write(const short *samples, int count) override
    {
        return failure(pcaudio().write(m_object, samples, size_t(count) * sizeof(short)));
    }

    void drop() override { pcaudio().flush(m_object); }

private:
    QString failure(int error) const
    {
        if (error == 0)
            return {};
        const char *text = pcaudio().strerror(m_object, error);
        return text ? QString::fromLocal8Bit(text) : QStringLiteral("error %1").arg(error);
    }

    void *m_object = nullptr;
};

// espeak-ng has one callback for the whole process; it reaches the options of the runtime in use, and the
// engine whose thread is synthesising, if any.
std::atomic<const EspeakOptions *> activeOptions{nullptr};
std::atomic<bool> runtimeTaken{false};

class EspeakEngine;
thread_local EspeakEngine *speakingEngine = nullptr;
int engineSamples(EspeakEngine *engine, short *samples, int count);
quint32 engineTextId(const EspeakEngine *engine);

// textId: the number to report; 0 keeps the library's own.
void deliverEvents(const EspeakOptions *options, espeak_EVENT *events, quint32 textId);

int synthCallback(short *samples, int count, espeak_EVENT *events)
{
    const EspeakOptions *options = activeOptions.load();
    if (!options)
        return 0;
    deliverEvents(options, events, speakingEngine ? engineTextId(speakingEngine) : 0);
    if (speakingEngine)
        return engineSamples(speakingEngine, samples, count);
    if (samples && count > 0 && options->samplesTap)
        options->samplesTap(samples, count);
    return 0;
}

void deliverEvents(const EspeakOptions *options, espeak_EVENT *events, quint32 textId)
{
    if (options->eventTap && events) {
        for (const espeak_EVENT *event = events; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
            EspeakEvent report;
            report.textId = textId ? textId : event->unique_identifier;
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
    using OutputFactory = std::function<std::unique_ptr<SoundOutput>()>;

    // playback: spoken on a thread of the engine's own into a sound output from makeOutput; otherwise the
    // samples go to the options' tap before textData returns.
    EspeakEngine(bool playback, OutputFactory makeOutput) : m_playback(playback), m_makeOutput(std::move(makeOutput))
    {
        // A full output blocks whoever writes to it, so the library is fed from a thread of its own: the caller
        // never waits.
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
                m_stopNow = true;
            }
            m_wake.notify_one();
            m_worker.join();
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
            m_stopNow = true;
        }
        m_wake.notify_one();
    }

    // From the library's callback, on the engine's thread: plays one piece; non-zero stops the synthesis.
    int played(const short *samples, int count)
    {
        if (m_stopNow)
            return 1;
        if (!samples || count <= 0 || !m_output)
            return 0;
        QString failure = m_output->write(samples, count);
        if (!failure.isEmpty() && !m_reopened) {
            // The sound server may have restarted since the output was opened: one new output, at once.
            m_reopened = true;
            m_output.reset();
            std::unique_ptr<SoundOutput> output = m_makeOutput();
            if (output->open(espeak().sampleRate()).isEmpty()) {
                m_output = std::move(output);
                failure = m_output->write(samples, count);
            }
        }
        if (failure.isEmpty()) {
            m_failureSaid = false;
            return 0;
        }
        // The output is gone (the sound server went away): the text ends, what was queued for it is dropped, and
        // the next text tries a new output, once.
        m_output.reset();
        say(failure);
        {
            std::lock_guard lock(m_mutex);
            m_pending.clear();
        }
        return 1;
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
                m_stopNow = false;
                lock.unlock();
                if (m_output)
                    m_output->drop();
                lock.lock();
                continue;
            }
            QByteArray text = std::move(m_pending.front());
            m_pending.pop_front();
            lock.unlock();
            speak(text);
            lock.lock();
        }
    }

    void speak(const QByteArray &text)
    {
        m_reopened = false;
        if (!m_output) {
            m_reopened = true;
            std::unique_ptr<SoundOutput> output = m_makeOutput();
            const QString failure = output->open(espeak().sampleRate());
            if (!failure.isEmpty()) {
                say(failure);
                return;
            }
            m_output = std::move(output);
        }
        // The library numbers no text in synchronous mode, nor says when one ends: the engine does both.
        ++m_textId;
        speakingEngine = this;
        synthesize(text);
        speakingEngine = nullptr;
        if (const EspeakOptions *options = activeOptions.load(); options && options->eventTap)
            options->eventTap(EspeakEvent{EspeakEvent::Kind::TextEnd, m_textId});
    }

public:
    quint32 textId() const { return m_textId; }

private:

    // Once for each time the output fails, however many texts meet the failed output.
    void say(const QString &failure)
    {
        if (m_failureSaid)
            return;
        m_failureSaid = true;
        std::fprintf(stderr, "verbarium: no speech: %s. Speak again once the sound works.\n", qPrintable(failure));
    }

    const bool m_playback;
    const OutputFactory m_makeOutput;
    std::unique_ptr<SoundOutput> m_output; // the engine's thread only
    bool m_failureSaid = false;            // the engine's thread only
    quint32 m_textId = 0;                  // the engine's thread only
    bool m_reopened = false;               // the text in hand has had its one new output
    std::atomic<bool> m_stopNow{false};
    std::thread m_worker;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QByteArray> m_pending;
    bool m_cancel = false;
    bool m_quit = false;
};

int engineSamples(EspeakEngine *engine, short *samples, int count)
{
    return engine->played(samples, count);
}

quint32 engineTextId(const EspeakEngine *engine)
{
    return engine->textId();
}

} // namespace

std::unique_ptr<SoundOutput> defaultSoundOutput()
{
    return std::make_unique<PcAudioOutput>();
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
        // The library only synthesises; the engine plays the samples itself, so that it sees an output fail.
        if (espeak().initializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK)
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
    return std::make_unique<EspeakEngine>(playback, m_options.soundOutput ? m_options.soundOutput : defaultSoundOutput);
}

void EspeakRuntime::uninitialize()
{
    if (!m_initialized)
        return;
    // The library runs in synchronous mode only, which has no threads to stop; and in espeak-ng 1.51 a second
    // termination in that mode hangs.
    activeOptions = nullptr;
    m_initialized = false;
    m_libraryStarted = false;
    m_outputOpened = false;
    runtimeTaken = false;
}
