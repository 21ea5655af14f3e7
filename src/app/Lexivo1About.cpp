// The about panel, help, the feedback links and sending the entry by mail: what goes out of the program.
#include "app/Lexivo1.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include <functional>

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "artwork/Artwork.h"
#include "platform/MailHandoff.h"
#include "sharing/FeedbackLinks.h"
#include "help/HelpLocator.h"
#include "help/HelpViewer.h"
#include "sharing/MailMessage.h"

namespace {

const QString kWebSiteHint = QStringLiteral("Opens Ostrand LLC web site");

// Turns a left-button release inside a control into a click, for labels that have no click of their own.
class ClickFilter final : public QObject
{
public:
    ClickFilter(QWidget *control, std::function<void()> onClick)
        : QObject(control), m_onClick(std::move(onClick))
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const auto *control = static_cast<QWidget *>(watched);
            if (mouse->button() == Qt::LeftButton && control->rect().contains(mouse->position().toPoint()))
                m_onClick();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

QCursor TLexivoAppForm::handCursor() const
{
    return Artwork::handCursor();
}

void TLexivoAppForm::createSharing()
{
    m_mailHandoff = new MailHandoff(this);
    m_mailHandoff->setProgram(m_platform.mailProgram);
    m_mailHandoff->setObjectName(QStringLiteral("MailHandoff1"));
    connect(m_mailHandoff, &MailHandoff::finished, this, &TLexivoAppForm::mailFinished);

    new ClickFilter(VendorURLLabel1, [this] { VendorURLLabel1Click(); });
    new ClickFilter(VendorUrlImage1, [this] { VendorUrlImage1Click(); });
}

void TLexivoAppForm::fillAboutPanel()
{
    AboutImage1->setPixmap(Artwork::titleArtwork());
    AboutImage1->adjustSize();
    ProgramIcon->setPixmap(Artwork::programIcon().pixmap(QSize(32, 32)));
    ProgramIcon->resize(32, 32);
    CopyrightLabel1->setText(FeedbackLinks::copyrightNotice());
    VendorUrlImage1->setPixmap(Artwork::linkIcon());
    VendorUrlImage1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    VendorURLLabel1->setTextFormat(Qt::PlainText);
    VendorURLLabel1->setText(FeedbackLinks::webSite());
    VendorURLLabel1->adjustSize();
    for (QLabel *link : {VendorUrlImage1, VendorURLLabel1}) {
        link->setToolTip(kWebSiteHint);
        link->setStatusTip(kWebSiteHint);
    }
}

void TLexivoAppForm::placeAboutPanel()
{
    // Horizontal offsets from the entry area's left edge, which is 0 while the explorer is hidden.
    static constexpr int kOffsets[] = {73, 37, 85, 32, 37, 32, 37, 37, 57};
    const int left = action(Command::ShowHideLeftAction)->isChecked() ? 0 : WordsListPanel1->width();
    const QList<QWidget *> panel = aboutPanel();
    for (int i = 0; i < panel.size(); ++i)
        panel[i]->move(left + kOffsets[i], panel[i]->y());
}

void TLexivoAppForm::FileSend1Execute()
{
    const QString entryText = RichEdit1->toPlainText();
    const QString caption = DefSynLabel1->text();
    const QString headword = WordDBText1->text();
    const MailMessage message = MailMessage::fromEntry(headword, caption, entryText, FeedbackLinks::webSite());
    // The hand-off runs beside the window; its outcome comes back through mailFinished.
    m_mailHandoff->send(message.subject, message.body);
}

void TLexivoAppForm::mailFinished(bool handedOver)
{
    if (!handedOver)
        m_platform.messages.errorDialog(QStringLiteral("Error sending mail"));
}

void TLexivoAppForm::ContentAction1Execute()
{
    HelpViewer::showHelp(HelpLocator::forThisProcess(QStringLiteral(VERBARIUM_DATADIR)), m_platform.openLink, this);
}

void TLexivoAppForm::SuggestActionExecute()
{
    m_platform.openLink(FeedbackLinks::suggestionLink());
}

void TLexivoAppForm::ReportActionExecute()
{
    m_platform.openLink(FeedbackLinks::bugReportLink());
}

void TLexivoAppForm::HelpAbout1Execute()
{
    placeAboutPanel();
    const bool aboutShown = !AboutImage1->isHidden();
    for (QWidget *w : std::initializer_list<QWidget *>{WordDBText1, Shape2, DefSynLabel1, RichEdit1})
        w->setVisible(aboutShown);
    setAboutPanelVisible(!aboutShown);
}

void TLexivoAppForm::VendorURLLabel1Click()
{
    m_platform.openLink(FeedbackLinks::webSiteLink());
}

void TLexivoAppForm::VendorUrlImage1Click()
{
    m_platform.openLink(FeedbackLinks::webSiteLink());
}

