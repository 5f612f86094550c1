// The play surface's mouse handlers: they only set the pointer state for the frame loops.
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

}  // namespace game
