// Software surfaces of RGB pixels and the block transfers, lines and fills drawn on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// A picture of width x height RGB pixels, rows top to bottom, 3 bytes a pixel.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Rgb fill = kBlack);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  Rgb pixel(int x, int y) const {
    const uint8_t* p = &px_[(static_cast<size_t>(y) * width_ + x) * 3];
    return {p[0], p[1], p[2]};
  }
  void setPixel(int x, int y, Rgb c) {
    uint8_t* p = &px_[(static_cast<size_t>(y) * width_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  uint8_t* row(int y) { return &px_[static_cast<size_t>(y) * width_ * 3]; }
  const uint8_t* row(int y) const { return &px_[static_cast<size_t>(y) * width_ * 3]; }
  const uint8_t* data() const { return px_.data(); }
  uint8_t* data() { return px_.data(); }

  void fill(Rgb c);
  friend bool operator==(const Surface&, const Surface&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> px_;
};

// The raster operations the game uses, bitwise on each 8-bit channel.
enum class Rop { SrcCopy, SrcAnd, SrcInvert, SrcPaint };

// Combines the w x h rectangle of src at (sx, sy) into dst at (dx, dy), clipped to
// both surfaces.
void bitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
            Rop rop);

// Calls plot(x, y) for each pixel of the one-pixel line from (x0, y0) to (x1, y1), both end
// points included, in order along the line.
template <class Plot>
void traceLine(long long x0, long long y0, long long x1, long long y1, Plot plot) {
  const long long dx = x1 > x0 ? x1 - x0 : x0 - x1, dy = y1 > y0 ? y0 - y1 : y1 - y0;
  const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  long long err = dx + dy;
  for (;;) {
    plot(x0, y0);
    if (x0 == x1 && y0 == y1) return;
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += stepX;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += stepY;
    }
  }
}

// A one-pixel line with both end points drawn, clipped to the surface.
void drawLine(Surface& s, int x0, int y0, int x1, int y1, Rgb c);

// Fills the w x h rectangle at (x, y), clipped.
void fillRect(Surface& s, int x, int y, int w, int h, Rgb c);

// The one-pixel outline of the rectangle with corners (x0, y0) and (x1, y1), both included.
void drawRectOutline(Surface& s, int x0, int y0, int x1, int y1, Rgb c);

// A surface shown in a window: its picture, and the background picture that clearing
// restores (a plain colour when it has no picture).
struct PictureBox {
  Surface image;
  Surface background;

  PictureBox(int width, int height, Rgb backColor)
      : image(width, height, backColor), background(width, height, backColor) {}
  void clear() { image = background; }
  // The background picture is shown unscaled from the top-left corner.
  void setBackground(const Surface& picture);
};

}  // namespace platform
