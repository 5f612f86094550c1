// The rules of play: pieces, turn order, legal moves and the clear check. Pure logic.
#include "game/rules/rules.h"

#include <cstring>

namespace rules {

namespace {
bool inField(int v) {
  return v >= 0 && v <= 9;
}
}  // namespace

void PlayState::loadStage(const common::StageSet& set, int s) {
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      playField[x][y] = set(x, y, s);
      turnRank[x][y] = 0;
    }
  }
}

void PlayState::numberPieces() {
  int n = 1;
  turnCycle = 1;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      if (!isPiece(playField[x][y])) continue;
      ++n;
      turnRank[x][y] = static_cast<uint8_t>(n);
      ++turnCycle;
    }
  }
}

bool PlayState::isCleared() const {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (playField[x][y] == common::kUnpainted) return false;
  return true;
}

void PlayState::turnPass() {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (isPiece(playField[x][y])) --turnRank[x][y];
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      if (isPiece(playField[x][y]) && turnRank[x][y] == 1) {
        activeX = x;
        activeY = y;
        turnRank[x][y] = static_cast<uint8_t>(turnCycle);
        return;
      }
    }
  }
}

bool PlayState::hasPiece() const {
  return turnCycle > 1;
}

bool PlayState::canMove(int dx, int dy) const {
  PlayState trial = *this;
  trial.aimDX = static_cast<int16_t>(dx);
  trial.aimDY = static_cast<int16_t>(dy);
  return trial.moveAttempt();
}

bool PlayState::canMoveAtAll() const {
  return canMove(-1, 0) || canMove(0, -1) || canMove(0, 1) || canMove(1, 0);
}

bool samePosition(const PlayState& a, const PlayState& b) {
  return std::memcmp(a.playField, b.playField, sizeof a.playField) == 0 &&
         std::memcmp(a.turnRank, b.turnRank, sizeof a.turnRank) == 0 &&
         a.turnCycle == b.turnCycle && a.activeX == b.activeX && a.activeY == b.activeY;
}

bool PlayState::moveAttempt() {
  // Without any piece there is no active piece: the cell at (activeX, activeY) is
  // left over from another stage and must never be moved as if it were one.
  if (!hasPiece() || !isPiece(playField[activeX][activeY])) return false;
  const uint8_t c = playField[activeX][activeY];
  stepLength = c == common::kJumper ? 2 : 1;
  const int tx = activeX + stepLength * aimDX, ty = activeY + stepLength * aimDY;
  if (!inField(tx) || !inField(ty)) return false;
  bool legal;
  uint8_t leftBehind;
  if (c == common::kEraser) {
    // The target is one cell ahead, which the field check above already covered.
    legal = playField[activeX + aimDX][activeY + aimDY] == common::kPainted;
    leftBehind = common::kUnpainted;
  } else {
    legal = playField[tx][ty] == common::kUnpainted;
    leftBehind = common::kPainted;
  }
  if (!legal) return false;
  movingCode = c;
  movingRank = turnRank[activeX][activeY];
  playField[activeX][activeY] = leftBehind;
  turnRank[activeX][activeY] = 0;
  return true;
}

int PlayState::moveDistance() const {
  if (movingCode == common::kJumper) return 2;
  if (movingCode == common::kSlider) {
    const int x2 = activeX + 2 * aimDX, y2 = activeY + 2 * aimDY;
    if (inField(x2) && inField(y2) && playField[x2][y2] == common::kUnpainted) return 2;
  }
  return 1;
}

void PlayState::arrive(int distance) {
  const int x1 = activeX + aimDX, y1 = activeY + aimDY;
  if (distance == 1) {
    playField[x1][y1] = movingCode;
    turnRank[x1][y1] = movingRank;
    return;
  }
  if (movingCode == common::kSlider) playField[x1][y1] = common::kPainted;
  const int x2 = activeX + 2 * aimDX, y2 = activeY + 2 * aimDY;
  playField[x2][y2] = movingCode;
  turnRank[x2][y2] = movingRank;
}

}  // namespace rules
