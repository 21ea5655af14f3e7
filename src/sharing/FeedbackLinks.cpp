#include "sharing/FeedbackLinks.h"

namespace FeedbackLinks {
namespace {

QUrl mailtoLink(const QString &address, const QString &subject)
{
    // Built from text in tolerant mode: the blanks travel as %20, which every mail program reads
    // back as blanks (a "+" would not be).
    return QUrl(QStringLiteral("mailto:") + address + QStringLiteral("?subject=") + subject, QUrl::TolerantMode);
}

} // namespace

QString webSite()
{
    return QStringLiteral("https://www.ostrand.example/verbarium");
}

QString suggestionAddress()
{
    return QStringLiteral("suggestions@ostrand.example");
}

QString bugReportAddress()
{
    return QStringLiteral("bugs@ostrand.example");
}

QUrl webSiteLink()
{
    return QUrl(webSite());
}

QUrl suggestionLink()
{
    return mailtoLink(suggestionAddress(), QStringLiteral("Suggestion for Verbarium"));
}

QUrl bugReportLink()
{
    return mailtoLink(bugReportAddress(), QStringLiteral("Report a bug for Verbarium"));
}

QString copyrightNotice()
{
    return QStringLiteral("Copyright \u00A9 2026 Ostrand LLC. All rights reserved.");
}

} // namespace FeedbackLinks
