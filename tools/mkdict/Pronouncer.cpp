#include "Pronouncer.h"

#include "text/StressMarks.h"

#include <espeak-ng/speak_lib.h>

Pronouncer::Pronouncer(const QByteArray &voice)
{
    // Without DONT_EXIT espeak-ng ends the process when its data is missing.
    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) < 0)
        return;
    // A voice file name first, as the program names it; older data folders know only the language.
    const qsizetype slash = voice.lastIndexOf('/');
    m_ready = espeak_SetVoiceByName(voice.constData()) == EE_OK
        || (slash >= 0 && espeak_SetVoiceByName(voice.mid(slash + 1).constData()) == EE_OK);
}

Pronouncer::~Pronouncer()
{
    espeak_Terminate();
}

QString Pronouncer::pronounce(const QString &headword) const
{
    if (!m_ready)
        return {};
    const QByteArray text = headword.toUtf8();
    const void *position = text.constData();
    QString ipa;
    // Each call gives the phonemes of one clause and moves position on; null once the text is used up.
    while (position) {
        const char *phonemes = espeak_TextToPhonemes(&position, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (!phonemes)
            break;
        const QString part = QString::fromUtf8(phonemes).trimmed();
        if (!part.isEmpty())
            ipa += (ipa.isEmpty() ? QString() : QStringLiteral(" ")) + part;
    }
    // espeak-ng marks the stressed vowel; a reader looks for the mark where the syllable begins.
    return ipa.isEmpty() ? QString() : QLatin1Char('/') + stressAtSyllableStart(ipa) + QLatin1Char('/');
}
