// Screen fades: random slanting streaks accumulate on the mask, which is ANDed over Pic.
#include "game/base/fades.h"

#include <cmath>

namespace game {

void Fades::fadeStepWith(platform::Rgb color) {
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

void Fades::f_out() {
  fadeStepWith(platform::kBlack);
}
void Fades::f_in() {
  fadeStepWith(platform::kWhite);
}

bool Fades::fadeInEnded() {
  f_in();
  if (g.fadeStep < 13) return false;
  // The fade-in is over: the next fade-out starts from a white mask.
  g.fadeStep = 0;
  g.fadeMode = kNoFade;
  g.back.clear();
  return true;
}

bool Fades::fadeOutEnded() {
  f_out();
  if (g.fadeStep < 23) return false;
  g.fadeStep = 0;
  g.fadeMode = kNoFade;
  return true;
}

}  // namespace game
