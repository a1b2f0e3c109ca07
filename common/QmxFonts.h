// The font unit: the maker's programs show their texts in Tahoma and carry
// the two font files themselves, so they register them for the time they
// run. The installer records the folder of the files under HKEY_CURRENT_USER
// "Software\QMX" "Czcionki"; without that key the program folder is used.
//
// Started before the common utility unit:
//     StartUnit(AddStartupFonts, RemoveStartupFonts);
#pragma once

// Adds "tahoma.ttf" and "tahomabd.ttf" from the fonts folder; a file that
// cannot be added is left out (and later not removed).
void AddStartupFonts();
// Removes each font that AddStartupFonts added, by the same file name.
void RemoveStartupFonts();
