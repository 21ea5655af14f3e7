#include "sharing/MailMessage.h"

MailMessage MailMessage::fromEntry(const QString &headword, const QString &caption, const QString &entryText,
                                   const QString &webAddress)
{
    MailMessage message;
    message.subject = caption + QLatin1Char(' ') + headword;
    // Line feeds only; the footer ends with ")" and no line break.
    message.body = headword + QStringLiteral(" - ") + caption + QStringLiteral("\n\n") + entryText
                   + QStringLiteral("\n\n") + QString(65, QLatin1Char('-')) + QLatin1Char('\n')
                   + QStringLiteral("Created and sent by Verbarium (") + webAddress + QLatin1Char(')');
    return message;
}
