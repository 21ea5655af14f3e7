// What the text controls do: the key router, the six edit commands, bold, italic and underline, "Copy Word".
#include "app/Lexivo1.h"

#include "app/CommandTable.h"
#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "editing/EditCommands.h"
#include "editing/EmphasisCommand.h"
#include "editing/KeyRouter.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace {

void runEmphasis(EmphasisBinding *binding)
{
    if (binding)
        binding->execute();
}

} // namespace

void TLexivoAppForm::bindStandardEditCommands()
{
    std::array<QAction *, 6> actions{};
    std::transform(kStandardEditCommands.begin(), kStandardEditCommands.end(), actions.begin(),
                   [this](Command id) { return action(id); });
    m_editCommands = new StandardEditCommands(this, m_platform.clipboard(), actions, this);
    m_editCommands->setObjectName(QStringLiteral("StandardEditCommands"));
    for (QMenu *menu : {MainMenu1->findChild<QMenu *>(QStringLiteral("Edit1")), EditPopupMenu1, RichEditPopupMenu1}) {
        if (menu)
            m_editCommands->watchMenu(menu);
    }
}

void TLexivoAppForm::createEditing()
{
    // From here on the router alone fires shortcuts, in the order context menu, main menu, command table.
    m_keyRouter = new KeyRouter(this, this);
    m_keyRouter->setObjectName(QStringLiteral("KeyRouter"));
    m_keyRouter->setMainMenu(MainMenu1);
    QList<QAction *> commands;
    for (const CommandDef &def : commandTable())
        commands.append(action(def.id));
    m_keyRouter->setCommands(commands);
    m_keyRouter->setContextMenu(SEdit1, EditPopupMenu1);
    m_keyRouter->setContextMenu(RichEdit1, RichEditPopupMenu1);
    m_keyRouter->setContextMenu(WordDBText1, SWordPopupMenu1);
    m_keyRouter->setContextMenu(DBGrid1, SWordPopupMenu1);
    // A key is decided on the edit commands' states of this very moment.
    connect(m_keyRouter, &KeyRouter::aboutToRoute, m_editCommands, &StandardEditCommands::update);
    m_keyRouter->install();

    auto bind = [this](Emphasis style, Command id) {
        QAction *a = action(id);
        auto *binding = new EmphasisBinding(style, a, RichEdit1, m_keyRouter, this);
        // The named handler carries the command out, so the binding must not run it a second time.
        disconnect(a, &QAction::triggered, binding, &EmphasisBinding::execute);
        return binding;
    };
    m_boldBinding = bind(Emphasis::Bold, Command::RichEditBold1);
    m_italicBinding = bind(Emphasis::Italic, Command::RichEditItalic1);
    m_underlineBinding = bind(Emphasis::Underline, Command::RichEditUnderline1);
}

void TLexivoAppForm::RichEditBold1Execute()
{
    runEmphasis(m_boldBinding);
}

void TLexivoAppForm::RichEditItalic1Execute()
{
    runEmphasis(m_italicBinding);
}

void TLexivoAppForm::RichEditUnderline1Execute()
{
    runEmphasis(m_underlineBinding);
}

void TLexivoAppForm::EditCopyWordActionExecute()
{
    EditCommands::copyWord(SEdit1);
}
