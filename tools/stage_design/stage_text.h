// The readable grid form of the stage set: one block of ten rows per stage, one letter a cell.
#pragma once

#include <string>
#include <vector>

#include "common/stage_set.h"

namespace stage_design {

// Letters of the grid form, indexed by cell code 0..9.
inline constexpr char kLetters[] = ".o#WSEJ-89";

// The cell code a letter stands for; -1 for any other character.
int cellCode(char letter);

// Stage s of `set` from rows of letters, row y of the list being row y of the field; cells
// not given are empty space. Throws std::runtime_error on a character that is no letter.
void fillStage(common::StageSet& set, int s, const std::vector<std::string>& rows);

// Parses the grid form:
//   # comments and blank lines are ignored
//   stage N  optional title          (N = 1..30, each once, all 30 present)
//   ten rows of ten letters: row y from 0 to 9, column x from 0 to 9
// Letters: . unpainted floor, o painted floor, # block, W walker, S slider, E eraser,
// J jumper, - empty space, 8 and 9 for those codes. Throws std::runtime_error naming the line.
// With `present` (31 flags, index = stage) missing stages are allowed and left all 0.
common::StageSet parseStageGrid(const std::string& text, bool* present = nullptr);

// The grid form of all 30 stages (titles empty), which parseStageGrid reads back.
std::string formatStageGrid(const common::StageSet& set);

}  // namespace stage_design
