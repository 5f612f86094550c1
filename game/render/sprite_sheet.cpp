// The sprite sheet built into the game, decoded once, and the game's icon drawn from it.
#include "game/render/sprite_sheet.h"

#include "assets/embedded.h"
#include "common/stage_set.h"
#include "game/render/layout.h"
#include "platform/bmp.h"

namespace game {

const platform::Surface& spriteSheet() {
  static const platform::Surface sheet = [] {
    const auto bytes = assets::spriteSheetBmp();
    return platform::decodeBmp(bytes.data(), bytes.size());
  }();
  return sheet;
}

platform::IconImage gameIcon() {
  const layout::Sprite walker = layout::standingPiece(common::kWalker, 0);
  return platform::iconFromSprite(spriteSheet(), walker.picture.x, walker.picture.y, walker.maskX,
                                  walker.maskY, walker.picture.w, walker.picture.h, 64);
}

}  // namespace game
