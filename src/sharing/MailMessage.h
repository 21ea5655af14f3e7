#pragma once

#include <QString>

// The message that "Send word definition" hands to the mail program: subject and text only.
struct MailMessage
{
    QString subject;
    QString body;

    // Built from what the entry area shows: the headword label, the caption label ("definitions:")
    // and the entry view's plain text as the view gives it.
    static MailMessage fromEntry(const QString &headword, const QString &caption, const QString &entryText,
                                 const QString &webAddress);
};
