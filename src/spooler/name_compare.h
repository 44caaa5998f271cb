#pragma once
// Printer and port names compared as the spooler compares them: ordinal (unit by unit, the same
// on every machine and locale) and without regard to letter case.
#include <string_view>

// The unit's upper case: ASCII, and the Unicode simple upper-case mapping of the lower-case
// letters of U+0080..U+052F (Latin-1, Latin Extended-A and -B, IPA, Greek, Cyrillic), of Latin
// Extended Additional (U+1E00..U+1EFF) and of the full-width Latin letters. Every other unit,
// surrogates included, is its own upper case.
char16_t UpperCaseUnit(char16_t unit);

// True when both names have the same length and the same upper case unit by unit.
bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b);
