// The coded sprite sheet and the distinct palette.
#include "tests/support/coded_pictures.h"

#include <cstdlib>
#include <map>

namespace testing_support {

using platform::Rgb;
using platform::Surface;

Rgb coded(int sx, int sy) {
  const uint8_t r = sx & 255, g = sy & 255;
  uint8_t b = static_cast<uint8_t>(0x80 | (sx >> 8) | ((sy >> 8) << 1));
  if (r == g && g == b) b |= 0x40;  // a grey would pass for a label's text
  return {r, g, b};
}

bool isCodedFrom(Rgb c, int x, int y, int w, int h) {
  if ((c.b & 0xbc) != 0x80 || (c.r == c.g && c.g == c.b)) return false;
  const int sx = c.r | ((c.b & 1) << 8), sy = c.g | (((c.b >> 1) & 1) << 8);
  return sx >= x && sx < x + w && sy >= y && sy < y + h;
}

bool inDiamond(int i, int j) {
  return std::abs(2 * i - 63) + 2 * std::abs(2 * j - 31) <= 64;
}

namespace {

// A picture at (x, y) and its mask at (mx, my), both w x h, made opaque where `opaque`
// holds and transparent (white mask, black picture) elsewhere.
template <class F>
void shape(Surface& s, int x, int y, int mx, int my, int w, int h, F opaque) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (opaque(i, j)) continue;
      s.setPixel(x + i, y + j, platform::kBlack);
      s.setPixel(mx + i, my + j, platform::kWhite);
    }
}

Surface makeSheet(const SheetOptions& o) {
  Surface s(320, 416);
  for (int y = 0; y < 416; ++y)
    for (int x = 0; x < 320; ++x) s.setPixel(x, y, coded(x, y));
  // Every mask of the sheet, opaque all over.
  const int masks[][4] = {{0, 32, 64, 32},  {128, 32, 64, 32},  {0, 96, 320, 32},
                          {0, 192, 96, 64}, {96, 160, 128, 32}, {96, 224, 128, 32},
                          {0, 272, 48, 16}, {0, 384, 224, 32}};
  for (const auto& m : masks) platform::fillRect(s, m[0], m[1], m[2], m[3], platform::kBlack);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)
      s.setPixel(128 + x, 16 + y, (x + y) % 2 == 0 ? platform::kBlack : platform::kWhite);
  if (o.shapedMasks) {
    for (int floorX : {0, 64, 192})
      shape(s, floorX, 0, 0, 32, 64, 32, [](int i, int j) { return inDiamond(i, j); });
    // Walker, slider, eraser and jumper: picture row, mask row, frame size.
    const int pieces[][4] = {
        {64, 96, 32, 32}, {128, 192, 32, 64}, {256, 272, 16, 16}, {352, 384, 32, 32}};
    for (const auto& [y, maskY, w, h] : pieces)
      for (int p = 0; p < 3; ++p)
        shape(s, w * p, y, w * p, maskY, w, h,
              [&](int i, int j) { return j >= 2 + 3 * p && i >= 1 + p && i < w - 1; });
  }
  if (!o.wave) {
    platform::fillRect(s, 0, 0, 64, 32, platform::kBlack);
    platform::fillRect(s, 0, 32, 64, 32, platform::kWhite);
  }
  if (!o.heading) platform::fillRect(s, 64, 256, 256, 96, platform::kBlack);
  return s;
}

}  // namespace

const Surface& codedSheet(const SheetOptions& o) {
  static std::map<int, Surface> made;
  const int key = o.shapedMasks | o.wave << 1 | o.heading << 2;
  auto it = made.find(key);
  if (it == made.end()) it = made.emplace(key, makeSheet(o)).first;
  return it->second;
}

Surface distinctPalette(int width, int height) {
  Surface p(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.setPixel(x, y,
                 Rgb{static_cast<uint8_t>(20 + 28 * (x / 16)),
                     static_cast<uint8_t>(16 * (x % 16) + y), 77});
  return p;
}

}  // namespace testing_support
