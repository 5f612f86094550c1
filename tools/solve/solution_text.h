// Fewest-move solutions stored as text, one line a stage, and their replay through the rules.
#pragma once

#include <string>
#include <vector>

#include "common/stage_set.h"
#include "game/solve/solver.h"

namespace solve {

struct StoredSolution {
  int stage = 0;
  std::vector<Move> moves;
};

// "stage 3 moves 2: 0,0 down-right; 1,0 down-left" (cell of the active piece, then its aim).
std::string formatSolution(int stage, const std::vector<Move>& moves);

// Parses the moves of a line: "0,0 down-right; 1,0 down-left" (blank parts are skipped).
// Throws std::runtime_error naming the move that is not one.
std::vector<Move> parseMoveList(const std::string& text);

// Parses lines made by formatSolution; blank lines and lines starting with # are skipped.
// Throws std::runtime_error naming the line on anything else.
std::vector<StoredSolution> parseSolutions(const std::string& text);

// Plays the moves on stage `solution.stage` of `set` the way the play loop does. Returns an
// empty string when every move is made by the piece at its stated cell, is legal, the field
// stays uncleared until the last move and the last move clears it; otherwise what went wrong.
std::string replay(const common::StageSet& set, const StoredSolution& solution);

}  // namespace solve
