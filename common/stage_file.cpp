// Reading and writing stage.stg: 30 lines of 100 digits, CR LF line ends.
#include "common/stage_file.h"

#include "common/atomic_file.h"
#include "common/file_error.h"

namespace common {

bool parseStageText(StageSet& set, const std::string& text, int* lineCount) {
  size_t pos = 0;
  int lines = 0;
  for (int s = 1; s <= kStageCount; ++s) {
    if (pos >= text.size()) break;  // the file ended before this line
    // A line ends at CR; an LF right after it is part of the terminator. A bare LF
    // is an ordinary character, so a file of LF-only lines reads as one line.
    size_t end = text.find('\r', pos);
    if (end == std::string::npos) end = text.size();
    const size_t len = end - pos;
    for (int y = 0; y < kFieldSize; ++y) {
      for (int x = 0; x < kFieldSize; ++x) {
        const size_t p = static_cast<size_t>(10 * y + x);
        const char c = p < len ? text[pos + p] : '\0';
        set(x, y, s) = (c >= '0' && c <= '9') ? static_cast<uint8_t>(c - '0') : 0;
      }
    }
    ++lines;
    pos = end;
    if (pos < text.size()) {
      ++pos;  // the CR
      if (pos < text.size() && text[pos] == '\n') ++pos;
    }
  }
  if (lineCount) *lineCount = lines;
  return lines == kStageCount;
}

namespace {

// The read ran out of lines because its last line holds line feeds that are not after a
// CR: the file was saved with LF line ends.
bool endsInLfOnly(const std::string& text) {
  const size_t lastCr = text.rfind('\r');
  size_t rest = lastCr == std::string::npos ? 0 : lastCr + 1;
  if (lastCr != std::string::npos && rest < text.size() && text[rest] == '\n') ++rest;
  return text.find('\n', rest) != std::string::npos;
}

}  // namespace

void loadStageFile(StageSet& set, const std::string& path) {
  const std::string text = readWholeFile(path);
  if (text.empty()) throw FileError(path, "is empty");
  int lines = 0;
  if (!parseStageText(set, text, &lines)) {
    if (endsInLfOnly(text)) throw FileError(path, "lines end in LF only; the file needs CR LF");
    throw FileError(
        path, "the file ends after " + std::to_string(lines) + " lines; 30 stage lines are needed");
  }
}

std::string formatStageText(const StageSet& set) {
  std::string out;
  out.reserve(kStageCount * 102);
  for (int s = 1; s <= kStageCount; ++s) {
    for (int y = 0; y < kFieldSize; ++y)
      for (int x = 0; x < kFieldSize; ++x) out += static_cast<char>('0' + set(x, y, s) % 10);
    out += "\r\n";
  }
  return out;
}

void saveStageFile(const StageSet& set, const std::string& path) {
  replaceFileAtomically(path, formatStageText(set));
}

}  // namespace common
