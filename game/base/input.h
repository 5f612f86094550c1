// The mouse and key handlers: they only record what happened for the frame loops.
#pragma once

#include <optional>

#include "game/base/game_state.h"
#include "platform/host.h"

namespace game {

class Input {
 public:
  explicit Input(GameState& g) : g(g) {}

  void Pic_MouseDown(int button, int shift, float x, float y);
  void Pic_MouseMove(int button, int shift, float x, float y);
  void Pic_MouseUp(int button, int shift, float x, float y);
  void Form_KeyDown(platform::Key key);
  // The oldest key not yet acted on, taken from the queue; M is left to the frame wait.
  std::optional<platform::Key> takeKey();

 private:
  GameState& g;
};

}  // namespace game
