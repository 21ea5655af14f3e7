// Speaking commands and the clipboard watch.
#include "app/Lexivo1.h"

#include "app/DataControls.h"
#include "app/StartupError.h"
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

// The runtime and the engine start with the window; without them the program cannot run.
void TLexivoAppForm::createSpeech()
{
    std::unique_ptr<SpeechRuntime> runtime =
        m_env.speechRuntime ? m_env.speechRuntime() : std::make_unique<EspeakRuntime>();
    m_speaker = std::make_unique<Speaker>(std::move(runtime));
    const QString failure = m_speaker->start();
    if (!failure.isEmpty())
        throw StartupError{failure, 1};
}

void TLexivoAppForm::releaseSpeech()
{
    if (m_speaker)
        m_speaker->release();
}

void TLexivoAppForm::SpeakWord1Execute()
{
    m_speaker->speakWord(SEdit1->text());
}

void TLexivoAppForm::SpeakWordsExecute()
{
    m_speaker->speakWords(textToSpeak(RichEdit1));
}

void TLexivoAppForm::SoundStop1Execute()
{
    m_speaker->stop();
}

void TLexivoAppForm::Timer1Timer()
{
}

void TLexivoAppForm::CheckClipAction1Execute()
{
}

void TLexivoAppForm::CheckClipSoundAction1Execute()
{
}

void TLexivoAppForm::AutoRestoreActionExecute()
{
}
