#pragma once

#include "platform/SpeechEngine.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// What the espeak-ng library reports while it speaks (on its own thread in playback mode).
struct EspeakEvent
{
    enum class Kind { Word, Sentence, TextEnd };
    Kind kind = Kind::Word;
    quint32 textId = 0; // espeak-ng's number for the text, rising with every text handed over
};

// Where spoken samples go in playback mode (16-bit mono). Each is opened once; one that fails is dropped and the
// next text opens a new one.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // Empty when the output is open, else why it is not.
    virtual QString open(int sampleRate) = 0;
    // Blocks while the output plays what it holds. Empty on success, else why the output failed.
    virtual QString write(const short *samples, int count) = 0;
    // Drops what has been written but not yet played.
    virtual void drop() = 0;
};

// The system's default sound output, through the same sound library espeak-ng itself uses.
std::unique_ptr<SoundOutput> defaultSoundOutput();

struct EspeakOptions
{
    enum class Output {
        Playback,    // to the sound output, from a queue of its own
        Synchronous, // samples to samplesTap only, synthesised before textData returns (tests)
    };
    Output output = Output::Playback;
    // Folder holding espeak-ng-data; empty: ESPEAK_DATA_PATH, else the installed folder.
    QByteArray dataPath;
    QByteArray voice = "gmw/en"; // a voice file under the data folder's "lang", or a language name
    std::function<void(const short *samples, int count)> samplesTap;
    // Playback mode's output; empty: defaultSoundOutput().
    std::function<std::unique_ptr<SoundOutput>()> soundOutput;
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

private:
    bool startLibrary();

    EspeakOptions m_options;
    bool m_initialized = false;
    bool m_libraryStarted = false;
    bool m_outputOpened = false;
};
