// BMP bitmap files: the sprite sheet (8-bit palette) and the editor palette (24-bit).
#include "platform/bmp.h"

#include <cstring>

namespace platform {

namespace {

uint32_t le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
void put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
}
void put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xff);
  s += static_cast<char>(v >> 8);
}

std::string header(int width, int height, int bits, int paletteSize, size_t imageSize) {
  const uint32_t offset = 14 + 40 + 4 * paletteSize;
  std::string s = "BM";
  put32(s, static_cast<uint32_t>(offset + imageSize));
  put32(s, 0);
  put32(s, offset);
  put32(s, 40);
  put32(s, static_cast<uint32_t>(width));
  put32(s, static_cast<uint32_t>(height));  // positive: rows stored bottom-up
  put16(s, 1);
  put16(s, static_cast<uint16_t>(bits));
  put32(s, 0);  // no compression
  put32(s, static_cast<uint32_t>(imageSize));
  put32(s, 3780);  // 96 dpi
  put32(s, 3780);
  put32(s, static_cast<uint32_t>(paletteSize));
  put32(s, 0);
  return s;
}

}  // namespace

Surface decodeBmp(const uint8_t* d, size_t n) {
  auto bad = [](const char* why) { throw std::runtime_error(std::string("bitmap: ") + why); };
  if (n < 54 || d[0] != 'B' || d[1] != 'M') bad("not a bitmap");
  const uint32_t offset = le32(d + 10), infoSize = le32(d + 14);
  if (infoSize < 40 || 14 + static_cast<size_t>(infoSize) > n) bad("bad header");
  const int32_t width = static_cast<int32_t>(le32(d + 18));
  // Negative for rows stored top-down; widened, since the lowest value has no negation.
  const int64_t signedHeight = static_cast<int32_t>(le32(d + 22));
  const uint16_t bits = le16(d + 28);
  const uint32_t compression = le32(d + 30);
  uint32_t colours = le32(d + 46);
  const bool topDown = signedHeight < 0;
  const int64_t rows = topDown ? -signedHeight : signedHeight;
  if (width <= 0 || rows <= 0 || width > 16384 || rows > 16384) bad("bad size");
  const int height = static_cast<int>(rows);
  if (compression != 0 || (bits != 8 && bits != 24)) bad("only uncompressed 8 and 24 bits");
  std::vector<Rgb> palette;
  if (bits == 8) {
    if (colours == 0 || colours > 256) colours = 256;
    const size_t at = 14 + infoSize;
    if (at + 4 * static_cast<size_t>(colours) > n) bad("palette cut short");
    for (uint32_t i = 0; i < colours; ++i)
      palette.push_back({d[at + 4 * i + 2], d[at + 4 * i + 1], d[at + 4 * i]});
  }
  const size_t stride = ((static_cast<size_t>(width) * bits / 8) + 3) & ~size_t{3};
  if (offset > n || stride * height > n - offset) bad("pixels cut short");
  Surface s(width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = d + offset + stride * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      if (bits == 8) {
        if (row[x] >= palette.size()) bad("index outside the palette");
        s.setPixel(x, y, palette[row[x]]);
      } else {
        s.setPixel(x, y, {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
      }
    }
  }
  return s;
}

std::string encodeBmp8(int width, int height, const std::vector<uint8_t>& indices,
                       const std::vector<Rgb>& palette) {
  const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  std::string s = header(width, height, 8, 256, stride * height);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = i < static_cast<int>(palette.size()) ? palette[i] : kBlack;
    s += static_cast<char>(c.b);
    s += static_cast<char>(c.g);
    s += static_cast<char>(c.r);
    s += '\0';
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x)
      s += static_cast<char>(indices[static_cast<size_t>(y) * width + x]);
    s.append(stride - width, '\0');
  }
  return s;
}

std::string encodeBmp24(const Surface& img) {
  const size_t stride = (static_cast<size_t>(img.width()) * 3 + 3) & ~size_t{3};
  std::string s = header(img.width(), img.height(), 24, 0, stride * img.height());
  for (int y = img.height() - 1; y >= 0; --y) {
    for (int x = 0; x < img.width(); ++x) {
      const Rgb c = img.pixel(x, y);
      s += static_cast<char>(c.b);
      s += static_cast<char>(c.g);
      s += static_cast<char>(c.r);
    }
    s.append(stride - img.width() * 3, '\0');
  }
  return s;
}

}  // namespace platform
