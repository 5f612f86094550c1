// The mouse and key handlers: they only record what happened for the frame loops.
#include "game/base/input.h"

namespace game {

void Input::Pic_MouseDown(int button, int, float, float) {
  if (button != 1 && button != 2) return;
  if (button == 1) g.leftDown = true;
  if (button == 2) g.rightDown = true;
  g.keyStage = 0;  // a press starts the stage under the pointer, not the one keys chose
  g.pressedInWait = true;
  g.releaseWaits = false;
}

void Input::Pic_MouseMove(int, int, float x, float y) {
  g.mouseX = x;
  g.mouseY = y;
  g.keyStage = 0;  // the pointer leads the stage list again
}

void Input::Pic_MouseUp(int, int, float, float) {
  // A press released in the same wait would never be seen by a frame: it lasts until the
  // next frame has looked at it.
  if (g.pressedInWait) {
    g.releaseWaits = true;
    return;
  }
  // Any release clears both presses.
  g.leftDown = false;
  g.rightDown = false;
}

void Input::Form_KeyDown(platform::Key key) {
  g.pendingKeys.push_back(key);
}

std::optional<platform::Key> Input::takeKey() {
  // M is the frame wait's, on every screen.
  for (auto k = g.pendingKeys.begin(); k != g.pendingKeys.end(); ++k) {
    if (*k == platform::Key::kM) continue;
    const platform::Key key = *k;
    g.pendingKeys.erase(k);
    return key;
  }
  return std::nullopt;
}

}  // namespace game
