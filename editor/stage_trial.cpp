// A stage tried in the editor: played by the game's rules on a copy, never on the stage.
#include "editor/stage_trial.h"

namespace editor {

void StageTrial::start(const common::StageSet& set, int s) {
  play_ = rules::PlayState();
  play_.loadStage(set, s);
  play_.numberPieces();
  history_.clear();
  cleared_ = play_.isCleared();
  play_.turnPass();
}

bool StageTrial::move(int dx, int dy) {
  if (cleared_) return false;
  const rules::PlayState before = play_;
  play_.aimDX = static_cast<int16_t>(dx);
  play_.aimDY = static_cast<int16_t>(dy);
  if (!play_.moveAttempt()) {
    play_ = before;
    return false;
  }
  history_.push_back(before);
  play_.arrive(play_.moveDistance());
  // The play loop checks the clear before it hands the turn over.
  cleared_ = play_.isCleared();
  play_.turnPass();
  return true;
}

bool StageTrial::takeBack() {
  if (history_.empty()) return false;
  play_ = history_.back();
  history_.pop_back();
  cleared_ = false;  // every state before a move was uncleared
  return true;
}

bool StageTrial::stuck() const {
  return !cleared_ && !play_.canMoveAtAll();
}

int turnPlace(const rules::PlayState& state, int x, int y) {
  if (!rules::isPiece(state.playField[x][y])) return 0;
  // After a pass the active piece holds the top rank and the next one rank 2.
  const int rank = state.turnRank[x][y];
  return rank == state.turnCycle ? 1 : rank;
}

}  // namespace editor
