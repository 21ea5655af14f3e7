// Speaking commands and the clipboard watch.
#include "app/Lexivo1.h"

#include "app/CommandBinding.h"
#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "app/StartupError.h"
#include "clipboard/ClipboardModes.h"
#include "clipboard/ClipboardWatcher.h"
#include "editing/WordSelection.h"
#include "tray/TrayFrame.h"
#include "platform/Application.h"
#include "speech/Speaker.h"
#include "tray/Trayicon.h"

#include <QAction>
#include <QTimer>

// The runtime and the engine start with the window, or just after its first paint; without them the program
// cannot run.
void TLexivoAppForm::createSpeech()
{
    if (!m_env.speechAfterFirstPaint)
        startSpeechOrThrow();
}

void TLexivoAppForm::startSpeechOrThrow()
{
    if (m_speaker)
        return;
    m_speaker = std::make_unique<Speaker>(m_platform.speechRuntime());
    const QString failure = m_speaker->start();
    if (!failure.isEmpty())
        throw StartupError{failure, 1};
}

void TLexivoAppForm::startSpeech()
{
    try {
        startSpeechOrThrow();
    } catch (const StartupError &error) {
        // As at a start without speech, the message stands alone and the program ends.
        hide();
        m_platform.messages.ownerless(error.message);
        m_startupFailed = true;
        m_app->terminate();
    }
}

void TLexivoAppForm::releaseSpeech()
{
    if (m_speaker)
        m_speaker->release();
}

void TLexivoAppForm::SpeakWord1Execute()
{
    if (m_speaker)
        m_speaker->speakWord(SEdit1->text());
}

void TLexivoAppForm::SpeakWordsExecute()
{
    if (m_speaker)
        m_speaker->speakWords(selectedTextOrAll(RichEdit1));
}

void TLexivoAppForm::SoundStop1Execute()
{
    if (m_speaker)
        m_speaker->stop();
}

void TLexivoAppForm::createClipboardWatcher()
{
    m_clipboardWatcher = std::make_unique<ClipboardWatcher>(m_platform.clipboard());
}

void TLexivoAppForm::Timer1Timer()
{
    if (const auto found = m_clipboardWatcher->clipboardStep()) {
        try {
            SEdit1->setText(found->searchText);
            // The window comes back the other way round from "&Restore": the application first, then the window.
            if (found->restore) {
                m_app->restore();
                m_app->processMessages();
                m_app->showForm();
                m_app->processMessages();
            }
            if (found->speak)
                SpeakWord1Execute();
        } catch (...) {
            // A failing lookup, restore or engine ends the step quietly; the next text is taken as usual.
        }
    }
    // The tray animates on every tick, whatever the clipboard step did.
    advanceTrayFrame(TrayIcon1->Tag, [this](int index) { TrayIcon1->SetIconIndex(index); });
}

void TLexivoAppForm::setClipboardModes(const ClipboardModes &modes)
{
    m_clipboardWatcher->setModes(modes);
    CommandBinding::setChecked(action(Command::CheckClipAction1), modes.checkClip);
    CommandBinding::setChecked(action(Command::CheckClipSoundAction1), modes.checkClipSound);
    CommandBinding::setChecked(action(Command::AutoRestoreAction), modes.autoRestore);
    if (modes.timerEnabled)
        Timer1->start();
    else
        Timer1->stop();
}

void TLexivoAppForm::CheckClipAction1Execute()
{
    ClipboardModes modes = m_clipboardWatcher->modes();
    modes.toggleCheckClip();
    setClipboardModes(modes);
}

void TLexivoAppForm::CheckClipSoundAction1Execute()
{
    ClipboardModes modes = m_clipboardWatcher->modes();
    modes.toggleCheckClipSound();
    setClipboardModes(modes);
}

void TLexivoAppForm::AutoRestoreActionExecute()
{
    ClipboardModes modes = m_clipboardWatcher->modes();
    modes.toggleAutoRestore();
    setClipboardModes(modes);
}
