// A legal move shown over six 50 ms frames, then the piece placed on its arrival cell.
#include <cmath>

#include "game/base/to_pixel.h"
#include "game/play/play_screen.h"

namespace game {

void PlayScreen::animateMove() {
  const int d = g.moveDistance();
  const int f = layout::facing(g.aimDX, g.aimDY);
  // t runs 0, d/5, ..., d; counting frames keeps the last one exactly at d.
  for (int i = 0; i <= 5; ++i) {
    const double t = d * i / 5.0;
    g.frameStart = host.tickCount();
    g.Pic.clear();
    render.drawField();
    const layout::TileBox at = render.tileBox(g.activeX + g.aimDX * t, g.activeY + g.aimDY * t);
    const double X = at.left, Y = at.top;
    const auto shadow = [&] {
      render.blitChr(toPixel(X + 6), toPixel(Y + 8), layout::kShadowMask, platform::Rop::SrcAnd);
    };
    switch (g.movingCode) {
      case common::kWalker:
        render.drawSprite(toPixel(X + 16), toPixel(Y - 16), layout::walking(f));
        break;
      case common::kSlider:
        shadow();
        render.drawSprite(toPixel(X), toPixel(Y - 32), layout::sliding(f));
        break;
      case common::kEraser:
        render.drawSprite(toPixel(X + 24), toPixel(Y),
                          layout::standingPiece(common::kEraser, g.animPhase));
        break;
      case common::kJumper:
        shadow();
        render.drawSprite(toPixel(X + 16), toPixel(Y - 50 * std::sin(t / 2)), layout::jumping(f));
        break;
      default:
        break;  // codes 8 and 9 have no picture
    }
    drawButtons();
    pacing.waitFrame(50);
  }
  g.arrive(d);
}

}  // namespace game
