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
#include "platform/MessageBox.h"

#include <QAction>
#include <QTimer>

#include <exception>

namespace {

// A failure escaping a handler is shown in the error box and the program goes on.
template <typename F>
void guarded(F &&handler)
{
    try {
        handler();
    } catch (const AppError &error) {
        MessageBoxes::exception(error.message());
    } catch (const std::exception &error) {
        MessageBoxes::exception(QString::fromLocal8Bit(error.what()));
    }
}

} // namespace

void TLexivoAppForm::bindHandlers()
{
    using Handler = void (TLexivoAppForm::*)();
    const std::pair<const char *, Handler> handlers[] = {
        {"FileSend1", &TLexivoAppForm::FileSend1Execute},
        {"FileClose1", &TLexivoAppForm::FileClose1Execute},
        {"HelpAbout1", &TLexivoAppForm::HelpAbout1Execute},
        {"DataSetNext1", &TLexivoAppForm::DataSetNext1Execute},
        {"DataSetPrior1", &TLexivoAppForm::DataSetPrior1Execute},
        {"RichEditBold1", &TLexivoAppForm::RichEditBold1Execute},
        {"SpeakWord1", &TLexivoAppForm::SpeakWord1Execute},
        {"SoundStop1", &TLexivoAppForm::SoundStop1Execute},
        {"SpeakWords", &TLexivoAppForm::SpeakWordsExecute},
        {"RichEditItalic1", &TLexivoAppForm::RichEditItalic1Execute},
        {"RichEditUnderline1", &TLexivoAppForm::RichEditUnderline1Execute},
        {"CheckClipAction1", &TLexivoAppForm::CheckClipAction1Execute},
        {"PriorSearch1", &TLexivoAppForm::PriorSearch1Execute},
        {"NextSearch1", &TLexivoAppForm::NextSearch1Execute},
        {"FileExit1", &TLexivoAppForm::FileExit1Execute},
        {"CheckClipSoundAction1", &TLexivoAppForm::CheckClipSoundAction1Execute},
        {"ShowHideLeftAction", &TLexivoAppForm::ShowHideLeftActionExecute},
        {"ContentAction1", &TLexivoAppForm::ContentAction1Execute},
        {"AoTAction1", &TLexivoAppForm::AoTAction1Execute},
        {"ToolbarAction", &TLexivoAppForm::ToolbarActionExecute},
        {"StatusBarAction", &TLexivoAppForm::StatusBarActionExecute},
        {"AutoRestoreAction", &TLexivoAppForm::AutoRestoreActionExecute},
        {"EditCopyWordAction", &TLexivoAppForm::EditCopyWordActionExecute},
        {"RestoreAction", &TLexivoAppForm::RestoreActionExecute},
        {"ReportAction", &TLexivoAppForm::ReportActionExecute},
        {"SuggestAction", &TLexivoAppForm::SuggestActionExecute},
        {"FindEntries1", &TLexivoAppForm::FindEntries1Execute},
    };
    for (const auto &[name, handler] : handlers) {
        QAction *a = action(name);
        const bool checksItself = [&] {
            for (const CommandDef &def : commandTable())
                if (qstrcmp(def.name, name) == 0)
                    return (def.state & CommandDef::ChecksItself) != 0;
            return false;
        }();
        CommandBinding::bind(a, [this, handler] { guarded([&] { (this->*handler)(); }); }, checksItself);
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
