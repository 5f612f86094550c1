// Drawing primitives for the sheet's art: ellipses, polygons, lines, outlines.
#include "tools/make_sheet/art.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sheet {

void Art::fillEllipse(double cx, double cy, double rx, double ry,
                      const std::function<Rgb(int, int, double, double)>& shade) {
  fillTurnedEllipse(cx, cy, rx, ry, 0.0, shade);
}

void Art::fillEllipse(double cx, double cy, double rx, double ry, Rgb c) {
  fillEllipse(cx, cy, rx, ry, [c](int, int, double, double) { return c; });
}

void Art::fillTurnedEllipse(double cx, double cy, double rx, double ry, double angle,
                            const std::function<Rgb(int, int, double, double)>& shade) {
  const double ca = std::cos(angle), sa = std::sin(angle);
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      const double px = x + 0.5 - cx, py = y + 0.5 - cy;
      const double u = (px * ca + py * sa) / rx, v = (-px * sa + py * ca) / ry;
      if (u * u + v * v <= 1.0) put(x, y, shade(x, y, u, v));
    }
  }
}

void Art::fillPolygon(const std::vector<double>& xy, Rgb c) {
  const size_t n = xy.size() / 2;
  for (int y = 0; y < h_; ++y) {
    const double py = y + 0.5;
    for (int x = 0; x < w_; ++x) {
      const double px = x + 0.5;
      bool in = false;
      for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
      }
      if (in) put(x, y, c);
    }
  }
}

void Art::line(int x0, int y0, int x1, int y1, Rgb c) {
  platform::traceLine(x0, y0, x1, y1, [&](long long x, long long y) {
    put(static_cast<int>(x), static_cast<int>(y), c);
  });
}

void Art::thickLine(double x0, double y0, double x1, double y1, double width, Rgb c) {
  const double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
  const double r = width / 2;
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      const double px = x + 0.5 - x0, py = y + 0.5 - y0;
      const double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
      const double ex = px - t * vx, ey = py - t * vy;
      if (ex * ex + ey * ey <= r * r) put(x, y, c);
    }
  }
}

void Art::outline(Rgb c) {
  std::vector<uint8_t> grow(on_.size());
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      if (on_[index(x, y)]) continue;
      if (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)) {
        grow[index(x, y)] = 1;
      }
    }
  }
  for (size_t i = 0; i < on_.size(); ++i) {
    if (grow[i]) {
      on_[i] = 1;
      colour_[i] = c;
    }
  }
}

void Art::stamp(const Art& other, int dx, int dy) {
  for (int y = 0; y < other.h_; ++y) {
    for (int x = 0; x < other.w_; ++x) {
      if (other.opaque(x, y)) put(x + dx, y + dy, other.colour(x, y));
    }
  }
}

Art Art::mirrored() const {
  Art m(w_, h_);
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      if (opaque(x, y)) m.put(w_ - 1 - x, y, colour(x, y));
    }
  }
  return m;
}

double hash01(uint32_t seed, int x, int y) {
  uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
               static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h >> 8) / 16777216.0;
}

Rgb mix(Rgb a, Rgb b, double t) {
  auto m = [t](uint8_t p, uint8_t q) {
    return static_cast<uint8_t>(std::nearbyint(p + (q - p) * std::clamp(t, 0.0, 1.0)));
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb ramp(const std::vector<Rgb>& shades, double level, int x, int y) {
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const double pos = std::clamp(level, 0.0, 1.0) * (shades.size() - 1);
  const int base = static_cast<int>(pos);
  const double frac = pos - base;
  const double threshold = (kBayer[y & 3][x & 3] + 0.5) / 16.0;
  const int pick = std::min<int>(base + (frac > threshold ? 1 : 0), shades.size() - 1);
  return shades[pick];
}

double sphereLight(double nx, double ny) {
  const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
  // Light direction (-0.45, -0.6, 0.66), normalised.
  const double lx = -0.45, ly = -0.6, lz = 0.66;
  const double len = std::sqrt(lx * lx + ly * ly + lz * lz);
  return std::clamp((nx * lx + ny * ly + nz * lz) / len, 0.0, 1.0);
}

}  // namespace sheet
