#pragma once

#include <QString>

// The words of an entry without its markup: paragraphs, items and breaks become line breaks, other
// tags vanish, the few character references the entries use are decoded. What the text index
// holds and what an excerpt shows.
QString entryPlainText(QStringView html);
