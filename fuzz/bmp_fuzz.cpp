// Fuzz target: any bytes either decode as a bitmap or are refused, never read past their
// end; a decoded picture is no bigger than its bytes, has its corner pixels where the
// file puts them, and survives a save and a reload unchanged.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/bmp.h"

namespace {

uint32_t le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24;
}

// The colour the file stores for pixel (x, y), found from the header by hand.
platform::Rgb storedPixel(const uint8_t* d, int x, int y, int width, int height, int bits) {
  const bool topDown = static_cast<int32_t>(le32(d + 22)) < 0;
  const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) / 4 * 4;
  const size_t row = static_cast<size_t>(topDown ? y : height - 1 - y);
  const uint8_t* p = d + le32(d + 10) + row * stride + static_cast<size_t>(x) * bits / 8;
  if (bits == 8) p = d + 14 + le32(d + 14) + 4 * size_t{*p};
  return {p[2], p[1], p[0]};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::Surface picture;
  try {
    picture = platform::decodeBmp(data, size);
  } catch (const std::runtime_error&) {
    return 0;
  }
  const int w = picture.width(), h = picture.height();
  const int bits = data[28] | data[29] << 8;
  if (w < 1 || h < 1 || w > 16384 || h > 16384 || (bits != 8 && bits != 24)) std::abort();
  // Every pixel comes from a byte of the file: a small file cannot claim a huge picture.
  if (static_cast<size_t>(w) * h * (bits / 8) > size) std::abort();
  if (!(picture.pixel(0, 0) == storedPixel(data, 0, 0, w, h, bits)) ||
      !(picture.pixel(w - 1, h - 1) == storedPixel(data, w - 1, h - 1, w, h, bits)))
    std::abort();

  const std::string saved = platform::encodeBmp24(picture);
  const auto* bytes = reinterpret_cast<const uint8_t*>(saved.data());
  if (!(platform::decodeBmp(bytes, saved.size()) == picture)) std::abort();
  return 0;
}
