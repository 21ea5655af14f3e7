#pragma once

#include <QString>

// The first `maxUnits` UTF-16 units of `text`, one fewer when the cut would split a surrogate pair.
qsizetype cutLength(const QString &text, qsizetype maxUnits);
