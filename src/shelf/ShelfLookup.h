#pragma once

#include <QList>
#include <QString>

class AddedDictionary;
class MergedWordList;

// One dictionary's part of an entry: its name and its entries for the word, as text and as rich text.
struct ShelfSection
{
    QString dictionaryName;
    QString plainText;
    QString html;
};

// The sections of a row of the merged word list: one for each dictionary (in dictionaries' order, the order
// given to the list) that holds the row's word.
QList<ShelfSection> sectionsForRow(const MergedWordList &list, int row, const QList<const AddedDictionary *> &dictionaries);

// The sections of word in the dictionaries the user has on, in their order, for a program without the window:
// reads the user's choices from configFolder and the key files from cacheFolder (making those that are missing).
// A dictionary's entries spelt exactly as word are taken, else those that differ only by case.
QList<ShelfSection> lookUpInAddedDictionaries(const QString &word, const QString &configFolder,
                                              const QString &cacheFolder);

// The built-in entry followed by the sections, each under its dictionary's name as a small heading.
QString entryWithSections(const QString &builtInHtml, const QList<ShelfSection> &sections);
// The same as plain text: each section under its name, apart from the others by a blank line.
QString plainTextWithSections(const QString &builtInText, const QList<ShelfSection> &sections);
