// View options: the words explorer, the toolbar, the status bar, always on top.
#include "app/Lexivo1.h"

#include "app/CommandBinding.h"
#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "artwork/CommandImages.h"
#include "platform/Application.h"
#include "platform/ImageList.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QWindow>

namespace {

// Left edges of the entry face, measured from the entry area's left edge.
constexpr int kRichEditOffset = 12;
constexpr int kHeadwordOffset = 20;
constexpr int kCaptionOffset = 20;
constexpr int kRuleOffset = 9;
// The entry view's right margin: 14 beside the word list, 12 in the narrow layout (entry view plus 24).
constexpr int kShownRightMargin = 14;
constexpr int kHiddenRightMargin = 12;

} // namespace

void TLexivoAppForm::setEntryFaceLeft(int left)
{
    RichEdit1->move(left + kRichEditOffset, RichEdit1->y());
    WordDBText1->move(left + kHeadwordOffset, WordDBText1->y());
    DefSynLabel1->move(left + kCaptionOffset, DefSynLabel1->y());
    Shape2->move(left + kRuleOffset, Shape2->y());
}

void TLexivoAppForm::setExplorerCommand(bool hidden)
{
    QAction *a = action(Command::ShowHideLeftAction);
    const QString text = hidden ? QStringLiteral("Show Words Explorer") : QStringLiteral("Hide Words Explorer");
    const int image = hidden ? CommandImages::ShowExplorer : CommandImages::HideExplorer;
    a->setProperty("imageIndex", image);
    a->setIcon(ImageList1->icon(image));
    CommandBinding::setChecked(a, hidden);
    a->setText(text);
    a->setProperty("hint", text + QLatin1Char('|') + text);
    a->setToolTip(text);
    a->setStatusTip(text);
}

void TLexivoAppForm::setExplorerEditCommandsVisible(bool visible)
{
    for (Command id : {Command::EditCut1, Command::EditPaste1, Command::EditDelete1})
        action(id)->setVisible(visible);
}

void TLexivoAppForm::hideWordsExplorer(bool fromCommand)
{
    const int entryWidth = RichEdit1->width();
    m_app->processMessages();
    DBGrid1->hide();
    SEdit1->hide();
    WordsListPanel1->hide();
    setEntryFaceLeft(0);
    // The entry area becomes the entry view plus its margins, and the window follows it.
    const int boxWidth = entryWidth + 24;
    anchorChildren(QSize(boxWidth, m_boxSize.height()));
    m_app->processMessages();
    setFormWidth(boxWidth + 8);
    m_app->processMessages();
    Shape2->resize(entryWidth, Shape2->height());
    RichEdit1->resize(entryWidth, RichEdit1->height());
    m_app->processMessages();
    setExplorerEditCommandsVisible(false);
    setExplorerCommand(true);
    if (fromCommand)
        placeAboutPanel();
}

void TLexivoAppForm::showWordsExplorer()
{
    const int boxWidth = m_boxSize.width();
    const int entryWidth = RichEdit1->width();
    m_app->processMessages();
    const int explorer = WordsListPanel1->width();
    // Give the right margin back too, or the window would come back narrower than it was.
    setFormWidth(explorer + boxWidth + kShownRightMargin - kHiddenRightMargin + 8);
    anchorChildren(QSize(formWidth() - 8, m_boxSize.height()));
    m_app->processMessages();
    setEntryFaceLeft(explorer);
    RichEdit1->resize(entryWidth, RichEdit1->height());
    Shape2->resize(entryWidth, Shape2->height());
    DBGrid1->show();
    SEdit1->show();
    WordsListPanel1->show();
    m_app->processMessages();
    setExplorerEditCommandsVisible(true);
    FormResize();
    setExplorerCommand(false);
    placeAboutPanel();
}

void TLexivoAppForm::ShowHideLeftActionExecute()
{
    if (action(Command::ShowHideLeftAction)->isChecked())
        showWordsExplorer();
    else
        hideWordsExplorer(true);
}

void TLexivoAppForm::ToolbarActionExecute()
{
    QAction *a = action(Command::ToolbarAction);
    const bool c = a->isChecked();
    ControlBar1->setVisible(!c);
    m_app->processMessages();
    a->setChecked(!c);
    m_app->processMessages();
    FormResize();
}

void TLexivoAppForm::StatusBarActionExecute()
{
    QAction *a = action(Command::StatusBarAction);
    const bool c = a->isChecked();
    StatusBar->setVisible(!c);
    m_app->processMessages();
    a->setChecked(!c);
    m_app->processMessages();
    FormResize();
}

void TLexivoAppForm::setStayOnTop(bool onTop)
{
    // Once the window exists, change the hint on the window itself: the widget call would unmap it.
    if (QWindow *window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

void TLexivoAppForm::AoTAction1Execute()
{
    QAction *a = action(Command::AoTAction1);
    const bool c = a->isChecked();
    setStayOnTop(!c);
    a->setChecked(!c);
    m_app->processMessages();
}
