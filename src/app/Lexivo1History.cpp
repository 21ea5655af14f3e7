// The history of words followed by double-click, offered by two commands and two drop-down menus.
#include "app/Lexivo1.h"

#include "app/SearchEdit.h"
#include "dictionary/SearchHistory.h"
#include "platform/Application.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

void TLexivoAppForm::createHistory()
{
    m_history = new SearchHistory(this);
    m_history->setSearchBox([this](const QString &word) { SEdit1->setText(word); },
                            [this] { return SEdit1->text(); });
    m_history->setProcessMessages([this] { m_app->processMessages(); });
    connect(m_history, &SearchHistory::changed, this, [this] {
        // A menu item cannot be removed while its own click runs: rebuild once the click is handled.
        if (m_inHistoryMenuClick)
            QTimer::singleShot(0, this, &TLexivoAppForm::syncHistoryMenus);
        else
            syncHistoryMenus();
    });
}

void TLexivoAppForm::recordFollowedWord()
{
    m_history->record(SEdit1->text());
}

void TLexivoAppForm::PriorSearch1Execute()
{
    m_history->back();
}

void TLexivoAppForm::NextSearch1Execute()
{
    m_history->next();
}

void TLexivoAppForm::PriorMenuItemClick(int item)
{
    m_inHistoryMenuClick = true;
    m_history->backMenuClick(item);
    m_inHistoryMenuClick = false;
}

void TLexivoAppForm::NextMenuItemClick(int item)
{
    m_inHistoryMenuClick = true;
    m_history->forwardMenuClick(item);
    m_inHistoryMenuClick = false;
}

void TLexivoAppForm::syncHistoryMenus()
{
    action(Command::PriorSearch1)->setEnabled(m_history->backEnabled());
    action(Command::NextSearch1)->setEnabled(m_history->nextEnabled());
    auto rebuild = [this](QMenu *menu, const QStringList &captions, void (TLexivoAppForm::*click)(int)) {
        menu->clear();
        for (int i = 0; i < captions.size(); ++i) {
            QAction *item = menu->addAction(SearchHistory::actionText(captions.at(i)));
            connect(item, &QAction::triggered, this, [this, click, i] { (this->*click)(i); });
        }
    };
    rebuild(PriorPopupMenu, m_history->backMenu(), &TLexivoAppForm::PriorMenuItemClick);
    rebuild(NextPopupMenu, m_history->forwardMenu(), &TLexivoAppForm::NextMenuItemClick);
}
