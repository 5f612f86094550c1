// A floating-point canvas with soft shapes, glows and lettering, for the title pictures.
#include "tools/make_media/paint.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace make_media {

Color rgb(int hex) {
  return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f};
}

Color mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color scale(Color c, float k) {
  return {c.r * k, c.g * k, c.b * k};
}

float smoothstep(float e0, float e1, float x) {
  const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

float hashNoise(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xffffff) / 16777216.0f;
}

float valueNoise(float x, float y, int seed) {
  const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  const float fx = smoothstep(0, 1, x - xi), fy = smoothstep(0, 1, y - yi);
  const float a = hashNoise(xi, yi, seed), b = hashNoise(xi + 1, yi, seed);
  const float c = hashNoise(xi, yi + 1, seed), d = hashNoise(xi + 1, yi + 1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

Canvas::Canvas(int width, int height, int ss)
    : w_(width * ss), h_(height * ss), ss_(ss), px_(static_cast<size_t>(w_) * h_) {}

void Canvas::paint(const std::function<Color(float, float)>& f) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      px_[static_cast<size_t>(y) * w_ + x] = f((x + 0.5f) / ss_, (y + 0.5f) / ss_);
}

void Canvas::fill(float x0, float y0, float x1, float y1,
                  const std::function<bool(float, float)>& inside,
                  const std::function<Color(float, float)>& shade, float alpha) {
  const int ax = std::max(0, static_cast<int>(std::floor(x0 * ss_)));
  const int ay = std::max(0, static_cast<int>(std::floor(y0 * ss_)));
  const int bx = std::min(w_ - 1, static_cast<int>(std::ceil(x1 * ss_)));
  const int by = std::min(h_ - 1, static_cast<int>(std::ceil(y1 * ss_)));
  for (int y = ay; y <= by; ++y) {
    for (int x = ax; x <= bx; ++x) {
      const float fx = (x + 0.5f) / ss_, fy = (y + 0.5f) / ss_;
      if (inside(fx, fy)) blend(x, y, shade(fx, fy), alpha);
    }
  }
}

void Canvas::fillPolygon(const std::vector<float>& xy, Color c, float alpha) {
  fillPolygon(
      xy, [c](float, float) { return c; }, alpha);
}

void Canvas::fillPolygon(const std::vector<float>& xy,
                         const std::function<Color(float, float)>& shade, float alpha) {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (size_t i = 0; i + 1 < xy.size(); i += 2) {
    x0 = std::min(x0, xy[i]);
    x1 = std::max(x1, xy[i]);
    y0 = std::min(y0, xy[i + 1]);
    y1 = std::max(y1, xy[i + 1]);
  }
  const size_t n = xy.size() / 2;
  auto inside = [&](float px, float py) {
    bool in = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
      const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
      if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
  fill(x0, y0, x1, y1, inside, shade, alpha);
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, Color c, float alpha) {
  fill(
      cx - rx, cy - ry, cx + rx, cy + ry,
      [=](float x, float y) {
        const float u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1;
      },
      [c](float, float) { return c; }, alpha);
}

void Canvas::fillBall(float cx, float cy, float rx, float ry, Color base, float shine) {
  // Light from the upper left and a little in front.
  const float lx = -0.48f, ly = -0.62f, lz = 0.62f;
  const float hl = std::sqrt(lx * lx + ly * ly + (lz + 1) * (lz + 1));
  const float hx = lx / hl, hy = ly / hl, hz = (lz + 1) / hl;
  fill(
      cx - rx, cy - ry, cx + rx, cy + ry,
      [=](float x, float y) {
        const float u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1;
      },
      [=](float x, float y) {
        const float u = (x - cx) / rx, v = (y - cy) / ry;
        const float z = std::sqrt(std::max(0.0f, 1 - u * u - v * v));
        const float diffuse = std::max(0.0f, u * lx + v * ly + z * lz);
        const float glint = std::pow(std::max(0.0f, u * hx + v * hy + z * hz), 28.0f) * shine;
        // Light bounced up from the ground brightens the lower rim a little.
        const float bounce = 0.12f * smoothstep(0.3f, 1.0f, v) * (1 - z);
        Color c = scale(base, 0.34f + 0.8f * diffuse + bounce);
        return mix(c, Color{1, 1, 0.95f}, std::min(1.0f, glint));
      });
}

void Canvas::thickLine(float x0, float y0, float x1, float y1, float width, Color c, float alpha) {
  const float r = width / 2;
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = std::max(1e-6f, dx * dx + dy * dy);
  fill(
      std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
      [=](float x, float y) {
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f);
        const float ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
        return ex * ex + ey * ey <= r * r;
      },
      [c](float, float) { return c; }, alpha);
}

void Canvas::glow(float cx, float cy, float radius, Color c, float strength) {
  const int ax = std::max(0, static_cast<int>((cx - radius) * ss_));
  const int ay = std::max(0, static_cast<int>((cy - radius) * ss_));
  const int bx = std::min(w_ - 1, static_cast<int>((cx + radius) * ss_));
  const int by = std::min(h_ - 1, static_cast<int>((cy + radius) * ss_));
  for (int y = ay; y <= by; ++y) {
    for (int x = ax; x <= bx; ++x) {
      const float u = ((x + 0.5f) / ss_ - cx) / radius, v = ((y + 0.5f) / ss_ - cy) / radius;
      const float d2 = u * u + v * v;
      if (d2 >= 1) continue;
      const float k = strength * std::exp(-4 * d2) * (1 - d2);
      Color& p = px_[static_cast<size_t>(y) * w_ + x];
      p = {p.r + c.r * k, p.g + c.g * k, p.b + c.b * k};
    }
  }
}

void Canvas::stamp(const std::vector<float>& mask, int mw, int mh, int px, int py,
                   const std::function<Color(float, float)>& shade, float alpha) {
  for (int y = 0; y < mh; ++y) {
    const int cy = py + y;
    if (cy < 0 || cy >= h_) continue;
    for (int x = 0; x < mw; ++x) {
      const int cx = px + x;
      const float a = mask[static_cast<size_t>(y) * mw + x] * alpha;
      if (cx < 0 || cx >= w_ || a <= 0) continue;
      blend(cx, cy, shade((cx + 0.5f) / ss_, (cy + 0.5f) / ss_), std::min(1.0f, a));
    }
  }
}

void Canvas::vignette(float strength) {
  const float cx = w_ / 2.0f, cy = h_ / 2.0f;
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      const float u = (x - cx) / cx, v = (y - cy) / cy;
      const float k = 1 - strength * smoothstep(0.35f, 1.45f, std::sqrt(u * u + v * v));
      Color& p = px_[static_cast<size_t>(y) * w_ + x];
      p = scale(p, k);
    }
  }
}

platform::Surface Canvas::resolve() const {
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  platform::Surface out(width(), height());
  const float n = static_cast<float>(ss_ * ss_);
  for (int y = 0; y < height(); ++y) {
    for (int x = 0; x < width(); ++x) {
      Color sum;
      for (int j = 0; j < ss_; ++j) {
        for (int i = 0; i < ss_; ++i) {
          const Color& p = px_[static_cast<size_t>(y * ss_ + j) * w_ + x * ss_ + i];
          sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
        }
      }
      const float d = (bayer[y & 3][x & 3] + 0.5f) / 16 - 0.5f;
      auto channel = [&](float v) {
        return static_cast<uint8_t>(std::clamp(std::nearbyint(v / n * 255 + d), 0.0f, 255.0f));
      };
      out.setPixel(x, y, {channel(sum.r), channel(sum.g), channel(sum.b)});
    }
  }
  return out;
}

Lettering renderLettering(const std::string& fontFile, int pixelSize, const std::string& text,
                          const std::function<float(float)>& arc, int letterSpacing) {
  if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error(TTF_GetError());
  TTF_Font* font = TTF_OpenFont(fontFile.c_str(), pixelSize);
  if (!font) throw std::runtime_error(fontFile + ": " + TTF_GetError());
  TTF_SetFontHinting(font, TTF_HINTING_LIGHT);

  // Pen positions come from the widths of the prefixes, which keeps the kerning.
  std::vector<int> penX;
  for (size_t i = 0; i <= text.size(); ++i) {
    int w = 0, h = 0;
    TTF_SizeUTF8(font, text.substr(0, i).c_str(), &w, &h);
    penX.push_back(w + static_cast<int>(i) * letterSpacing);
  }
  const int total = penX.back() + pixelSize / 2;
  float lowest = 0, highest = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const float lift = arc((penX[i] + penX[i + 1]) / 2.0f / total);
    lowest = std::min(lowest, -lift);
    highest = std::max(highest, -lift);
  }
  const int top = static_cast<int>(std::ceil(-lowest));
  Lettering out;
  out.width = total;
  out.height = TTF_FontHeight(font) + top + static_cast<int>(std::ceil(highest));
  out.mask.assign(static_cast<size_t>(out.width) * out.height, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string glyph = text.substr(i, 1);
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, glyph.c_str(), SDL_Color{255, 255, 255, 255});
    if (!s) continue;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(s);
    const int dy =
        top - static_cast<int>(std::nearbyint(arc((penX[i] + penX[i + 1]) / 2.0f / total)));
    for (int y = 0; y < argb->h; ++y) {
      const uint32_t* row = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch);
      for (int x = 0; x < argb->w; ++x) {
        const int ox = penX[i] + x, oy = y + dy;
        if (ox < 0 || ox >= out.width || oy < 0 || oy >= out.height) continue;
        float& m = out.mask[static_cast<size_t>(oy) * out.width + ox];
        m = std::max(m, (row[x] >> 24) / 255.0f);
      }
    }
    SDL_FreeSurface(argb);
  }
  TTF_CloseFont(font);
  return out;
}

std::vector<float> dilate(const std::vector<float>& mask, int w, int h, int radius) {
  std::vector<float> out(mask.size(), 0);
  std::vector<std::pair<int, int>> pen;
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius) pen.emplace_back(dx, dy);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float m = 0;
      for (auto [dx, dy] : pen) {
        const int sx = x + dx, sy = y + dy;
        if (sx >= 0 && sy >= 0 && sx < w && sy < h)
          m = std::max(m, mask[static_cast<size_t>(sy) * w + sx]);
      }
      out[static_cast<size_t>(y) * w + x] = m;
    }
  }
  return out;
}

std::vector<float> blur(const std::vector<float>& mask, int w, int h, int radius) {
  std::vector<float> a = mask, b(mask.size());
  const float k = 1.0f / (2 * radius + 1);
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        float s = 0;
        for (int d = -radius; d <= radius; ++d) {
          const int sx = std::clamp(x + d, 0, w - 1);
          s += a[static_cast<size_t>(y) * w + sx];
        }
        b[static_cast<size_t>(y) * w + x] = s * k;
      }
    }
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        float s = 0;
        for (int d = -radius; d <= radius; ++d) {
          const int sy = std::clamp(y + d, 0, h - 1);
          s += b[static_cast<size_t>(sy) * w + x];
        }
        a[static_cast<size_t>(y) * w + x] = s * k;
      }
    }
  }
  return a;
}

Lettering pad(const Lettering& l, int pad) {
  Lettering out;
  out.width = l.width + 2 * pad;
  out.height = l.height + 2 * pad;
  out.mask.assign(static_cast<size_t>(out.width) * out.height, 0);
  for (int y = 0; y < l.height; ++y)
    for (int x = 0; x < l.width; ++x)
      out.mask[static_cast<size_t>(y + pad) * out.width + x + pad] =
          l.mask[static_cast<size_t>(y) * l.width + x];
  return out;
}

}  // namespace make_media
