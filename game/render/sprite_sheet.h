// The sprite sheet built into the game, decoded once.
#pragma once

#include "platform/raster.h"

namespace game {

const platform::Surface& spriteSheet();

}  // namespace game
