#include "platform/ClipboardFormats.h"

#include <QStringDecoder>

std::optional<int> clipboardTextRank(const QByteArray &format)
{
    const QByteArray lower = format.toLower();
    if (lower == "utf8_string")
        return 0;
    if (lower == "text/plain;charset=utf-8" || lower == "text/plain;charset=utf8")
        return 1;
    if (lower == "text/plain")
        return 2;
    if (lower.startsWith("text/plain;charset="))
        return 3;
    if (format == "STRING")
        return 4;
    return std::nullopt;
}

QString clipboardTextOf(const QByteArray &format, const QByteArray &data)
{
    if (format == "STRING")
        return QString::fromLatin1(data);
    const QByteArray lower = format.toLower();
    if (lower.startsWith("text/plain;charset=")) {
        QStringDecoder decoder(lower.mid(int(sizeof "text/plain;charset=") - 1).constData());
        if (decoder.isValid())
            return decoder(data);
    }
    return QString::fromUtf8(data);
}
