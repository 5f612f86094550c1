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
    while (pos < text.size() && (isBlank(text[pos]) || text[pos] == '\r' || text[pos] == '\n'))
      ++pos;                           // blank lines and blanks before a value
    if (pos >= text.size()) return i;  // the file ended early
    size_t end = pos;
    while (end < text.size() && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
    size_t last = end;
    while (last > pos && isBlank(text[last - 1])) --last;
    bool value;
    if (!convert(text.substr(pos, last - pos), value)) return i;
    flags[i] = value;
    pos = end < text.size() && text[end] == ',' ? end + 1 : end;
  }
  return 31;
}

std::string formatClearRecord(const bool flags[31]) {
  std::string out;
  for (int i = 0; i < 31; ++i) out += flags[i] ? "True\r\n" : "False\r\n";
  return out;
}

}  // namespace game
