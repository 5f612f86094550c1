// A legal move shown over six 50 ms frames, then the piece placed on its arrival cell.
#include <cmath>

#include "game/play/play_screen.h"

namespace game {

void PlayScreen::animateMove() {
  const int d = moveDistance();
  // Facing: 0 toward y-1, 1 toward x+1, 2 toward y+1, 3 toward x-1.
  const int f = aimDY == -1 ? 0 : aimDX == 1 ? 1 : aimDY == 1 ? 2 : 3;
  const int a = (aimDX == 1 || aimDX == -1) ? 1 : 0;
  const int b = (aimDY == 1 || aimDX == -1) ? 1 : 0;
  // t runs 0, d/5, ..., d; counting frames keeps the last one exactly at d.
  for (int i = 0; i <= 5; ++i) {
    const double t = d * i / 5.0;
    frameStart = host.tickCount();
    Pic.clear();
    drawField();
    const double px = activeX + aimDX * t, py = activeY + aimDY * t;
    const double X = 32 * (px - py) + viewX + 270;
    const double Y = 16 * (px + py) + viewY;
    switch (movingCode) {
      case common::kWalker:
        drawSprite(toPixel(X + 16), toPixel(Y - 16), 32, 32, 96 + 32 * f, 64, 96 + 32 * f, 96);
        break;
      case common::kSlider:
        blitChr(toPixel(X + 6), toPixel(Y + 8), 32, 16, 128, 16, platform::Rop::SrcAnd);
        drawSprite(toPixel(X), toPixel(Y - 32), 64, 32, 96 + 64 * a, 128 + 64 * b, 96 + 64 * a,
                   160 + 64 * b);
        break;
      case common::kEraser:
        drawSprite(toPixel(X + 24), toPixel(Y), 16, 16, 16 * animPhase, 256, 16 * animPhase, 272);
        break;
      case common::kJumper: {
        const double h = 50 * std::sin(t / 2);
        blitChr(toPixel(X + 6), toPixel(Y + 8), 32, 16, 128, 16, platform::Rop::SrcAnd);
        drawSprite(toPixel(X + 16), toPixel(Y - h), 32, 32, 96 + 32 * f, 352, 96 + 32 * f, 384);
        break;
      }
      default:
        break;  // codes 8 and 9 have no picture
    }
    drawButtons();
    waitFrame(50);
  }
  arrive(d);
}

}  // namespace game
