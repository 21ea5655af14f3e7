// Binds the command table, the controls' events and the timers to the window's handlers.
#include "app/Lexivo1.h"

#include "app/CommandBinding.h"
#include "app/CommandTable.h"
#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"
#include "platform/AppError.h"

#include <QAction>
#include <QTimer>

#include <exception>

template <typename F>
void TLexivoAppForm::guarded(F &&handler)
{
    try {
        handler();
    } catch (const AppError &error) {
        m_platform.messages.exception(error.message());
    } catch (const std::exception &error) {
        m_platform.messages.exception(QString::fromLocal8Bit(error.what()));
    }
}

// A command's handler, bound to its action by id.
struct TLexivoAppForm::HandlerRow
{
    Command id;
    void (TLexivoAppForm::*handler)();
};

std::span<const TLexivoAppForm::HandlerRow> TLexivoAppForm::handlerTable()
{
    static constexpr HandlerRow kHandlers[] = {
        {Command::FileSend1, &TLexivoAppForm::FileSend1Execute},
        {Command::FileClose1, &TLexivoAppForm::FileClose1Execute},
        {Command::HelpAbout1, &TLexivoAppForm::HelpAbout1Execute},
        {Command::DataSetNext1, &TLexivoAppForm::DataSetNext1Execute},
        {Command::DataSetPrior1, &TLexivoAppForm::DataSetPrior1Execute},
        {Command::RichEditBold1, &TLexivoAppForm::RichEditBold1Execute},
        {Command::SpeakWord1, &TLexivoAppForm::SpeakWord1Execute},
        {Command::SoundStop1, &TLexivoAppForm::SoundStop1Execute},
        {Command::SpeakWords, &TLexivoAppForm::SpeakWordsExecute},
        {Command::RichEditItalic1, &TLexivoAppForm::RichEditItalic1Execute},
        {Command::RichEditUnderline1, &TLexivoAppForm::RichEditUnderline1Execute},
        {Command::CheckClipAction1, &TLexivoAppForm::CheckClipAction1Execute},
        {Command::PriorSearch1, &TLexivoAppForm::PriorSearch1Execute},
        {Command::NextSearch1, &TLexivoAppForm::NextSearch1Execute},
        {Command::FileExit1, &TLexivoAppForm::FileExit1Execute},
        {Command::CheckClipSoundAction1, &TLexivoAppForm::CheckClipSoundAction1Execute},
        {Command::ShowHideLeftAction, &TLexivoAppForm::ShowHideLeftActionExecute},
        {Command::ContentAction1, &TLexivoAppForm::ContentAction1Execute},
        {Command::AoTAction1, &TLexivoAppForm::AoTAction1Execute},
        {Command::ToolbarAction, &TLexivoAppForm::ToolbarActionExecute},
        {Command::StatusBarAction, &TLexivoAppForm::StatusBarActionExecute},
        {Command::AutoRestoreAction, &TLexivoAppForm::AutoRestoreActionExecute},
        {Command::EditCopyWordAction, &TLexivoAppForm::EditCopyWordActionExecute},
        {Command::RestoreAction, &TLexivoAppForm::RestoreActionExecute},
        {Command::ReportAction, &TLexivoAppForm::ReportActionExecute},
        {Command::SuggestAction, &TLexivoAppForm::SuggestActionExecute},
        {Command::FindEntries1, &TLexivoAppForm::FindEntries1Execute},
        {Command::DictionariesAction1, &TLexivoAppForm::DictionariesAction1Execute},
    };
    return kHandlers;
}

QStringList TLexivoAppForm::commandWiringFaults()
{
    QList<Command> bound(kStandardEditCommands.begin(), kStandardEditCommands.end());
    for (const HandlerRow &row : handlerTable())
        bound.append(row.id);
    return commandFaults(commandTable(), bound, commandLists());
}

void TLexivoAppForm::bindHandlers()
{
    for (const auto &[id, handler] : handlerTable()) {
        const bool checksItself = (commandDef(id).state & CommandDef::ChecksItself) != 0;
        CommandBinding::bind(action(id), [this, handler] { guarded([&] { (this->*handler)(); }); }, checksItself);
    }
    bindStandardEditCommands();

    connect(SEdit1, &QLineEdit::textChanged, this, [this] { guarded([this] { SEdit1Change(); }); });
    connect(SEdit1, &SearchEdit::keyDown, this, [this] { SEdit1KeyDown(); });
    connect(Table1, &DictionaryTable::beforeOpen, this, &TLexivoAppForm::Table1BeforeOpen);
    connect(Table1, &DictionaryTable::afterClose, this, &TLexivoAppForm::Table1AfterClose);
    connect(Table1, &DictionaryTable::afterScroll, this, [this] { guarded([this] { Table1AfterScroll(); }); });
    connect(Table1, &DictionaryTable::dataChanged, this, &TLexivoAppForm::updateNavigationCommands);
    connect(DBGrid1, &WordGrid::entered, this, [this] { guarded([this] { DBGrid1Enter(); }); });
    connect(DBGrid1, &WordGrid::rowChosen, this, [this](int row) { guarded([this, row] { Table1->moveTo(row); }); });
    connect(RichEdit1, &EntryView::doubleClicked, this, [this] { guarded([this] { RichEdit1DblClick(); }); });
    connect(WordDBText1, &HeadwordLabel::clicked, this, &TLexivoAppForm::WordDBText1Click);
    // The clipboard tick swallows its own failures.
    connect(Timer1, &QTimer::timeout, this, &TLexivoAppForm::Timer1Timer);
}
