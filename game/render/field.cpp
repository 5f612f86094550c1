// The isometric field: floors, resting pieces and their turn labels, in painter's order.
#include <string>

#include "game/render/field_renderer.h"

namespace game {

using platform::Rop;

FieldRenderer::FieldRenderer(platform::Host& host, platform::Font& f,
                             const platform::Surface& sheet)
    : GameBase(host), font(f), chr(sheet) {}

void FieldRenderer::blitChr(int x, int y, int w, int h, int sx, int sy, Rop rop) {
  platform::bitBlt(Pic.image, x, y, w, h, chr, sx, sy, rop);
}

void FieldRenderer::drawSprite(int x, int y, int w, int h, int sx, int sy, int mx, int my) {
  blitChr(x, y, w, h, mx, my, Rop::SrcAnd);
  blitChr(x, y, w, h, sx, sy, Rop::SrcInvert);
}

void FieldRenderer::printOutlined(const std::string& text, int x, int y, platform::Rgb outline,
                                  platform::Rgb color) {
  font.drawText(Pic.image, text, x + 1, y + 1, outline);
  font.drawText(Pic.image, text, x + 1, y - 1, outline);
  font.drawText(Pic.image, text, x - 1, y + 1, outline);
  font.drawText(Pic.image, text, x - 1, y - 1, outline);
  font.drawText(Pic.image, text, x, y, color);
}

void FieldRenderer::printTurnLabel(int value, int x, int y) {
  const auto c = [](double v) { return static_cast<uint8_t>(toPixel(v)); };
  const platform::Rgb outline{c(130 - labelShade / 2), 20, 140};
  const uint8_t grey = c(labelShade);
  // A number prints with a blank before it (the sign's place) and one after it.
  printOutlined(" " + std::to_string(value) + " ", x, y, outline, {grey, grey, grey});
}

void FieldRenderer::drawField() {
  const int p = animPhase;
  for (int y = 0; y <= 9; ++y) {
    for (int x = 0; x <= 9; ++x) {
      labelShade = 255 - (255.0 / turnCycle) * (turnRank[x][y] - 1);
      // Positions stay fractional until each is handed over, so an offset added to a
      // half-pixel scroll rounds as one value.
      const double L = 32 * (x - y) + viewX + 270;
      const double T = 16 * (x + y) + viewY;
      const auto at = [](double v) { return toPixel(v); };
      const uint8_t code = playField[x][y];
      if (code >= 7) continue;  // empty space, and pieces without a picture
      const int floorX = code == 0 ? 0 : code == 2 ? 192 : 64;
      drawSprite(at(L), at(T), 64, 32, floorX, 0, 0, 32);
      switch (code) {
        case 3:
          drawSprite(at(L + 16), at(T - 16), 32, 32, 32 * p, 64, 32 * p, 96);
          break;
        case 4:
          drawSprite(at(L + 16), at(T - 48), 32, 64, 32 * p, 128, 32 * p, 192);
          break;
        case 5:
          drawSprite(at(L + 24), at(T), 16, 16, 16 * p, 256, 16 * p, 272);
          break;
        case 6:
          drawSprite(at(L + 16), at(T - 16), 32, 32, 32 * p, 352, 32 * p, 384);
          break;
        default:
          continue;  // floor and blocks carry no label
      }
      if (turnRank[x][y] != turnCycle) printTurnLabel(turnRank[x][y] - 1, at(L + 35), at(T + 5));
    }
  }
}

}  // namespace game
