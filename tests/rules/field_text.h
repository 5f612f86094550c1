// Builds play fields for tests from rows of letters (the letters of the stage grid form).
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "game/play/rules.h"

namespace rules_test {

// Row y of the list is row y of the field; cells not given are empty space.
// Letters: . unpainted, o painted, # block, W walker, S slider, E eraser, J jumper,
// - empty, 8 and 9 for those codes.
inline rules::PlayState field(const std::vector<const char*>& rows) {
  static const char kLetters[] = ".o#WSEJ-89";
  rules::PlayState ps;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ps.playField[x][y] = common::kEmpty;
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < 10 && row[x]; ++x)
      ps.playField[x][y] = static_cast<uint8_t>(std::strchr(kLetters, row[x]) - kLetters);
    ++y;
  }
  return ps;
}

// The same as a numbered state, ready for the first turn pass.
inline rules::PlayState numbered(const std::vector<const char*>& rows) {
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
