#pragma once

#include "shelf/StarDict.h"

// GCIDE writes letters it had no character for as codes in brackets ("[=e]" for ē, "[th]" for the "th" of
// "then", "[eth]" for ð); this gives the letters. Codes it does not know, and ordinary brackets ("[Obs.]"),
// stay as written.
QString replaceGcideCodes(const QString &text);

// A dictd entry as text and rich text: line layout kept, "{word}" references shown as the plain word (which a
// double-click follows like any other), "\word\" headword spellings in bold. GCIDE's codes are replaced first
// when gcide is set.
RenderedEntry renderDictdEntry(const QString &text, bool gcide);

// The pronunciation FreeDict gives after the headword on an entry's first line ("lighthouse /lˈaɪthaʊs/"),
// without its slashes; empty when there is none.
QString dictdPronunciation(const QString &text);
