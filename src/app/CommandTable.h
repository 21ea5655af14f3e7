#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

// The window's commands, named as their actions' object names (the designer names), in the table's order.
enum class Command : int {
    Separator = -1, // in a menu or toolbar list: a line between two groups, no command
    EditUndo1,
    FileSend1,
    FileClose1,
    EditCut1,
    EditCopy1,
    EditPaste1,
    HelpAbout1,
    DataSetNext1,
    DataSetPrior1,
    RichEditBold1,
    SpeakWord1,
    SoundStop1,
    SpeakWords,
    RichEditItalic1,
    RichEditUnderline1,
    EditSelectAll1,
    EditDelete1,
    CheckClipAction1,
    PriorSearch1,
    NextSearch1,
    FileExit1,
    CheckClipSoundAction1,
    ShowHideLeftAction,
    ContentAction1,
    AoTAction1,
    ToolbarAction,
    StatusBarAction,
    AutoRestoreAction,
    EditCopyWordAction,
    RestoreAction,
    ReportAction,
    SuggestAction,
    FindEntries1,
    DictionariesAction1,
    Count // the number of commands, not one of them
};

// One row of the window's command table: every caption, hint, shortcut and image in one place.
struct CommandDef
{
    enum State : unsigned {
        Enabled = 0,
        Disabled = 1u << 0,
        Checked = 1u << 1,
        ChecksItself = 1u << 2, // carrying out the command toggles its own check mark
        Checkable = 1u << 3,    // shows a check mark that its handler sets
    };

    Command id;
    const char *name;      // the action's object name, which tests and settings may look it up by
    const char *category;
    const char *caption;
    const char *hint;      // "short|long"; without "|" the text serves as both
    const char *shortcut;  // QKeySequence portable text, "" for none
    int imageIndex;        // a CommandImages::Image; NoImage for none
    unsigned state;
};

// The rows in the order of the action list, which is the order of the ids.
std::span<const CommandDef> commandTable();
const CommandDef &commandDef(Command id);

// What keeps a command table, the commands bound to handlers and the menu and toolbar lists from agreeing,
// one line per fault: every id must have its row in its place, be bound exactly once, and every listed id
// must be a command or a separator. Empty when they agree.
QStringList commandFaults(std::span<const CommandDef> table, const QList<Command> &bound,
                          const QList<QList<Command>> &lists);

// The short and the long part of a hint.
QString shortHint(const QString &hint);
QString longHint(const QString &hint);
