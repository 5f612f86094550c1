// Search helpers for designing stages: score a design, try variants, carve unpaintable cells.
#pragma once

#include <cstdint>
#include <string>

#include "common/stage_set.h"

namespace stage_design {

// How a design is judged: solvable, fewest moves near a target, many dead states.
struct Score {
  double value = -1e9;
  int moves = -1;  // -1 when not (known to be) solvable
  double deadShare = 0;
};

// States the solver and the survey may use while scoring one design.
inline uint64_t scoreStates = 400'000;

Score score(const common::StageSet& set, int s, int target);

// Prints stage s of `set` in grid form.
void printStage(const common::StageSet& set, int s);

// Every combination: each ? cell of stage s in the grid `text` takes each letter of `cells`,
// and exactly one * cell holds `piece` (the other * cells are unpainted floor). Prints the
// `keep` best solvable stages.
int enumerate(std::string text, int s, int target, const std::string& cells, char piece, int keep);

// Makes a stage solvable by giving up the cells it cannot paint: the moves that leave the
// fewest unpainted cells are found, and the cells they never enter become `fill`.
int carve(const common::StageSet& set, int s, uint8_t fill, uint64_t maxStates);

// Random local search over the ? cells of stage s (each becomes one of `cells`): first toward
// a solvable stage, then toward the target with more dead states. Prints the best.
int tune(std::string text, int s, int target, unsigned seed, int rounds, const std::string& cells);

// Random legal move sequences of at least `length` moves after which every entered cell is
// painted; the cells never entered become `fill`. Prints the best of `tries`.
int generate(const common::StageSet& set, int s, int target, unsigned seed, int tries, int length,
             uint8_t fill);

}  // namespace stage_design
