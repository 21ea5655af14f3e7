// Text commands, mail, help, the about panel and the feedback links.
#include "app/Lexivo1.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QLabel>

#include "app/DataControls.h"
#include "artwork/Artwork.h"

QCursor TLexivoAppForm::handCursor() const
{
    return Artwork::handCursor();
}

void TLexivoAppForm::bindStandardEditCommands()
{
}

void TLexivoAppForm::placeAboutPanel()
{
    // Horizontal offsets from the entry area's left edge, which is 0 while the explorer is hidden.
    static constexpr int kOffsets[] = {73, 37, 85, 32, 37, 32, 37, 37, 57};
    const int left = action("ShowHideLeftAction")->isChecked() ? 0 : WordsListPanel1->width();
    const QList<QWidget *> panel = aboutPanel();
    for (int i = 0; i < panel.size(); ++i)
        panel[i]->move(left + kOffsets[i], panel[i]->y());
}

void TLexivoAppForm::FileSend1Execute()
{
}

void TLexivoAppForm::ContentAction1Execute()
{
}

void TLexivoAppForm::SuggestActionExecute()
{
}

void TLexivoAppForm::ReportActionExecute()
{
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
}

void TLexivoAppForm::VendorUrlImage1Click()
{
}

void TLexivoAppForm::RichEditBold1Execute()
{
}

void TLexivoAppForm::RichEditItalic1Execute()
{
}

void TLexivoAppForm::RichEditUnderline1Execute()
{
}

void TLexivoAppForm::EditCopyWordActionExecute()
{
}
