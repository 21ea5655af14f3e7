#include "app/CommandTable.h"

#include "artwork/CommandImages.h"

#include <iterator>

namespace {

using S = CommandDef::State;
using namespace CommandImages;

// A row's id and its object name are written once, so they cannot drift apart.
#define VB_COMMAND(id) Command::id, #id

constexpr CommandDef kCommands[] = {
    {VB_COMMAND(EditUndo1), "Edit", "&Undo", "Undo|Reverts the last action", "Ctrl+Z", Undo, S::Enabled},
    {VB_COMMAND(FileSend1), "File", "Sen&d word definition", "Send|Sends current word definition through electronic mail", "", Send, S::Enabled},
    {VB_COMMAND(FileClose1), "File", "C&lose", "Close|Closes this window", "Alt+F4", CloseWindow, S::Enabled},
    {VB_COMMAND(EditCut1), "Edit", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", "Ctrl+X", Cut, S::Enabled},
    {VB_COMMAND(EditCopy1), "Edit", "&Copy", "Copy|Copies the selection and puts it on the Clipboard", "Ctrl+C", Copy, S::Enabled},
    {VB_COMMAND(EditPaste1), "Edit", "&Paste", "Paste|Inserts Clipboard contents", "Ctrl+V", Paste, S::Enabled},
    {VB_COMMAND(HelpAbout1), "Help", "&About...", "About|Displays program information, version number, and copyright", "", NoImage, S::Enabled},
    {VB_COMMAND(DataSetNext1), "Dataset", "&Next", "Scrolls down by a word", "Alt+Down", Next, S::Disabled},
    {VB_COMMAND(DataSetPrior1), "Dataset", "&Back", "Scrolls up by a word", "Alt+Up", Prior, S::Disabled},
    {VB_COMMAND(RichEditBold1), "Format", "&Bold", "Bold", "Ctrl+B", Bold, S::Disabled | S::ChecksItself},
    {VB_COMMAND(SpeakWord1), "Sound", "&Speak", "Speak word|Speaks looked up or selected word", "Ctrl+T", SpeakWord, S::Enabled},
    {VB_COMMAND(SoundStop1), "Sound", "Stop", "Stop speaking|Stops speaking for current definition or selected/looked up word", "Ctrl+O", Stop, S::Enabled},
    {VB_COMMAND(SpeakWords), "Sound", "&Speak words", "Speak definition|Speaks current definition or selected text from definition", "Ctrl+W", SpeakWords, S::Enabled},
    {VB_COMMAND(RichEditItalic1), "Format", "&Italic", "Italic", "Ctrl+I", Italic, S::ChecksItself},
    {VB_COMMAND(RichEditUnderline1), "Format", "&Underline", "Underline", "Ctrl+U", Underline, S::ChecksItself},
    {VB_COMMAND(EditSelectAll1), "Edit", "Select &All", "Select All|Selects the entire document", "Ctrl+A", NoImage, S::Enabled},
    {VB_COMMAND(EditDelete1), "Edit", "&Delete", "Delete|Erases the selection", "Del", Delete, S::Enabled},
    {VB_COMMAND(CheckClipAction1), "Options", "Check Clipboard", "Check Clipboard|Sets dictionary to auto search a word when it is copied in Clipboard ", "", CheckClipboard, S::Checkable},
    {VB_COMMAND(PriorSearch1), "Dataset", "B&ack Search", "Previous searched word|Goes to the previous searched word by double click in definitions", "", SearchBack, S::Disabled},
    {VB_COMMAND(NextSearch1), "Dataset", "N&ext Search", "Next searched word|Goes to the next searched word by double click in definitions", "", SearchForward, S::Disabled},
    {VB_COMMAND(FileExit1), "File", "E&xit", "Exit|Exits application", "", CloseWindow, S::Enabled},
    {VB_COMMAND(CheckClipSoundAction1), "Options", "Check Clipboard Sound", "Check Clipboard with Sound|Sets dictionary to auto search a word and speak it when is copied in Clipboard", "", CheckClipboardSound, S::Checkable},
    {VB_COMMAND(ShowHideLeftAction), "View", "Hide Words Explorer", "Words Explorer|Shows or hides Words Explorer", "", HideExplorer, S::Checkable},
    {VB_COMMAND(ContentAction1), "Help", "Contents and Index", "Opens help", "", Help, S::Enabled},
    {VB_COMMAND(AoTAction1), "Options", "Always on Top", "Sets dictionary window to remains on top of the desktop", "", NoImage, S::Checkable},
    {VB_COMMAND(ToolbarAction), "View", "Toolbar", "Toolbar|Shows or hides the toolbar", "", NoImage, S::Checkable | S::Checked},
    {VB_COMMAND(StatusBarAction), "View", "Status Bar", "Status bar|Shows or hides the status bar", "", NoImage, S::Checkable | S::Checked},
    {VB_COMMAND(AutoRestoreAction), "Options", "Auto Restore", "Sets dictionary window to auto restore when a text is copied in Clipboard", "", NoImage, S::Checkable | S::Checked},
    {VB_COMMAND(EditCopyWordAction), "Edit", "&Copy Word", "Copy|Copies the selected word and puts it on the Clipboard", "", Copy, S::Enabled},
    {VB_COMMAND(RestoreAction), "View", "&Restore", "", "", Restore, S::Enabled},
    {VB_COMMAND(ReportAction), "Help", "&Report a Bug...", "Sends a bug report about Verbarium software", "", NoImage, S::Enabled},
    {VB_COMMAND(SuggestAction), "Help", "Send Su&ggestion...", "Sends a suggestion about Verbarium software", "", NoImage, S::Enabled},
    {VB_COMMAND(FindEntries1), "Dataset", "Find in Entries...", "Find in entries|Finds the words whose entries mention what you type, or the headwords that match a pattern such as *phobia", "Ctrl+F", NoImage, S::Enabled},
    {VB_COMMAND(DictionariesAction1), "Options", "Dictionaries...", "Dictionaries|Chooses which of your dictd and StarDict dictionaries the word list and the entry show, and in what order", "Ctrl+Shift+D", NoImage, S::Enabled},
};

#undef VB_COMMAND

constexpr bool rowsInIdOrder()
{
    for (size_t i = 0; i < std::size(kCommands); ++i) {
        if (kCommands[i].id != Command(int(i)))
            return false;
    }
    return true;
}
static_assert(std::size(kCommands) == size_t(Command::Count) && rowsInIdOrder(),
              "every command has one row, in the order of the ids");

} // namespace

std::span<const CommandDef> commandTable()
{
    return kCommands;
}

const CommandDef &commandDef(Command id)
{
    Q_ASSERT(id >= Command(0) && id < Command::Count);
    return kCommands[static_cast<int>(id)];
}

QStringList commandFaults(std::span<const CommandDef> table, const QList<Command> &bound,
                          const QList<QList<Command>> &lists)
{
    QStringList faults;
    auto known = [](Command id) { return id >= Command(0) && id < Command::Count; };
    auto nameOf = [&table](Command id) {
        const int i = static_cast<int>(id);
        return i < int(table.size()) ? QString::fromLatin1(table[i].name) : QStringLiteral("#%1").arg(i);
    };
    if (table.size() != size_t(Command::Count))
        faults << QStringLiteral("the table has %1 rows for %2 commands").arg(table.size()).arg(int(Command::Count));
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].id != Command(int(i)))
            faults << QStringLiteral("row %1 (%2) is not in its command's place").arg(i).arg(QLatin1String(table[i].name));
    }
    QList<int> bindings(int(Command::Count), 0);
    for (Command id : bound) {
        if (known(id))
            ++bindings[int(id)];
        else
            faults << QStringLiteral("a handler is bound to command #%1, which has no row").arg(int(id));
    }
    for (int i = 0; i < int(Command::Count); ++i) {
        if (bindings[i] != 1)
            faults << QStringLiteral("%1 is bound %2 times").arg(nameOf(Command(i))).arg(bindings[i]);
    }
    for (qsizetype l = 0; l < lists.size(); ++l) {
        for (Command id : lists[l]) {
            if (id != Command::Separator && !known(id))
                faults << QStringLiteral("list %1 names command #%2, which has no row").arg(l).arg(int(id));
        }
    }
    return faults;
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
