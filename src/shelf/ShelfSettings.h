#pragma once

#include "shelf/AddedDictionary.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The user's choices about added dictionaries: the folders they added, and for every dictionary seen so far
// whether it is on and where it stands in their order. Kept as strings in a group of its own ("Dictionaries")
// of the user's settings file, beside and apart from the window's settings.
struct ShelfSettings
{
    struct Choice
    {
        QString id;
        bool enabled = true;
    };

    QStringList folders;
    QList<Choice> choices;

    // The settings key path of the group, as the settings file names groups.
    static QString keyPath() { return QStringLiteral("\\SOFTWARE\\Ostrand\\Verbarium\\Dictionaries"); }
    static ShelfSettings read(const std::function<QString(const QString &name)> &value);
    void write(const std::function<void(const QString &name, const QString &value)> &set) const;
    // Reads the group straight from the settings file under configFolder, for programs without the window's
    // settings code; missing or unreadable reads as no choices.
    static ShelfSettings readFile(const QString &configFolder);

    // The standard folders (or those of $VERBARIUM_DICTIONARY_FOLDERS) and the user's, each once.
    QStringList searchFolders() const;
    // found in the user's order (those seen before, then new ones as found), with whether each is on.
    QList<Choice> arrange(const QList<DictionarySource> &found) const;
};
