// The hint's search, run in slices while the frames wait: the fewest-move way to clear the
// stage from the position on the field, and the fewest moves from a stage's start.
#pragma once

#include <memory>
#include <optional>

#include "game/base/game_state.h"
#include "game/solve/solver.h"

namespace game {

class Hints {
 public:
  explicit Hints(GameState& g) : g(g) {}

  // Starts a search from `position` (between moves) unless it is the one last asked for.
  void ask(const rules::PlayState& position);
  // The answer for `position` once its search has ended; nullptr before, or for another one.
  const solve::Result* answerFor(const rules::PlayState& position) const;
  // Finds the fewest moves of stage s of the stage set from its start, after the position
  // asked for; g.fewestMoves holds them then.
  void askFewest(int stage);
  // One slice of the searches; true while work remains.
  bool workSlice();

 private:
  struct Job {
    rules::PlayState position;
    solve::Search search;
    int stage;  // the stage whose start it is, 0 for the position on the field
  };
  static solve::Options options();
  GameState& g;
  std::optional<Job> onField_, fromStart_;
};

}  // namespace game
