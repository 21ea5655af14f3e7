#pragma once

#include "platform/SpeechEngine.h"

#include <QByteArray>

#include <functional>

// What the espeak-ng library reports while it speaks (on its own thread in playback mode).
struct EspeakEvent
{
    enum class Kind { Word, Sentence, TextEnd };
    Kind kind = Kind::Word;
    quint32 textId = 0; // espeak-ng's number for the text, rising with every text handed over
};

struct EspeakOptions
{
    enum class Output {
        Playback,    // to the default sound output through espeak-ng's own queue
        Synchronous, // samples to samplesTap only, synthesised before textData returns (tests)
    };
    Output output = Output::Playback;
    // Folder holding espeak-ng-data; empty: ESPEAK_DATA_PATH, else the installed folder.
    QByteArray dataPath;
    QByteArray voice = "gmw/en"; // a voice file under the data folder's "lang", or a language name
    std::function<void(const short *samples, int count)> samplesTap;
    std::function<void(const EspeakEvent &event)> eventTap;
};

// On Linux the component runtime is this process's one hold on espeak-ng: only one runtime can be initialised
// at a time. The engine is the library (1.49 or later, the first with the espeak_ng_ calls) started with the
// phoneme data of its data folder, its audio output opened and the English voice loaded, so a missing library,
// data folder or voice means no engine. No sound device still gives an engine (speech is then silent).
class EspeakRuntime final : public SpeechRuntime
{
public:
    explicit EspeakRuntime(EspeakOptions options = {});
    ~EspeakRuntime() override;

    bool initialize() override;
    std::unique_ptr<SpeechEngine> createEngine() override;
    void uninitialize() override;

    // Loads the library on the calling thread, if that has not happened yet. Not loading it is left for
    // initialize() to report, as it is when this was never called.
    static void loadLibrary();

private:
    bool startLibrary();

    EspeakOptions m_options;
    bool m_initialized = false;
    bool m_libraryStarted = false;
    bool m_outputOpened = false;
};
