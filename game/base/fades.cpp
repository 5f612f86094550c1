// Screen fades: random slanting streaks accumulate on the mask, which is ANDed over Pic.
#include <cmath>

#include "game/base/game_base.h"

namespace game {

namespace {

void fadeStepWith(GameBase& g, platform::Rgb color) {
  for (int i = 0; i <= 100; ++i) {
    const double u1 = g.fadeRandom.next();
    const double u2 = g.fadeRandom.next();
    const int a = static_cast<int>(std::floor(u1 * 1000)) - 250;
    const int b = static_cast<int>(std::floor(u2 * 1000)) - 250;
    platform::drawLine(g.back.image, a, 0, b, 350, color);
  }
  platform::bitBlt(g.Pic.image, 0, 0, kPicWidth, kPicHeight, g.back.image, 0, 0,
                   platform::Rop::SrcAnd);
  ++g.fadeStep;
}

}  // namespace

void GameBase::f_out() {
  fadeStepWith(*this, platform::kBlack);
}
void GameBase::f_in() {
  fadeStepWith(*this, platform::kWhite);
}

bool GameBase::fadeInEnded() {
  f_in();
  if (fadeStep < 13) return false;
  // The fade-in is over: the next fade-out starts from a white mask.
  fadeStep = 0;
  fadeMode = kNoFade;
  back.clear();
  return true;
}

bool GameBase::fadeOutEnded() {
  f_out();
  if (fadeStep < 23) return false;
  fadeStep = 0;
  fadeMode = kNoFade;
  return true;
}

}  // namespace game
