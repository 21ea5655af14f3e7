#include "platform/ClipboardSource.h"

#include "platform/WaylandClipboardReader.h"
#include "platform/X11ClipboardReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace {
const QString secretHintFormat = QStringLiteral("x-kde-passwordManagerHint");

// Plain text under any charset; "text/uri-list" and the rest make QMimeData::hasText() true as well.
bool offersPlainText(const QMimeData *data)
{
    if (!data)
        return false;
    const QStringList formats = data->formats();
    return std::any_of(formats.cbegin(), formats.cend(), [](const QString &format) {
        return format == u"text/plain" || format.startsWith(u"text/plain;");
    });
}
} // namespace

ClipboardSource::~ClipboardSource() = default;

QtClipboardSource::QtClipboardSource(QClipboard *clipboard, QObject *parent)
    : ClipboardSource(parent), m_clipboard(clipboard ? clipboard : QGuiApplication::clipboard())
{
    connect(m_clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        m_stale = true;
        emit changed();
    });
}

bool QtClipboardSource::hasText()
{
    refresh();
    return m_hasText;
}

QString QtClipboardSource::text()
{
    refresh();
    return m_text;
}

bool QtClipboardSource::isSecret()
{
    refresh();
    return m_secret;
}

void QtClipboardSource::refresh()
{
    if (!m_stale)
        return;
    m_stale = false;
    const QMimeData *data = m_clipboard->mimeData(QClipboard::Clipboard);
    m_hasText = offersPlainText(data);
    m_text = m_hasText ? data->text() : QString();
    m_secret = data && data->hasFormat(secretHintFormat)
        && data->data(secretHintFormat).trimmed() == QByteArrayLiteral("secret");
}

SystemClipboard *SystemClipboard::instance()
{
    static QPointer<SystemClipboard> clipboard;
    if (!clipboard)
        clipboard = new SystemClipboard(qApp);
    return clipboard;
}

SystemClipboard::SystemClipboard(QObject *parent) : ClipboardSource(parent)
{
    // The reader is joined before this object goes, so the queued call always has a live receiver.
    const auto deliver = [this](const ClipboardAnswer &answer) {
        QMetaObject::invokeMethod(this, [this, answer] {
            takeAnswer(answer.hasText, answer.text, answer.secret, answer.answered);
        }, Qt::QueuedConnection);
    };
    if (QGuiApplication::platformName() == u"xcb") {
        // XWayland hears of a copy only while one of its own windows has the focus; data control, of every copy.
        m_wayland = WaylandClipboardReader::connect(deliver);
        if (m_wayland) {
            m_reading = true;
            return;
        }
        m_reader = X11ClipboardReader::connect(deliver);
    }
    if (!m_reader) {
        m_fallback = new QtClipboardSource(nullptr, this);
        connect(m_fallback, &QtClipboardSource::changed, this, &SystemClipboard::changed);
        return;
    }
    // Qt learns of a new owner from the X server without asking the owner anything.
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        m_reading = true;
        m_reader->request();
    });
    m_reading = true;
    m_reader->request();
}

SystemClipboard::~SystemClipboard() = default;

bool SystemClipboard::hasText()
{
    if (m_fallback)
        return m_fallback->hasText();
    // An owner that did not answer in time is asked again, one question at a time.
    if (!m_answered && !m_reading) {
        m_reading = true;
        if (m_wayland)
            m_wayland->request();
        else
            m_reader->request();
    }
    return m_hasText;
}

QString SystemClipboard::text()
{
    return m_fallback ? m_fallback->text() : m_text;
}

bool SystemClipboard::isSecret()
{
    return m_fallback ? m_fallback->isSecret() : m_secret;
}

void SystemClipboard::takeAnswer(bool hasText, const QString &text, bool secret, bool answered)
{
    m_reading = false;
    m_answered = answered;
    if (m_hasText == hasText && m_text == text && m_secret == secret)
        return;
    m_hasText = hasText;
    m_text = text;
    m_secret = secret;
    emit changed();
}
