#include "app/CommandTable.h"

#include "artwork/CommandImages.h"

namespace {

using S = CommandDef::State;
using namespace CommandImages;

constexpr CommandDef kCommands[] = {
    {"EditUndo1", "Edit", "&Undo", "Undo|Reverts the last action", "Ctrl+Z", Undo, S::Enabled},
    {"FileSend1", "File", "Sen&d word definition", "Send|Sends current word definition through electronic mail", "", Send, S::Enabled},
    {"FileClose1", "File", "C&lose", "Close|Closes this window", "Alt+F4", CloseWindow, S::Enabled},
    {"EditCut1", "Edit", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", "Ctrl+X", Cut, S::Enabled},
    {"EditCopy1", "Edit", "&Copy", "Copy|Copies the selection and puts it on the Clipboard", "Ctrl+C", Copy, S::Enabled},
    {"EditPaste1", "Edit", "&Paste", "Paste|Inserts Clipboard contents", "Ctrl+V", Paste, S::Enabled},
    {"HelpAbout1", "Help", "&About...", "About|Displays program information, version number, and copyright", "", NoImage, S::Enabled},
    {"DataSetNext1", "Dataset", "&Next", "Scrolls down by a word", "Alt+Down", Next, S::Disabled},
    {"DataSetPrior1", "Dataset", "&Back", "Scrolls up by a word", "Alt+Up", Prior, S::Disabled},
    {"RichEditBold1", "Format", "&Bold", "Bold", "Ctrl+B", Bold, S::Disabled | S::ChecksItself},
    {"SpeakWord1", "Sound", "&Speak", "Speak word|Speaks looked up or selected word", "Ctrl+T", SpeakWord, S::Enabled},
    {"SoundStop1", "Sound", "Stop", "Stop speaking|Stops speaking for current definition or selected/looked up word", "Ctrl+O", Stop, S::Enabled},
    {"SpeakWords", "Sound", "&Speak words", "Speak definition|Speaks current definition or selected text from definition", "Ctrl+W", SpeakWords, S::Enabled},
    {"RichEditItalic1", "Format", "&Italic", "Italic", "Ctrl+I", Italic, S::ChecksItself},
    {"RichEditUnderline1", "Format", "&Underline", "Underline", "Ctrl+U", Underline, S::ChecksItself},
    {"EditSelectAll1", "Edit", "Select &All", "Select All|Selects the entire document", "Ctrl+A", NoImage, S::Enabled},
    {"EditDelete1", "Edit", "&Delete", "Delete|Erases the selection", "Del", Delete, S::Enabled},
    {"CheckClipAction1", "Options", "Check Clipboard", "Check Clipboard|Sets dictionary to auto search a word when it is copied in Clipboard ", "", CheckClipboard, S::Checkable},
    {"PriorSearch1", "Dataset", "B&ack Search", "Previous searched word|Goes to the previous searched word by double click in definitions", "", SearchBack, S::Disabled},
    {"NextSearch1", "Dataset", "N&ext Search", "Next searched word|Goes to the next searched word by double click in definitions", "", SearchForward, S::Disabled},
    {"FileExit1", "File", "E&xit", "Exit|Exits application", "", CloseWindow, S::Enabled},
    {"CheckClipSoundAction1", "Options", "Check Clipboard Sound", "Check Clipboard with Sound|Sets dictionary to auto search a word and speak it when is copied in Clipboard", "", CheckClipboardSound, S::Checkable},
    {"ShowHideLeftAction", "View", "Hide Words Explorer", "Words Explorer|Shows or hides Words Explorer", "", HideExplorer, S::Checkable},
    {"ContentAction1", "Help", "Contents and Index", "Opens help", "", Help, S::Enabled},
    {"AoTAction1", "Options", "Always on Top", "Sets dictionary window to remains on top of the desktop", "", NoImage, S::Checkable},
    {"ToolbarAction", "View", "Toolbar", "Toolbar|Shows or hides the toolbar", "", NoImage, S::Checkable | S::Checked},
    {"StatusBarAction", "View", "Status Bar", "Status bar|Shows or hides the status bar", "", NoImage, S::Checkable | S::Checked},
    {"AutoRestoreAction", "Options", "Auto Restore", "Sets dictionary window to auto restore when a text is copied in Clipboard", "", NoImage, S::Checkable | S::Checked},
    {"EditCopyWordAction", "Edit", "&Copy Word", "Copy|Copies the selected word and puts it on the Clipboard", "", Copy, S::Enabled},
    {"RestoreAction", "View", "&Restore", "", "", Restore, S::Enabled},
    {"ReportAction", "Help", "&Report a Bug...", "Sends a bug report about Verbarium software", "", NoImage, S::Enabled},
    {"SuggestAction", "Help", "Send Su&ggestion...", "Sends a suggestion about Verbarium software", "", NoImage, S::Enabled},
    {"FindEntries1", "Dataset", "Find in Entries...", "Find in entries|Finds the words whose entries mention what you type, or the headwords that match a pattern such as *phobia", "Ctrl+F", NoImage, S::Enabled},
};

} // namespace

std::span<const CommandDef> commandTable()
{
    return kCommands;
}

QString shortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}
