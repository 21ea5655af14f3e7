#pragma once

#include <QString>

// The text an entity of an entry's rich text stands for, given its name between "&" and ";" ("amp", "#233",
// "#x1F600"); a null string for a name it does not know.
QString htmlEntityText(QStringView name);
