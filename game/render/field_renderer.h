// The field renderer: the isometric field with its pieces and turn labels, drawn from the
// sprite sheet onto the play surface, and the outlined labels of every screen.
#pragma once

#include <string>

#include "game/base/game_state.h"
#include "game/render/layout.h"
#include "platform/font.h"

namespace game {

// The blue outline of the stage list's labels, which the help's lines share.
inline constexpr platform::Rgb kLabelOutline{0, 20, 140};

class FieldRenderer {
 public:
  FieldRenderer(GameState& g, platform::Font& font, const platform::Surface& chr)
      : font(font), chr(chr), g(g) {}

  void drawField();
  void printTurnLabel(int value, int x, int y);
  // A text drawn four times in the outline colour at the diagonal one-pixel offsets, then
  // once in its colour.
  void printOutlined(const std::string& text, int x, int y, platform::Rgb outline,
                     platform::Rgb color);
  // An outlined text centred in the span of `width` pixels from `left`.
  void printCentred(const std::string& text, int left, int width, int y,
                    platform::Rgb color = platform::kWhite);
  // Transparent blit from the sheet: mask with AND, then the picture with XOR.
  void drawSprite(int x, int y, const layout::Sprite& sprite);
  void blitChr(int x, int y, const layout::Rect& from, platform::Rop rop);
  // The tile box of a cell, fractional cells included, at the current scroll offsets.
  layout::TileBox tileBox(double x, double y) const;

  platform::Font& font;          // the play surface's font
  const platform::Surface& chr;  // the sprite sheet

 private:
  GameState& g;
};

}  // namespace game
