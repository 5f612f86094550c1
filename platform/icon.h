// Window and launcher icons made from pictures of the sprite sheet.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/raster.h"

namespace platform {

struct IconImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // rows top to bottom, 4 bytes a pixel
};

// A size x size icon, transparent, with the w x h sheet picture at (sx, sy) drawn
// through its mask at (mx, my) (white = transparent; mx < 0 for an opaque picture),
// scaled up by whole steps and centred.
IconImage iconFromSprite(const Surface& sheet, int sx, int sy, int mx, int my, int w, int h,
                         int size);

}  // namespace platform
