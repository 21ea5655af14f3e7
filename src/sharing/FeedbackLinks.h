#pragma once

#include <QString>
#include <QUrl>

// The maker's addresses and the links of the "Help" menu and the about panel.
// They sit under a reserved domain, so they can never point at anybody else's site or mailbox.
namespace FeedbackLinks {

QString webSite();             // caption of the about panel's link and the mail footer's address
QString suggestionAddress();
QString bugReportAddress();

QUrl webSiteLink();
// "mailto:" + address + "?subject=Suggestion for Verbarium", the blanks kept as blanks.
QUrl suggestionLink();
// "mailto:" + address + "?subject=Report a bug for Verbarium".
QUrl bugReportLink();

// The about panel's copyright notice.
QString copyrightNotice();

} // namespace FeedbackLinks
