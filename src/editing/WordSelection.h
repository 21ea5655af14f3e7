#pragma once

#include <QPoint>
#include <QString>
#include <QTextCursor>

class QTextEdit;

// A cursor that selects the word under `viewportPos` (viewport coordinates of `edit`); its selection is
// empty when the point lies on blank space, past the end of a line or below the text.
QTextCursor wordCursorAt(const QTextEdit *edit, const QPoint &viewportPos);

// A view's selection as plain text with its line ends as line breaks, or the whole text when nothing is
// selected: what "Speak words" reads.
QString selectedTextOrAll(const QTextEdit *view);
