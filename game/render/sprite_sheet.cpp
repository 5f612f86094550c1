// The sprite sheet built into the game, decoded once.
#include "game/render/sprite_sheet.h"

#include "assets/embedded.h"
#include "platform/bmp.h"

namespace game {

const platform::Surface& spriteSheet() {
  static const platform::Surface sheet = [] {
    const auto bytes = assets::spriteSheetBmp();
    return platform::decodeBmp(bytes.data(), bytes.size());
  }();
  return sheet;
}

}  // namespace game
