// clear.sav: 31 lines of True or False, CR LF, one per stage flag (the last is spare).
#pragma once

#include <string>

namespace game {

// Reads values separated by line ends (CR LF, CR or LF) or commas into flags[0..30],
// stopping at the end of the text or at the first value that is neither a truth word
// nor a number (an empty value too); the rest are left as they are. Returns how many
// flags were read.
int parseClearRecord(const std::string& text, bool flags[31]);

std::string formatClearRecord(const bool flags[31]);

}  // namespace game
