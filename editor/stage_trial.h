// A stage tried in the editor: played by the game's rules on a copy, never on the stage.
#pragma once

#include <vector>

#include "common/stage_set.h"
#include "game/rules/rules.h"

namespace editor {

class StageTrial {
 public:
  // Sets up stage s of `set` as the play loop does: numbered, cleared at once without grass,
  // then the first turn handed over.
  void start(const common::StageSet& set, int s);
  // One move of the active piece as a key makes it in play (dx, dy each -1, 0 or 1); false
  // when the rules refuse it or the field is clear.
  bool move(int dx, int dy);
  // Takes the last move back; false when there is none.
  bool takeBack();

  const rules::PlayState& state() const { return play_; }
  int moves() const { return static_cast<int>(history_.size()); }
  bool cleared() const { return cleared_; }
  // Not cleared, and the piece whose turn it is has no legal move (or there is none).
  bool stuck() const;

 private:
  rules::PlayState play_;
  std::vector<rules::PlayState> history_;  // the state before each move made
  bool cleared_ = false;
};

// A piece's place in the turn cycle from now, 1 for the piece whose turn it is; 0 where no
// piece stands. `state` is as after a turn pass.
int turnPlace(const rules::PlayState& state, int x, int y);

}  // namespace editor
