// Screen fades: random slanting streaks accumulate on the mask, which is ANDed over Pic.
#pragma once

#include "game/base/game_state.h"

namespace game {

class Fades {
 public:
  explicit Fades(GameState& g) : g(g) {}

  void f_out();
  void f_in();
  // One fade-in step; true when it was the 13th and the transition has ended.
  bool fadeInEnded();
  // One fade-out step; true when it was the 23rd and the transition has ended.
  bool fadeOutEnded();

 private:
  void fadeStepWith(platform::Rgb color);
  GameState& g;
};

}  // namespace game
