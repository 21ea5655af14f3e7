#pragma once

#include <QString>

// The longest text a word handed in from outside (a copy, a selection, the command line) brings to the search box.
inline constexpr qsizetype kMaxLookupLength = 300;

// Such a text as the search box takes it: a copied line brings its line break and a selected word often a blank
// or a no-break space, which would land the lookup on a neighbour of the word; cut to kMaxLookupLength.
QString lookupTextOf(const QString &text);
