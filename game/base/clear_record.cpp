// clear.sav: 31 lines of True or False, CR LF, one per stage flag (the last is spare).
#include "game/base/clear_record.h"

#include <strings.h>

#include <cstdlib>

namespace game {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// True or False in any letter case, or a number (0 is false, any other true).
bool convert(const std::string& v, bool& out) {
  if (strcasecmp(v.c_str(), "true") == 0) return out = true, true;
  if (strcasecmp(v.c_str(), "false") == 0) return out = false, true;
  // Plain decimal numbers only: strtod alone would take "nan", "inf" and hex too.
  if (v.empty() || v.find_first_not_of("+-.0123456789eE") != std::string::npos) return false;
  char* end = nullptr;
  const double d = std::strtod(v.c_str(), &end);
  if (end != v.c_str() + v.size()) return false;
  out = d != 0;
  return true;
}

}  // namespace

int parseClearRecord(const std::string& text, bool flags[31]) {
  size_t pos = 0;
  for (int i = 0; i < 31; ++i) {
    if (pos >= text.size()) return i;  // the file ended
    // A value runs to the next comma or line end; an empty one (a blank line) converts
    // to no truth value and stops the read like any other.
    size_t end = pos;
    while (end < text.size() && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
    size_t first = pos, last = end;
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    bool value;
    if (!convert(text.substr(first, last - first), value)) return i;
    flags[i] = value;
    // One separator: a comma, or one line end (CR LF, a lone CR or a lone LF).
    pos = end;
    if (pos < text.size() && text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
      pos += 2;
    else if (pos < text.size())
      ++pos;
  }
  return 31;
}

std::string formatClearRecord(const bool flags[31]) {
  std::string out;
  for (int i = 0; i < 31; ++i) out += flags[i] ? "True\r\n" : "False\r\n";
  return out;
}

}  // namespace game
