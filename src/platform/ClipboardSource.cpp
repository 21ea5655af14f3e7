#include "platform/ClipboardSource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
const QString secretHintFormat = QStringLiteral("x-kde-passwordManagerHint");
}

ClipboardSource::~ClipboardSource() = default;

QtClipboardSource::QtClipboardSource(QClipboard *clipboard, QObject *parent)
    : QObject(parent), m_clipboard(clipboard ? clipboard : QGuiApplication::clipboard())
{
    connect(m_clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            m_stale = true;
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
    m_hasText = data && data->hasText();
    m_text = m_hasText ? data->text() : QString();
    m_secret = data && data->hasFormat(secretHintFormat)
        && data->data(secretHintFormat).trimmed() == QByteArrayLiteral("secret");
}
