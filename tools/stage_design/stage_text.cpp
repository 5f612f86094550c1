// The readable grid form of the stage set: one block of ten rows per stage, one letter a cell.
#include "tools/stage_design/stage_text.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

namespace stage_design {

namespace {
[[noreturn]] void bad(int lineNo, const std::string& why) {
  throw std::runtime_error("line " + std::to_string(lineNo) + ": " + why);
}
}  // namespace

int cellCode(char letter) {
  const char* at = letter ? std::strchr(kLetters, letter) : nullptr;
  return at ? static_cast<int>(at - kLetters) : -1;
}

void fillStage(common::StageSet& set, int s, const std::vector<std::string>& rows) {
  for (int y = 0; y < common::kFieldSize; ++y) {
    for (int x = 0; x < common::kFieldSize; ++x) {
      const bool given = y < static_cast<int>(rows.size()) && x < static_cast<int>(rows[y].size());
      const int code = given ? cellCode(rows[y][x]) : common::kEmpty;
      if (code < 0) throw std::runtime_error("unknown cell '" + rows[y].substr(x, 1) + "'");
      set(x, y, s) = static_cast<uint8_t>(code);
    }
  }
}

common::StageSet parseStageGrid(const std::string& text, bool* present) {
  common::StageSet set;
  bool seen[common::kStageCount + 1] = {};
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0, stage = 0, row = 10;
  while (std::getline(lines, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (row < 10) {
      if (line.size() != 10) bad(lineNo, "a row needs exactly 10 cells");
      for (int x = 0; x < 10; ++x) {
        const int code = cellCode(line[x]);
        if (code < 0) bad(lineNo, std::string("unknown cell '") + line[x] + "'");
        set(x, row, stage) = static_cast<uint8_t>(code);
      }
      ++row;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::istringstream head(line);
    std::string word;
    if (!(head >> word >> stage) || word != "stage") bad(lineNo, "expected \"stage N\"");
    if (stage < 1 || stage > common::kStageCount) bad(lineNo, "stage number out of range");
    if (seen[stage]) bad(lineNo, "stage " + std::to_string(stage) + " given twice");
    seen[stage] = true;
    row = 0;
  }
  if (row < 10) bad(lineNo, "stage " + std::to_string(stage) + " ends early");
  for (int s = 1; s <= common::kStageCount; ++s) {
    if (present)
      present[s] = seen[s];
    else if (!seen[s])
      bad(lineNo, "stage " + std::to_string(s) + " is missing");
  }
  return set;
}

std::string formatStageGrid(const common::StageSet& set) {
  std::string out;
  for (int s = 1; s <= common::kStageCount; ++s) {
    out += "stage " + std::to_string(s) + "\n";
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) out += kLetters[set(x, y, s) % 10];
      out += '\n';
    }
    out += '\n';
  }
  return out;
}

}  // namespace stage_design
