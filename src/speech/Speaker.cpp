#include "speech/Speaker.h"

#include "text/TextCut.h"

#include <algorithm>

Speaker::Speaker(std::unique_ptr<SpeechRuntime> runtime)
    : m_runtime(std::move(runtime)), m_wordBuffer(WordBufferUnits), m_wordsBuffer(WordsBufferUnits)
{
}

Speaker::~Speaker()
{
    release();
}

QString Speaker::start()
{
    if (!m_runtime || !m_runtime->initialize())
        return runtimeFailureMessage();
    m_runtimeStarted = true;
    m_engine = m_runtime->createEngine();
    if (!m_engine)
        return engineFailureMessage();
    return {};
}

void Speaker::release()
{
    m_engine.reset();
    if (m_runtimeStarted) {
        m_runtimeStarted = false;
        m_runtime->uninitialize();
    }
}

void Speaker::speakWord(const QString &searchText)
{
    speak(searchText, m_wordBuffer);
}

void Speaker::speakWords(const QString &text)
{
    speak(text, m_wordsBuffer);
}

void Speaker::stop()
{
    if (m_engine)
        m_engine->audioReset();
}

void Speaker::speak(const QString &text, std::vector<char16_t> &buffer)
{
    if (!m_engine)
        return;
    // Like a zero-terminated copy, the text ends at its first zero character.
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    const QString whole = zero < 0 ? text : text.left(zero);
    const qsizetype units = cutLength(whole, qsizetype(buffer.size()) - 1);
    std::copy_n(reinterpret_cast<const char16_t *>(whole.utf16()), units, buffer.begin());
    buffer[size_t(units)] = u'\0';
    m_engine->textData(buffer.data(), 2 * (units + 1));
}
