// Software surfaces of RGB pixels and the block transfers, lines and fills drawn on them.
#include "platform/raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

Surface::Surface(int width, int height, Rgb fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      px_(static_cast<size_t>(width_) * height_ * 3) {
  this->fill(fill);
}

void Surface::fill(Rgb c) {
  for (size_t i = 0; i < px_.size(); i += 3) {
    px_[i] = c.r;
    px_[i + 1] = c.g;
    px_[i + 2] = c.b;
  }
}

namespace {

// Bitwise operations do not care where channels start: combine eight bytes at a time.
template <class Op>
void combineRow(uint8_t* d, const uint8_t* s, size_t n, Op op) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t a, b;
    std::memcpy(&a, d + i, 8);
    std::memcpy(&b, s + i, 8);
    a = op(a, b);
    std::memcpy(d + i, &a, 8);
  }
  for (; i < n; ++i) d[i] = static_cast<uint8_t>(op(d[i], s[i]));
}

}  // namespace

void bitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
            Rop rop) {
  // Clip against the source, then the destination, moving both origins together.
  auto clip = [&](int& a, int& b, int& len, int limitA, int limitB) {
    if (a < 0) {
      len += a;
      b -= a;
      a = 0;
    }
    if (b < 0) {
      len += b;
      a -= b;
      b = 0;
    }
    len = std::min({len, limitA - a, limitB - b});
  };
  clip(sx, dx, w, src.width(), dst.width());
  clip(sy, dy, h, src.height(), dst.height());
  if (w <= 0 || h <= 0) return;
  const size_t n = static_cast<size_t>(w) * 3;
  for (int j = 0; j < h; ++j) {
    uint8_t* d = dst.row(dy + j) + static_cast<size_t>(dx) * 3;
    const uint8_t* s = src.row(sy + j) + static_cast<size_t>(sx) * 3;
    switch (rop) {
      case Rop::SrcCopy:
        std::memmove(d, s, n);
        break;
      case Rop::SrcAnd:
        combineRow(d, s, n, [](uint64_t a, uint64_t b) { return a & b; });
        break;
      case Rop::SrcInvert:
        combineRow(d, s, n, [](uint64_t a, uint64_t b) { return a ^ b; });
        break;
      case Rop::SrcPaint:
        combineRow(d, s, n, [](uint64_t a, uint64_t b) { return a | b; });
        break;
    }
  }
}

namespace {

// Cohen-Sutherland clipping to the surface rectangle, in 64-bit to keep far ends exact.
int outCode(long long x, long long y, long long w, long long h) {
  int c = 0;
  if (x < 0)
    c |= 1;
  else if (x > w - 1)
    c |= 2;
  if (y < 0)
    c |= 4;
  else if (y > h - 1)
    c |= 8;
  return c;
}

}  // namespace

void drawLine(Surface& s, int x0, int y0, int x1, int y1, Rgb c) {
  if (s.empty()) return;
  // Bresenham over the whole segment, so a clipped line keeps exactly the pixels it
  // would have on a larger surface; the steps outside are skipped quickly below.
  const long long w = s.width(), h = s.height();
  if (outCode(x0, y0, w, h) & outCode(x1, y1, w, h)) return;  // wholly on one side
  // The bounds by value: the pixel stores could alias them, and they would be reloaded.
  traceLine(x0, y0, x1, y1, [&s, w, h, c](long long x, long long y) {
    if (x >= 0 && y >= 0 && x < w && y < h) s.setPixel(static_cast<int>(x), static_cast<int>(y), c);
  });
}

void fillRect(Surface& s, int x, int y, int w, int h, Rgb c) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(s.width(), x + w), y1 = std::min(s.height(), y + h);
  for (int j = y0; j < y1; ++j)
    for (int i = x0; i < x1; ++i) s.setPixel(i, j, c);
}

void drawRectOutline(Surface& s, int x0, int y0, int x1, int y1, Rgb c) {
  drawLine(s, x0, y0, x1, y0, c);
  drawLine(s, x1, y0, x1, y1, c);
  drawLine(s, x1, y1, x0, y1, c);
  drawLine(s, x0, y1, x0, y0, c);
}

void PictureBox::setBackground(const Surface& picture) {
  background.fill(kBlack);
  bitBlt(background, 0, 0, background.width(), background.height(), picture, 0, 0, Rop::SrcCopy);
}

}  // namespace platform
