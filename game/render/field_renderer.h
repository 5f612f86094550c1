// The field renderer: the isometric field with its pieces and turn labels, drawn from the
// sprite sheet onto the play surface, and the outlined labels of every screen.
#pragma once

#include <string>

#include "game/base/game_base.h"
#include "game/render/layout.h"
#include "game/rules/rules.h"
#include "platform/font.h"

namespace game {

// Scroll offsets of the field, kept from stage to stage.
struct ViewState {
  double viewX = layout::kStartViewX, viewY = layout::kStartViewY;
};

struct FieldRenderer : GameBase, rules::PlayState, ViewState {
  FieldRenderer(platform::Host& host, const platform::Surface& chr);

  platform::Font& font;          // the play surface's font
  const platform::Surface& chr;  // the sprite sheet
  double labelShade = 0;         // grey of the turn label being drawn

  void drawField();
  void printTurnLabel(int value, int x, int y);
  // A text drawn four times in the outline colour at the diagonal one-pixel offsets, then
  // once in its colour.
  void printOutlined(const std::string& text, int x, int y, platform::Rgb outline,
                     platform::Rgb color);
  // Transparent blit from the sheet: mask with AND, then the picture with XOR.
  void drawSprite(int x, int y, const layout::Sprite& sprite);
  void blitChr(int x, int y, const layout::Rect& from, platform::Rop rop);
  // The tile box of a cell, fractional cells included, at the current scroll offsets.
  layout::TileBox tileBox(double x, double y) const;
};

}  // namespace game
