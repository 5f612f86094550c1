// The isometric field: floors, resting pieces and their turn labels, in painter's order.
#include <string>

#include "game/base/to_pixel.h"
#include "game/render/field_renderer.h"
#include "game/render/texts.h"

namespace game {

using platform::Rop;

void FieldRenderer::blitChr(int x, int y, const layout::Rect& from, Rop rop) {
  platform::bitBlt(g.Pic.image, x, y, from.w, from.h, chr, from.x, from.y, rop);
}

void FieldRenderer::drawSprite(int x, int y, const layout::Sprite& sprite) {
  blitChr(x, y, sprite.mask(), Rop::SrcAnd);
  blitChr(x, y, sprite.picture, Rop::SrcInvert);
}

layout::TileBox FieldRenderer::tileBox(double x, double y) const {
  return layout::tileBox(x, y, g.viewX, g.viewY);
}

void FieldRenderer::printOutlined(const std::string& text, int x, int y, platform::Rgb outline,
                                  platform::Rgb color) {
  font.drawText(g.Pic.image, text, x + 1, y + 1, outline);
  font.drawText(g.Pic.image, text, x + 1, y - 1, outline);
  font.drawText(g.Pic.image, text, x - 1, y + 1, outline);
  font.drawText(g.Pic.image, text, x - 1, y - 1, outline);
  font.drawText(g.Pic.image, text, x, y, color);
}

void FieldRenderer::printCentred(const std::string& text, int left, int width, int y,
                                 platform::Rgb color) {
  printOutlined(text, left + (width - font.textWidth(text)) / 2, y, kLabelOutline, color);
}

void FieldRenderer::printTurnLabel(int value, int x, int y) {
  const auto c = [](double v) { return static_cast<uint8_t>(toPixel(v)); };
  const platform::Rgb outline{c(130 - g.labelShade / 2), 20, 140};
  const uint8_t grey = c(g.labelShade);
  printOutlined(turnLabelText(value), x, y, outline, {grey, grey, grey});
}

void FieldRenderer::drawField() {
  const int p = g.animPhase;
  for (int y = 0; y <= 9; ++y) {
    for (int x = 0; x <= 9; ++x) {
      g.labelShade = 255 - (255.0 / g.turnCycle) * (g.turnRank[x][y] - 1);
      // Positions stay fractional until each is handed over, so an offset added to a
      // half-pixel scroll rounds as one value.
      const auto [L, T] = tileBox(x, y);
      const uint8_t code = g.playField[x][y];
      if (code >= 7) continue;  // empty space, and pieces without a picture
      drawSprite(toPixel(L), toPixel(T), layout::floorTile(code));
      if (code < 3) continue;  // floor and blocks carry no piece and no label
      const layout::Offset at = layout::standingOffset(code);
      drawSprite(toPixel(L + at.dx), toPixel(T + at.dy), layout::standingPiece(code, p));
      if (g.turnRank[x][y] != g.turnCycle)
        printTurnLabel(g.turnRank[x][y] - 1, toPixel(L + layout::kTurnLabelOffset.dx),
                       toPixel(T + layout::kTurnLabelOffset.dy));
    }
  }
}

}  // namespace game
