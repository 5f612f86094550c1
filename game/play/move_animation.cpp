// A legal move shown over six 50 ms frames, then the piece placed on its arrival cell.
#include <cmath>

#include "game/play/play_screen.h"

namespace game {

void PlayScreen::animateMove() {
  const int d = moveDistance();
  const int f = layout::facing(aimDX, aimDY);
  // t runs 0, d/5, ..., d; counting frames keeps the last one exactly at d.
  for (int i = 0; i <= 5; ++i) {
    const double t = d * i / 5.0;
    frameStart = host.tickCount();
    Pic.clear();
    drawField();
    const auto [X, Y] = tileBox(activeX + aimDX * t, activeY + aimDY * t);
    const auto shadow = [&, X = X, Y = Y] {
      blitChr(toPixel(X + 6), toPixel(Y + 8), layout::kShadowMask, platform::Rop::SrcAnd);
    };
    switch (movingCode) {
      case common::kWalker:
        drawSprite(toPixel(X + 16), toPixel(Y - 16), layout::walking(f));
        break;
      case common::kSlider:
        shadow();
        drawSprite(toPixel(X), toPixel(Y - 32), layout::sliding(f));
        break;
      case common::kEraser:
        drawSprite(toPixel(X + 24), toPixel(Y), layout::standingPiece(common::kEraser, animPhase));
        break;
      case common::kJumper:
        shadow();
        drawSprite(toPixel(X + 16), toPixel(Y - 50 * std::sin(t / 2)), layout::jumping(f));
        break;
      default:
        break;  // codes 8 and 9 have no picture
    }
    drawButtons();
    waitFrame(50);
  }
  arrive(d);
}

}  // namespace game
