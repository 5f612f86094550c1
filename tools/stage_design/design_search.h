// Search helpers for designing stages: score a design, try variants, carve unpaintable cells.
#pragma once

#include <cstdint>
#include <string>

#include "common/stage_set.h"
#include "tools/view_check/view_check.h"

namespace stage_design {

// What a design aims at: its fewest moves, the traps every fewest-move solution passes at
// least, and a bound on its reachable states (which the solver's figures must all explore).
struct Goal {
  int moves = 10;
  int traps = 0;
  uint64_t maxReachable = 300'000;
};

// How a design is judged: solvable, in view at the start, fewest moves near the goal, at
// least the goal's traps, and not too many reachable states.
struct Score {
  double value = -1e9;
  int moves = -1;  // -1 when not (known to be) solvable
  int leastTraps = -1;
  int traps = -1;
  uint64_t reachable = 0;  // 0 when not surveyed in full
  int outOfView = 0;       // boxes not in view at the start
};

// States the solver and the survey may use while scoring one design.
inline uint64_t scoreStates = 400'000;
// How turn labels are measured for the view check while scoring.
inline view_check::LabelInk scoreLabelInk;

Score score(const common::StageSet& set, int s, const Goal& goal);

// Prints stage s of `set` in grid form, and the score line above it.
void printStage(const common::StageSet& set, int s);
void printScore(int s, const Score& sc);

// Every combination: each ? cell of stage s in the grid `text` takes each letter of `cells`,
// and exactly one * cell holds `piece` (the other * cells are unpainted floor). Prints the
// `keep` best solvable stages.
int enumerate(std::string text, int s, const Goal& goal, const std::string& cells, char piece,
              int keep);

// Makes a stage solvable by giving up the cells it cannot paint: the moves that leave the
// fewest unpainted cells are found, and the cells they never enter become `fill`.
int carve(const common::StageSet& set, int s, uint8_t fill, uint64_t maxStates);

// Random local search over stage s: each ? cell (first the last of `cells`), and each cell drawn
// with a letter of `freeLetters`, becomes one of `cells`; the pieces move among their own cells and
// the * cells (which are otherwise unpainted floor). Worse designs are taken now and then, less
// often as the search cools; the best is printed.
int tune(std::string text, int s, const Goal& goal, unsigned seed, int rounds,
         const std::string& cells, const std::string& freeLetters);

// Random legal move sequences of at least `length` moves after which every entered cell is
// painted; the cells never entered become `fill`. Prints the best of `tries`.
int generate(const common::StageSet& set, int s, const Goal& goal, unsigned seed, int tries,
             int length, uint8_t fill);

// Simplifies stage s: each cell drawn with a letter of `freeLetters` becomes `fill` where that
// keeps the fewest moves and loses no trap.
int tidy(const common::StageSet& set, int s, const Goal& goal, const std::string& freeLetters,
         uint8_t fill);

}  // namespace stage_design
