// Letter-case folding for the comparisons the settings file makes.
//
// Settings sections and keys, and the directories of the recent-database
// list, are compared without regard to letter case, as the Windows version
// of the program did. Paths may hold Czech letters, so the folding covers
// ASCII and the Latin-1 and Latin Extended-A blocks (every letter of Czech
// and its neighbours); other characters compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace kolvio {

// The lower-case form of UTF-8 text. Invalid bytes fold to U+FFFD.
std::string FoldCase(std::string_view utf8);

// True when the two texts are equal after FoldCase.
bool EqualsFolded(std::string_view a, std::string_view b);

}  // namespace kolvio
