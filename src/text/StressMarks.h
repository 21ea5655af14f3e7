#pragma once

#include <QString>

// An IPA transcription with each stress mark (ˈ, ˌ) moved from before its vowel to the start of its
// syllable, as dictionaries print it: /sˌɛɹəndˈɪpɪti/ becomes /ˌsɛɹənˈdɪpɪti/. The consonants before a
// stressed vowel go with it as far as English lets a syllable begin with them (/st/, /str/, /pl/ may;
// /nd/, /ŋ/, /ts/ may not), and all of them at the start of a word. Everything else is left as it is.
QString stressAtSyllableStart(const QString &ipa);
