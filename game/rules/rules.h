// The rules of play: pieces, turn order, legal moves and the clear check. Pure logic.
#pragma once

#include <cstdint>

#include "common/stage_set.h"

namespace rules {

// A cell that holds a piece: code 3 or more, except empty space (7).
constexpr bool isPiece(uint8_t code) {
  return code >= 3 && code != common::kEmpty;
}

struct PlayState {
  uint8_t playField[11][11] = {};  // [x][y]; cells 0..9 used
  uint8_t turnRank[11][11] = {};   // rank of the piece on the cell, 0 where none stands
  int32_t turnCycle = 1;           // pieces on the field + 1
  int activeX = 0, activeY = 0;    // the piece whose turn it is
  int16_t aimDX = 0, aimDY = 0;    // aimed direction, each -1, 0 or 1
  int16_t stepLength = 1;          // distance of the target a move attempt checks
  uint8_t movingCode = 0;          // piece code while it moves
  uint8_t movingRank = 0;          // its rank while it moves

  // Copies stage s of `set` into playField and zeroes every rank.
  void loadStage(const common::StageSet& set, int s);
  // Ranks 2..k+1 in scan order (y outer, x inner); turnCycle = k + 1.
  void numberPieces();
  // True when no cell of the field holds unpainted floor.
  bool isCleared() const;
  // Hands the turn to the piece of rank 2 (after every rank drops by one).
  void turnPass();
  // Tries to move the active piece along the aim. On a legal move performs the
  // leaving step (piece off its cell, the cell painted or unpainted) and answers true.
  bool moveAttempt();
  // Cells the moving piece travels: 2 for a jumper, 2 for a slider whose second cell
  // ahead is inside the field and unpainted, else 1. Valid between leaving and arrival.
  int moveDistance() const;
  // Places the moving piece after its animation.
  void arrive(int distance);
  // Whether the field holds any piece at all (a stage may be saved without one).
  bool hasPiece() const;
  // Whether the active piece could move toward (dx, dy) now; nothing changes.
  bool canMove(int dx, int dy) const;
  // Whether the active piece has any legal move.
  bool canMoveAtAll() const;
};

// The same position of play: field, pieces, turn order and active piece (the aim aside).
bool samePosition(const PlayState& a, const PlayState& b);

}  // namespace rules
