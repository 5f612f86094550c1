// The title picture and the quiet background of every later screen.
#include "tools/make_media/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "assets/embedded.h"
#include "game/render/layout.h"
#include "platform/bmp.h"
#include "tools/make_media/paint.h"

namespace make_media {
namespace {

constexpr int kSuperSample = 3;
constexpr float kPi = 3.14159265f;

// Piecewise-linear colour ramp over sorted positions.
Color ramp(const std::vector<std::pair<float, Color>>& stops, float t) {
  if (t <= stops.front().first) return stops.front().second;
  for (size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].first) {
      const float k = (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
      return mix(stops[i - 1].second, stops[i].second, smoothstep(0, 1, k));
    }
  }
  return stops.back().second;
}

// ---- The floating island of the title ----

constexpr float kTileW = 54, kTileH = 27, kDepth = 18;
constexpr float kIslandX = 250, kIslandY = 150;  // top corner of the island
constexpr int kIsland = 6;
// One row a line (j), one cell a letter (i): G grass, P painted, B block (water, as in play),
// . nothing.
constexpr std::array<const char*, kIsland> kIslandCells = {
    "GGPGG.", "GGPBGG", "BGPGGG", "GGPPPG", ".GGGGG", "..GGGG",
};

char cellAt(int i, int j) {
  if (i < 0 || j < 0 || i >= kIsland || j >= kIsland) return '.';
  return kIslandCells[j][i];
}

float tileX(float i, float j) {
  return kIslandX + (i - j) * kTileW / 2;
}
float tileY(float i, float j) {
  return kIslandY + (i + j + 1) * kTileH / 2;
}

std::vector<float> diamond(float cx, float cy, float w, float h) {
  return {cx, cy - h / 2, cx + w / 2, cy, cx, cy + h / 2, cx - w / 2, cy};
}

// A diamond top with a bevel: light on the two upper edges, shade on the two lower ones.
void tileTop(Canvas& c, float cx, float cy, float w, float h, Color base, int seed, float speckle) {
  c.fillPolygon(diamond(cx, cy, w, h), [=](float x, float y) {
    const float u = (x - cx) / (w / 2), v = (y - cy) / (h / 2);
    const float edge = 1 - (std::abs(u) + std::abs(v));
    Color col = scale(base, 1.08f - 0.14f * (v + 1) / 2);
    const float n = valueNoise(x * 0.45f, y * 0.9f, seed);
    const float fine = hashNoise(static_cast<int>(x * 3), static_cast<int>(y * 3), seed);
    col = scale(col, 1 + speckle * (n - 0.5f) + 0.05f * (fine - 0.5f));
    if (edge < 0.09f) col = v < 0 ? mix(col, Color{1, 1, 0.85f}, 0.32f) : scale(col, 0.66f);
    return col;
  });
}

// The two earth faces below a cell whose front neighbours are missing.
void islandSides(Canvas& c, int i, int j) {
  const float cx = tileX(i, j), cy = tileY(i, j);
  const float depth = kDepth;
  const Color lip = rgb(0x3d7f2f), earth = rgb(0x82532e), deep = rgb(0x3e2616);
  auto face = [&](float x0, float y0, float x1, float y1, float light, int seed) {
    c.fillPolygon({x0, y0, x1, y1, x1, y1 + depth, x0, y0 + depth}, [=](float x, float y) {
      const float top = y0 + (y1 - y0) * (x - x0) / (x1 - x0);
      const float d = y - top;
      Color col = d < 3.5f ? lip : mix(earth, deep, smoothstep(3, depth, d));
      const float strata = valueNoise(x * 0.15f, d * 0.7f, seed);
      return scale(col, light * (0.88f + 0.24f * strata));
    });
  };
  if (cellAt(i, j + 1) == '.') face(cx - kTileW / 2, cy, cx, cy + kTileH / 2, 1.0f, 31);
  if (cellAt(i + 1, j) == '.') face(cx, cy + kTileH / 2, cx + kTileW / 2, cy, 0.72f, 37);
}

// A block as play shows it: the sprite sheet's flat water tile through its diamond mask,
// scaled to the island's tiles.
void waterTile(Canvas& c, float cx, float cy) {
  const game::layout::Sprite& water = game::layout::kWaterTile;
  static const platform::Surface sheet = [] {
    const auto bytes = assets::spriteSheetBmp();
    return platform::decodeBmp(bytes.data(), bytes.size());
  }();
  c.fillPolygon(diamond(cx, cy, kTileW, kTileH), [&](float x, float y) {
    int sx = std::clamp(static_cast<int>(std::floor(32 + (x - cx) * 64 / kTileW)), 0, 63);
    int sy = std::clamp(static_cast<int>(std::floor(16 + (y - cy) * 32 / kTileH)), 0, 31);
    // The smooth edge reaches past the tile's pixels: step in until the mask says inside.
    while (sheet.pixel(water.maskX + sx, water.maskY + sy) != platform::kBlack &&
           (sx != 32 || sy != 16)) {
      sx += sx < 32 ? 1 : sx > 32 ? -1 : 0;
      sy += sy < 16 ? 1 : sy > 16 ? -1 : 0;
    }
    const platform::Rgb p = sheet.pixel(water.picture.x + sx, water.picture.y + sy);
    return Color{p.r / 255.0f, p.g / 255.0f, p.b / 255.0f};
  });
}

void shadow(Canvas& c, float cx, float cy, float rx) {
  c.fillEllipse(cx, cy, rx, rx * 0.42f, rgb(0x14240f), 0.35f);
}

// A ball with a dark rim, the way every piece is outlined so it stands off the grass.
void outlinedBall(Canvas& c, float cx, float cy, float rx, float ry, Color base,
                  float shine = 0.6f) {
  c.fillEllipse(cx, cy, rx + 1.3f, ry + 1.3f, rgb(0x1d1a22));
  c.fillBall(cx, cy, rx, ry, base, shine);
}

void eye(Canvas& c, float x, float y, float r, float lookX = 0.6f) {
  c.fillEllipse(x, y, r + 0.9f, r * 1.18f + 0.9f, rgb(0x1d1a22));
  c.fillEllipse(x, y, r, r * 1.18f, rgb(0xfbfbf6));
  c.fillEllipse(x + lookX * r * 0.35f, y + r * 0.2f, r * 0.55f, r * 0.62f, rgb(0x121018));
  c.fillEllipse(x + lookX * r * 0.35f - r * 0.2f, y - r * 0.12f, r * 0.2f, r * 0.2f, rgb(0xffffff));
}

void ballCreature(Canvas& c, float cx, float cy) {
  shadow(c, cx + 2, cy + 2, 17);
  c.fillEllipse(cx - 8, cy + 1, 6, 3.5f, rgb(0x1d1a22));
  c.fillEllipse(cx + 8, cy + 1, 6, 3.5f, rgb(0x1d1a22));
  c.fillBall(cx - 8, cy + 0.5f, 5, 2.8f, rgb(0x6d7079), 0.2f);
  c.fillBall(cx + 8, cy + 0.5f, 5, 2.8f, rgb(0x6d7079), 0.2f);
  outlinedBall(c, cx, cy - 15, 17.5f, 16.5f, rgb(0xa3a8b3));
  eye(c, cx - 6.5f, cy - 19, 4.6f);
  eye(c, cx + 6, cy - 19, 4.6f);
  c.fillEllipse(cx - 12, cy - 11, 3.2f, 2, rgb(0xf0908c), 0.45f);
  c.fillEllipse(cx + 12, cy - 11, 3.2f, 2, rgb(0xf0908c), 0.45f);
  c.thickLine(cx - 2.5f, cy - 10.5f, cx + 2.5f, cy - 10.5f, 1.3f, rgb(0x2a2630));
}

void bird(Canvas& c, float cx, float cy) {
  const Color white = rgb(0xf2f1ec), ink = rgb(0x1d1a22), beak = rgb(0xf2a03a);
  shadow(c, cx, cy + 2, 14);
  c.thickLine(cx - 3, cy - 6, cx - 4, cy + 1, 1.6f, beak);
  c.thickLine(cx + 3, cy - 6, cx + 3, cy + 1, 1.6f, beak);
  // Tail feathers point back and up.
  c.fillPolygon({cx - 9, cy - 16, cx - 24, cy - 25, cx - 21, cy - 15, cx - 8, cy - 10}, ink);
  c.fillPolygon({cx - 9.5f, cy - 15, cx - 22, cy - 23, cx - 19.5f, cy - 15.5f, cx - 9, cy - 11.5f},
                rgb(0xdcdde2));
  outlinedBall(c, cx, cy - 13, 13, 10.5f, white, 0.4f);
  outlinedBall(c, cx + 8, cy - 26, 8.5f, 8, white, 0.4f);
  c.fillEllipse(cx - 3, cy - 13, 8.5f, 5.5f, ink);
  c.fillBall(cx - 3, cy - 13.5f, 7.5f, 4.5f, rgb(0xd4d8e0), 0.3f);
  c.fillPolygon({cx + 15, cy - 29, cx + 24, cy - 25.5f, cx + 15, cy - 22.5f}, ink);
  c.fillPolygon({cx + 15.5f, cy - 28, cx + 22.5f, cy - 25.5f, cx + 15.5f, cy - 23.5f}, beak);
  c.fillEllipse(cx + 10, cy - 28, 1.9f, 2.2f, ink);
  c.fillEllipse(cx + 9.5f, cy - 28.7f, 0.6f, 0.6f, rgb(0xffffff));
}

void worm(Canvas& c, float cx, float cy) {
  const Color green = rgb(0xb8e34d);
  shadow(c, cx - 2, cy + 1, 17);
  struct Segment {
    float x, y, r;
  };
  const Segment body[] = {{-16, -2, 5}, {-10, -4.5f, 6}, {-3, -6, 6.6f}, {4, -9, 7}};
  for (const auto& s : body)
    c.fillEllipse(cx + s.x, cy + s.y, s.r + 1.3f, s.r + 1.3f, rgb(0x1d1a22));
  for (const auto& s : body) c.fillBall(cx + s.x, cy + s.y, s.r, s.r, green, 0.45f);
  for (size_t k = 1; k < 4; ++k) {
    const Segment& s = body[k];
    c.thickLine(cx + s.x - s.r * 0.55f, cy + s.y - s.r * 0.6f, cx + s.x - s.r * 0.75f,
                cy + s.y + s.r * 0.4f, 1, rgb(0x6e9b2a), 0.7f);
  }
  outlinedBall(c, cx + 9, cy - 18, 8.5f, 8.2f, green, 0.5f);
  eye(c, cx + 6.5f, cy - 21, 2.9f);
  eye(c, cx + 12.5f, cy - 21, 2.9f);
  c.fillEllipse(cx + 9.5f, cy - 13.5f, 2.6f, 1.3f, rgb(0x4a2a22));
}

void frog(Canvas& c, float cx, float cy) {
  const Color skin = rgb(0x2fae7c), ink = rgb(0x1d1a22);
  shadow(c, cx, cy + 2, 18);
  // Back legs folded at the sides, then the body, the belly and the front feet.
  outlinedBall(c, cx - 13, cy - 5, 7, 5.5f, scale(skin, 0.85f), 0.3f);
  outlinedBall(c, cx + 13, cy - 5, 7, 5.5f, scale(skin, 0.85f), 0.3f);
  outlinedBall(c, cx, cy - 11, 15.5f, 11.5f, skin, 0.5f);
  c.fillEllipse(cx, cy - 5.5f, 9, 5, rgb(0xe8e49a), 0.9f);
  outlinedBall(c, cx - 6, cy - 1, 3.8f, 2.4f, scale(skin, 0.9f), 0.2f);
  outlinedBall(c, cx + 6, cy - 1, 3.8f, 2.4f, scale(skin, 0.9f), 0.2f);
  outlinedBall(c, cx - 7.5f, cy - 21, 6, 5.6f, skin, 0.5f);
  outlinedBall(c, cx + 7.5f, cy - 21, 6, 5.6f, skin, 0.5f);
  eye(c, cx - 7.5f, cy - 22, 3.7f, 0.3f);
  eye(c, cx + 7.5f, cy - 22, 3.7f, 0.3f);
  for (int k = 0; k < 9; ++k) {
    const float t = (k - 4) / 4.0f;
    c.fillEllipse(cx + t * 6, cy - 12.5f + 1.6f * (1 - t * t), 0.7f, 0.7f, ink);
  }
}

void islandCells(Canvas& c) {
  const Color grass = rgb(0x61b84a), painted = rgb(0xa66b38);
  for (int sum = 0; sum <= 2 * (kIsland - 1); ++sum) {
    for (int j = 0; j < kIsland; ++j) {
      const int i = sum - j;
      const char cell = cellAt(i, j);
      if (cell == '.') continue;
      const float cx = tileX(i, j), cy = tileY(i, j);
      const float vary = 0.96f + 0.08f * hashNoise(i, j, 11);
      if (cell == 'P')
        tileTop(c, cx, cy, kTileW, kTileH, scale(painted, vary), 13 + i * 7 + j, 0.22f);
      else if (cell == 'B')
        waterTile(c, cx, cy);
      else
        tileTop(c, cx, cy, kTileW, kTileH, scale(grass, vary), 17 + i * 5 + j * 3, 0.16f);
      islandSides(c, i, j);
    }
  }
  // Pieces go on top, back to front.
  struct Thing {
    int i, j;
    void (*draw)(Canvas&, float, float);
  };
  const Thing things[] = {
      {4, 0, bird},
      {0, 3, frog},
      {5, 2, worm},
      {4, 4, ballCreature},
  };
  std::vector<Thing> order(std::begin(things), std::end(things));
  std::stable_sort(order.begin(), order.end(),
                   [](const Thing& a, const Thing& b) { return a.i + a.j < b.i + b.j; });
  for (const Thing& t : order) t.draw(c, tileX(t.i, t.j), tileY(t.i, t.j) + 2);
}

// Rock hanging under the island, tapering into the haze, with a few roots.
void islandUnderside(Canvas& c) {
  // The lowest edge of the island's earth faces, column by column.
  std::vector<float> xs, tops;
  for (float x = 0; x <= kPictureWidth; x += 2) {
    float low = -1;
    for (int j = 0; j < kIsland; ++j) {
      for (int i = 0; i < kIsland; ++i) {
        if (cellAt(i, j) == '.') continue;
        const float dx = std::abs(x - tileX(i, j));
        if (dx > kTileW / 2) continue;
        low = std::max(low, tileY(i, j) + kTileH / 2 * (1 - dx / (kTileW / 2)) + kDepth);
      }
    }
    if (low < 0) continue;
    xs.push_back(x);
    tops.push_back(low);
  }
  if (xs.size() < 2) return;
  std::vector<float> rock;
  for (size_t k = 0; k < xs.size(); ++k) {
    rock.push_back(xs[k]);
    rock.push_back(tops[k] - 6);
  }
  const float x0 = xs.front(), x1 = xs.back();
  for (size_t k = xs.size(); k-- > 0;) {
    const float t = (xs[k] - x0) / (x1 - x0);
    const float hang =
        34 * std::pow(std::sin(t * kPi), 1.6f) * (0.75f + 0.5f * valueNoise(xs[k] * 0.08f, 0, 41));
    rock.push_back(xs[k]);
    rock.push_back(tops[k] + hang);
  }
  const float top = *std::min_element(tops.begin(), tops.end());
  c.fillPolygon(rock, [=](float x, float y) {
    const Color col = mix(rgb(0x5a3a26), rgb(0x8a6684), smoothstep(top, top + 60, y));
    return scale(col, 0.8f + 0.35f * valueNoise(x * 0.1f, y * 0.3f, 43));
  });
  for (int k = 0; k < 7; ++k) {
    const float x = x0 + 30 + (x1 - x0 - 60) * (k + hashNoise(k, 1, 47)) / 7;
    const size_t at = static_cast<size_t>((x - x0) / 2);
    const float y = tops[std::min(at, tops.size() - 1)];
    const float len = 8 + 14 * hashNoise(k, 2, 47);
    c.thickLine(x, y, x + 3 * (hashNoise(k, 3, 47) - 0.5f), y + len, 1.2f, rgb(0x3b2a1e), 0.8f);
  }
}

void skyAndStars(Canvas& c) {
  const std::vector<std::pair<float, Color>> sky = {
      {0, rgb(0x0b1230)},   {95, rgb(0x22275a)},  {175, rgb(0x57407e)},
      {235, rgb(0xb86a7e)}, {280, rgb(0xf0a97a)}, {350, rgb(0xf7cf9a)},
  };
  c.paint([&](float x, float y) {
    Color col = ramp(sky, y + 10 * std::sin(x * 0.012f));
    return scale(col, 0.97f + 0.06f * valueNoise(x * 0.02f, y * 0.04f, 3));
  });
  for (int k = 0; k < 95; ++k) {
    const float x = 500 * hashNoise(k, 1, 51), y = 185 * std::pow(hashNoise(k, 2, 51), 1.4f);
    const float b = hashNoise(k, 3, 51);
    const float fade = 1 - smoothstep(90, 190, y);
    c.fillEllipse(x, y, 0.55f + 0.5f * b, 0.55f + 0.5f * b, rgb(0xfff8e8),
                  fade * (0.4f + 0.6f * b));
    if (b > 0.88f) c.glow(x, y, 7, rgb(0xbfd0ff), 0.35f * fade);
  }
}

// Far-off islands, hazy with distance.
void distantIsland(Canvas& c, float x, float y, float size, float haze) {
  const Color air = rgb(0x9a6f98);
  const float w = 58 * size, h = 29 * size;
  for (int j = 0; j < 3; ++j) {
    for (int i = 0; i < 3; ++i) {
      if (i == 2 && j == 2) continue;
      const float cx = x + (i - j) * w / 2, cy = y + (i + j) * h / 2;
      c.fillPolygon(
          {cx - w / 2, cy, cx, cy + h / 2, cx, cy + h / 2 + 10 * size, cx - w / 2, cy + 10 * size},
          mix(rgb(0x6b4530), air, haze));
      c.fillPolygon(
          {cx, cy + h / 2, cx + w / 2, cy, cx + w / 2, cy + 10 * size, cx, cy + h / 2 + 10 * size},
          mix(rgb(0x4b3022), air, haze));
      c.fillPolygon(diamond(cx, cy, w, h), mix(rgb(0x5aa446), air, haze));
    }
  }
}

void clouds(Canvas& c, float baseY, Color light, Color dark, float alpha, int seed) {
  for (int k = 0; k < 16; ++k) {
    const float x = -30 + 560 * (k + hashNoise(k, 0, seed)) / 16;
    const float r = 26 + 22 * hashNoise(k, 1, seed);
    const float y = baseY + 14 * hashNoise(k, 2, seed);
    c.fill(
        x - r * 1.6f, y - r, x + r * 1.6f, y + r,
        [=](float px, float py) {
          const float u = (px - x) / (r * 1.6f), v = (py - y) / r;
          return u * u + v * v <= 1;
        },
        [=](float, float py) { return mix(light, dark, smoothstep(y - r, y + r * 0.6f, py)); },
        alpha);
  }
}

void lettering(Canvas& c, const TitleFonts& fonts) {
  const int ss = c.superSample();
  const int pad = 14 * ss;
  Lettering name = make_media::pad(renderLettering(
                                       fonts.name, 76 * ss, "Skelmora",
                                       [&](float t) { return 9.0f * ss * std::sin(t * kPi); }, ss),
                                   pad);
  const int w = name.width, h = name.height;
  const int px = (c.width() * ss - w) / 2, py = 8 * ss;
  const std::vector<float> rim = dilate(name.mask, w, h, 3 * ss);
  const std::vector<float> shade = blur(dilate(name.mask, w, h, 3 * ss), w, h, 3 * ss);
  c.stamp(
      shade, w, h, px + 3 * ss, py + 6 * ss, [](float, float) { return rgb(0x0a0718); }, 0.7f);
  c.stamp(rim, w, h, px, py, [](float, float) { return rgb(0x2b1230); });
  // A bevel: the lettering lit from above, darker towards its lower edges.
  const float top = (py + pad) / static_cast<float>(ss), bottom = top + 70;
  std::vector<float> lit(name.mask.size(), 0), dim(name.mask.size(), 0);
  const int off = 2 * ss;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const float m = name.mask[static_cast<size_t>(y) * w + x];
      const float above = y >= off ? name.mask[static_cast<size_t>(y - off) * w + x] : 0;
      const float below = y + off < h ? name.mask[static_cast<size_t>(y + off) * w + x] : 0;
      lit[static_cast<size_t>(y) * w + x] = std::max(0.0f, m - above);
      dim[static_cast<size_t>(y) * w + x] = std::max(0.0f, m - below);
    }
  }
  const std::vector<std::pair<float, Color>> gold = {
      {0, rgb(0xfffbe0)}, {0.35f, rgb(0xffe07a)}, {0.7f, rgb(0xf6a93b)}, {1, rgb(0xd9692a)}};
  c.stamp(name.mask, w, h, px, py,
          [&](float, float y) { return ramp(gold, (y - top) / (bottom - top)); });
  c.stamp(
      blur(lit, w, h, ss / 2 + 1), w, h, px, py, [](float, float) { return rgb(0xffffff); }, 0.8f);
  c.stamp(
      blur(dim, w, h, ss / 2 + 1), w, h, px, py, [](float, float) { return rgb(0x9c3d1c); }, 0.55f);

  // The hint under the name.
  Lettering hint =
      make_media::pad(renderLettering(
                          fonts.hint, 15 * ss, "click to start", [](float) { return 0.0f; }, ss),
                      4 * ss);
  const int hx = (c.width() * ss - hint.width) / 2, hy = py + h - 24 * ss;
  const std::vector<float> hintShade =
      blur(dilate(hint.mask, hint.width, hint.height, ss), hint.width, hint.height, ss);
  c.stamp(
      hintShade, hint.width, hint.height, hx + ss, hy + ss,
      [](float, float) { return rgb(0x0c0a1c); }, 0.9f);
  c.stamp(hint.mask, hint.width, hint.height, hx, hy, [](float, float) { return rgb(0xf4eefc); });
}

void sparkle(Canvas& c, float x, float y, float size) {
  c.glow(x, y, size * 2.2f, rgb(0xfff2c0), 0.6f);
  c.thickLine(x - size, y, x + size, y, size * 0.16f, rgb(0xffffff), 0.9f);
  c.thickLine(x, y - size, x, y + size, size * 0.16f, rgb(0xffffff), 0.9f);
}

}  // namespace

TitleFonts findTitleFonts() {
  const std::string dir = "/usr/share/fonts/truetype/dejavu/";
  TitleFonts f{dir + "DejaVuSerif-Bold.ttf", dir + "DejaVuSans-Bold.ttf"};
  for (const std::string& p : {f.name, f.hint})
    if (!std::filesystem::exists(p))
      throw std::runtime_error(p + " is missing (install fonts-dejavu-core)");
  return f;
}

platform::Surface paintTitle(const TitleFonts& fonts) {
  Canvas c(kPictureWidth, kPictureHeight, kSuperSample);
  skyAndStars(c);
  c.glow(250, 292, 260, rgb(0xffc27a), 0.35f);
  distantIsland(c, 62, 196, 0.42f, 0.55f);
  distantIsland(c, 448, 176, 0.32f, 0.65f);
  distantIsland(c, 470, 262, 0.5f, 0.45f);
  clouds(c, 300, rgb(0xfbd9b0), rgb(0xc98a9a), 0.75f, 61);
  c.glow(250, 70, 230, rgb(0xffb870), 0.22f);
  islandUnderside(c);
  islandCells(c);
  clouds(c, 338, rgb(0xfde6c6), rgb(0xe3a7a4), 0.9f, 67);
  lettering(c, fonts);
  sparkle(c, 118, 38, 7);
  sparkle(c, 388, 92, 5);
  c.vignette(0.35f);
  return c.resolve();
}

platform::Surface paintBackground() {
  Canvas c(kPictureWidth, kPictureHeight, kSuperSample);
  const std::vector<std::pair<float, Color>> night = {
      {0, rgb(0x222a3c)}, {170, rgb(0x1a2131)}, {350, rgb(0x10141d)}};
  c.paint([&](float x, float y) {
    Color col = ramp(night, y);
    // Slow mist and a lattice of large faint diamonds, echoing the field.
    const float mist =
        valueNoise(x * 0.012f, y * 0.02f, 71) * 0.6f + valueNoise(x * 0.03f, y * 0.05f, 73) * 0.4f;
    col = mix(col, rgb(0x34435a), 0.28f * smoothstep(0.45f, 0.95f, mist));
    const float u = (x - 250) / 64 + (y - 30) / 32, v = (y - 30) / 32 - (x - 250) / 64;
    const float du = std::abs(u - std::nearbyint(u)), dv = std::abs(v - std::nearbyint(v));
    const float line = 1 - smoothstep(0.0f, 0.035f, std::min(du, dv));
    return mix(col, rgb(0x5a6e8c), 0.07f * line);
  });
  c.glow(250, 40, 320, rgb(0x2d4a78), 0.28f);
  c.glow(60, 320, 200, rgb(0x1d3a44), 0.2f);
  for (int k = 0; k < 14; ++k) {
    const float x = 500 * hashNoise(k, 1, 81), y = 350 * hashNoise(k, 2, 81);
    const float r = 10 + 28 * hashNoise(k, 3, 81);
    c.fillEllipse(x, y, r, r, rgb(0x7d93b8), 0.025f + 0.03f * hashNoise(k, 4, 81));
  }
  // Faint stars above and far islands low down, the title's world at night.
  for (int k = 0; k < 60; ++k) {
    const float x = 500 * hashNoise(k, 5, 83), y = 220 * std::pow(hashNoise(k, 6, 83), 1.3f);
    const float b = hashNoise(k, 7, 83);
    c.fillEllipse(x, y, 0.5f + 0.4f * b, 0.5f + 0.4f * b, rgb(0xc8d4f0), 0.12f + 0.25f * b);
  }
  const Color far = rgb(0x161c28);
  struct Isle {
    float x, y, size;
  };
  for (const Isle& isle : {Isle{70, 292, 1.0f}, Isle{205, 318, 0.7f}, Isle{420, 300, 1.2f}}) {
    const float w = 60 * isle.size, h = 30 * isle.size;
    c.fillPolygon({isle.x - w, isle.y, isle.x, isle.y - h, isle.x + w, isle.y, isle.x + w * 0.35f,
                   isle.y + h * 1.4f, isle.x - w * 0.3f, isle.y + h * 1.1f},
                  far, 0.8f);
    c.fillPolygon({isle.x - w, isle.y, isle.x, isle.y - h, isle.x + w, isle.y, isle.x, isle.y + h},
                  rgb(0x1f2a36), 0.8f);
  }
  c.vignette(0.5f);
  return c.resolve();
}

}  // namespace make_media
