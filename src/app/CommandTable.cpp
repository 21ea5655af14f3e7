#include "app/CommandTable.h"

namespace {

using S = CommandDef::State;

constexpr CommandDef kCommands[] = {
    {"EditUndo1", "Edit", "&Undo", "Undo|Reverts the last action", "Ctrl+Z", 21, S::Enabled},
    {"FileSend1", "File", "Sen&d word definition", "Send|Sends current word definition through electronic mail", "", 15, S::Enabled},
    {"FileClose1", "File", "C&lose", "Close|Closes this window", "Alt+F4", 37, S::Enabled},
    {"EditCut1", "Edit", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", "Ctrl+X", 0, S::Enabled},
    {"EditCopy1", "Edit", "&Copy", "Copy|Copies the selection and puts it on the Clipboard", "Ctrl+C", 1, S::Enabled},
    {"EditPaste1", "Edit", "&Paste", "Paste|Inserts Clipboard contents", "Ctrl+V", 2, S::Enabled},
    {"HelpAbout1", "Help", "&About...", "About|Displays program information, version number, and copyright", "", -1, S::Enabled},
    {"DataSetNext1", "Dataset", "&Next", "Scrolls down by a word", "Alt+Down", 16, S::Disabled},
    {"DataSetPrior1", "Dataset", "&Back", "Scrolls up by a word", "Alt+Up", 18, S::Disabled},
    {"RichEditBold1", "Format", "&Bold", "Bold", "Ctrl+B", 19, S::Disabled | S::ChecksItself},
    {"SpeakWord1", "Sound", "&Speak", "Speak word|Speaks looked up or selected word", "Ctrl+T", 30, S::Enabled},
    {"SoundStop1", "Sound", "Stop", "Stop speaking|Stops speaking for current definition or selected/looked up word", "Ctrl+O", 29, S::Enabled},
    {"SpeakWords", "Sound", "&Speak words", "Speak definition|Speaks current definition or selected text from definition", "Ctrl+W", 31, S::Enabled},
    {"RichEditItalic1", "Format", "&Italic", "Italic", "Ctrl+I", 22, S::ChecksItself},
    {"RichEditUnderline1", "Format", "&Underline", "Underline", "Ctrl+U", 23, S::ChecksItself},
    {"EditSelectAll1", "Edit", "Select &All", "Select All|Selects the entire document", "Ctrl+A", -1, S::Enabled},
    {"EditDelete1", "Edit", "&Delete", "Delete|Erases the selection", "Del", 25, S::Enabled},
    {"CheckClipAction1", "Options", "Check Clipboard", "Check Clipboard|Sets dictionary to auto search a word when it is copied in Clipboard ", "", 32, S::Checkable},
    {"PriorSearch1", "Dataset", "B&ack Search", "Previous searched word|Goes to the previous searched word by double click in definitions", "", 26, S::Disabled},
    {"NextSearch1", "Dataset", "N&ext Search", "Next searched word|Goes to the next searched word by double click in definitions", "", 27, S::Disabled},
    {"FileExit1", "File", "E&xit", "Exit|Exits application", "", 37, S::Enabled},
    {"CheckClipSoundAction1", "Options", "Check Clipboard Sound", "Check Clipboard with Sound|Sets dictionary to auto search a word and speak it when is copied in Clipboard", "", 33, S::Checkable},
    {"ShowHideLeftAction", "View", "Hide Words Explorer", "Words Explorer|Shows or hides Words Explorer", "", 35, S::Checkable},
    {"ContentAction1", "Help", "Contents and Index", "Opens help", "", 28, S::Enabled},
    {"AoTAction1", "Options", "Always on Top", "Sets dictionary window to remains on top of the desktop", "", -1, S::Checkable},
    {"ToolbarAction", "View", "Toolbar", "Toolbar|Shows or hides the toolbar", "", -1, S::Checkable | S::Checked},
    {"StatusBarAction", "View", "Status Bar", "Status bar|Shows or hides the status bar", "", -1, S::Checkable | S::Checked},
    {"AutoRestoreAction", "Options", "Auto Restore", "Sets dictionary window to auto restore when a text is copied in Clipboard", "", -1, S::Checkable | S::Checked},
    {"EditCopyWordAction", "Edit", "&Copy Word", "Copy|Copies the selected word and puts it on the Clipboard", "", 1, S::Enabled},
    {"RestoreAction", "View", "&Restore", "", "", 36, S::Enabled},
    {"ReportAction", "Help", "&Report a Bug...", "Sends a bug report about Verbarium software", "", -1, S::Enabled},
    {"SuggestAction", "Help", "Send Su&ggestion...", "Sends a suggestion about Verbarium software", "", -1, S::Enabled},
    {"FindEntries1", "Dataset", "Find in Entries...", "Find in entries|Finds the words whose entries mention what you type, or the headwords that match a pattern such as *phobia", "Ctrl+F", -1, S::Enabled},
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
