#pragma once

#include <QList>
#include <QString>

// One line of an entry as plain text: where its first line starts and where its wrapped lines go on.
struct EntryLine
{
    QString text;
    int indent = 0;
    int hangingIndent = 0;
    friend bool operator==(const EntryLine &, const EntryLine &) = default;
};

// An entry's rich text (the dictionary's HTML) as lines for a terminal: paragraphs at the margin, list items
// numbered and indented, line breaks inside an item kept under its text, tags dropped, entities decoded.
QList<EntryLine> entryLines(const QString &html);

// The lines as text, each wrapped at word boundaries to width columns (not at all when width is 0).
QString layOut(const QList<EntryLine> &lines, int width);
