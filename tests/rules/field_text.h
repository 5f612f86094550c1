// Builds play fields for tests from rows of letters (the letters of the stage grid form).
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "game/rules/rules.h"
#include "tools/stage_design/stage_text.h"

namespace rules_test {

// Row y of the list is row y of the field, in the letters of the stage grid form; cells not
// given are empty space.
inline rules::PlayState field(const std::vector<std::string>& rows) {
  common::StageSet set;
  stage_design::fillStage(set, 1, rows);
  rules::PlayState ps;
  ps.loadStage(set, 1);
  return ps;
}

// The same as a numbered state, ready for the first turn pass.
inline rules::PlayState numbered(const std::vector<std::string>& rows) {
  rules::PlayState ps = field(rows);
  ps.numberPieces();
  return ps;
}

inline int unpaintedCount(const rules::PlayState& ps) {
  int n = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) n += ps.playField[x][y] == common::kUnpainted;
  return n;
}

// One click in direction (dx, dy) as the play loop makes it; true when the piece moved.
inline bool click(rules::PlayState& ps, int dx, int dy) {
  ps.aimDX = static_cast<int16_t>(dx);
  ps.aimDY = static_cast<int16_t>(dy);
  if (!ps.moveAttempt()) return false;
  ps.arrive(ps.moveDistance());
  return true;
}

inline bool samePlay(const rules::PlayState& a, const rules::PlayState& b) {
  return std::memcmp(a.playField, b.playField, sizeof a.playField) == 0 &&
         std::memcmp(a.turnRank, b.turnRank, sizeof a.turnRank) == 0 &&
         a.turnCycle == b.turnCycle && a.activeX == b.activeX && a.activeY == b.activeY;
}

}  // namespace rules_test
