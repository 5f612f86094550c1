// The sprite sheet built into the game, decoded once, and the game's icon drawn from it.
#pragma once

#include "platform/icon.h"
#include "platform/raster.h"

namespace game {

const platform::Surface& spriteSheet();

// The walker, standing: the game's face on the desktop, 64 x 64.
platform::IconImage gameIcon();

}  // namespace game
