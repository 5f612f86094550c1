// The mouse and key handlers: they only record what happened for the frame loops.
#include "game/base/game_base.h"

namespace game {

void GameBase::Pic_MouseDown(int button, int, float, float) {
  if (button == 1) leftDown = true;
  if (button == 2) rightDown = true;
}

void GameBase::Pic_MouseMove(int, int, float x, float y) {
  mouseX = x;
  mouseY = y;
}

void GameBase::Pic_MouseUp(int, int, float, float) {
  // Any release clears both presses.
  leftDown = false;
  rightDown = false;
}

void GameBase::Form_KeyDown(platform::Key key) {
  pendingKeys.push_back(key);
}

std::optional<platform::Key> GameBase::takeKey() {
  // M is the frame wait's, on every screen.
  for (auto k = pendingKeys.begin(); k != pendingKeys.end(); ++k) {
    if (*k == platform::Key::kM) continue;
    const platform::Key key = *k;
    pendingKeys.erase(k);
    return key;
  }
  return std::nullopt;
}

}  // namespace game
