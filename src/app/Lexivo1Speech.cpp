// Speaking commands and the clipboard watch.
#include "app/Lexivo1.h"

void TLexivoAppForm::createSpeech()
{
}

void TLexivoAppForm::releaseSpeech()
{
}

void TLexivoAppForm::SpeakWord1Execute()
{
}

void TLexivoAppForm::SpeakWordsExecute()
{
}

void TLexivoAppForm::SoundStop1Execute()
{
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
