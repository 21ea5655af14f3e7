#pragma once

#include <QString>

#include <span>

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

    const char *name;
    const char *category;
    const char *caption;
    const char *hint;      // "short|long"; without "|" the text serves as both
    const char *shortcut;  // QKeySequence portable text, "" for none
    int imageIndex;        // a CommandImages::Image; NoImage for none
    unsigned state;
};

// The rows in the order of the action list.
std::span<const CommandDef> commandTable();

// The short and the long part of a hint.
QString shortHint(const QString &hint);
QString longHint(const QString &hint);
