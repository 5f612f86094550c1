// Window and launcher icons made from pictures of the sprite sheet.
#include "platform/icon.h"

#include <algorithm>

namespace platform {

IconImage iconFromSprite(const Surface& sheet, int sx, int sy, int mx, int my, int w, int h,
                         int size) {
  IconImage icon;
  icon.width = icon.height = size;
  icon.rgba.assign(static_cast<size_t>(size) * size * 4, 0);
  const int scale = std::max(1, std::min(size / w, size / h));
  const int left = (size - w * scale) / 2, top = (size - h * scale) / 2;
  for (int y = 0; y < h * scale; ++y) {
    for (int x = 0; x < w * scale; ++x) {
      const int px = sx + x / scale, py = sy + y / scale;
      const int qx = mx + x / scale, qy = my + y / scale;
      if (!sheet.contains(px, py)) continue;
      if (mx >= 0 && (!sheet.contains(qx, qy) || sheet.pixel(qx, qy) == kWhite)) continue;
      const Rgb c = sheet.pixel(px, py);
      uint8_t* d = &icon.rgba[(static_cast<size_t>(top + y) * size + left + x) * 4];
      d[0] = c.r;
      d[1] = c.g;
      d[2] = c.b;
      d[3] = 255;
    }
  }
  return icon;
}

}  // namespace platform
