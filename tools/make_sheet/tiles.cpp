// Floor tiles, the shadow, the aim arrows, the turn marker and the preview cells.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/make_sheet/parts.h"

namespace sheet {

namespace {

// Twice the distance of a pixel centre from the diamond's edge, in the units of the
// test |2x - 63| + 2|2y - 31| < 64; 1 and 3 are the outermost two pixels of a row.
int diamondDepth(int x, int y) {
  return 64 - (std::abs(2 * x - 63) + 2 * std::abs(2 * y - 31));
}

// Smooth value noise with a cell of `size` pixels, repeating every 64 x 32 so that
// neighbouring tiles continue each other's texture.
double valueNoise(uint32_t seed, double x, double y, int size) {
  const int cw = 64 / size, ch = std::max(1, 32 / size);
  const double fx = x / size, fy = y / size;
  const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  const double tx = fx - ix, ty = fy - iy;
  auto at = [&](int i, int j) { return hash01(seed, ((i % cw) + cw) % cw, ((j % ch) + ch) % ch); };
  auto s = [](double t) { return t * t * (3 - 2 * t); };
  const double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * s(tx);
  const double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * s(tx);
  return a + (b - a) * s(ty);
}

const std::vector<Rgb> kGrass = {{38, 96, 34},  {54, 124, 42},  {74, 150, 52},
                                 {96, 172, 62}, {126, 196, 78}, {168, 222, 110}};
const std::vector<Rgb> kEarth = {
    {102, 64, 38}, {128, 84, 50}, {150, 102, 62}, {168, 118, 74}, {190, 142, 96}};
const std::vector<Rgb> kWater = {{24, 70, 150},  {36, 100, 190},  {52, 130, 216},
                                 {84, 164, 236}, {150, 210, 250}, {220, 244, 255}};

// Light and dark rims: the upper edges catch the light, the lower ones fall in shade,
// so the grid of tiles reads as slightly raised slabs. How strongly each rim shows.
struct Rims {
  Rgb light, dark;
  double lightMix = 0.45, darkMix = 0.6;
};

Rgb rim(Rgb c, int x, int y, const Rims& rims) {
  const int d = diamondDepth(x, y);
  if (d > 3) return c;
  if (y < 16) return mix(c, rims.light, rims.lightMix);
  return mix(c, rims.dark, rims.darkMix);
}

Art tileFrom(Rgb (*at)(int, int), const Rims& rims) {
  Art a(64, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (inDiamond(x, y)) a.put(x, y, rim(at(x, y), x, y, rims));
    }
  }
  return a;
}

// A grass blade's root: each tuft is two or three lit pixels over a dark root.
int bladeAt(int x, int y) {
  const double h = hash01(11, ((x % 64) + 64) % 64, ((y % 32) + 32) % 32);
  if (h < 0.07) return 3;
  if (h < 0.14) return 2;
  return 0;
}

Rgb waterAt(int x, int y) {
  // Gentle swell plus short crests that run along the tile's x axis.
  const double swell = valueNoise(23, x, y * 2, 16);
  double level = 0.3 + 0.3 * swell;
  const double wave = std::sin((x * 0.5 - y) * 0.55 + 3.0 * valueNoise(29, x, y, 16));
  if (wave > 0.93)
    level = 0.85;
  else if (wave > 0.8)
    level = 0.62;
  else if (wave < -0.9)
    level = 0.12;
  return ramp(kWater, level, x, y);
}

}  // namespace

bool inDiamond(int x, int y) {
  return x >= 0 && x < 64 && y >= 0 && y < 32 && diamondDepth(x, y) > 0;
}

Rgb grassAt(int x, int y) {
  // Blades stand up from their roots: look below for a root that reaches this pixel.
  for (int k = 0; k < 3; ++k) {
    const int len = bladeAt(x, y + k);
    if (len > k) return k == 0 ? kGrass[1] : (k == len - 1 ? kGrass[5] : kGrass[4]);
  }
  const double n = valueNoise(5, x, y, 8) * 0.6 + valueNoise(7, x, y, 4) * 0.4;
  return ramp({kGrass[1], kGrass[2], kGrass[3]}, 0.15 + 0.8 * n, x, y);
}

Rgb earthAt(int x, int y) {
  const double h = hash01(17, ((x % 64) + 64) % 64, ((y % 32) + 32) % 32);
  if (h < 0.025) return kEarth[0];  // dark grit
  if (h > 0.985) return kEarth[4];  // small pebble
  // Smooth patches of three browns, their borders broken up by grain rather than a
  // regular dither.
  const double n = valueNoise(13, x, y, 16) + (hash01(19, x & 63, y & 31) - 0.5) * 0.35;
  return n < 0.35 ? kEarth[1] : (n < 0.72 ? kEarth[2] : kEarth[3]);
}

Art grassTile() {
  // Grass is about as light as its own rims, so they are drawn stronger: a player counts
  // the cells of a two-cell slide or jump by them.
  return tileFrom(grassAt, {{232, 252, 184}, {12, 36, 12}, 0.7, 0.85});
}
Art earthTile() {
  return tileFrom(earthAt, {kEarth.back(), kEarth.front()});
}
Art waterTile() {
  return tileFrom(waterAt, {kWater.back(), kWater.front()});
}

Art shadowOval() {
  Art a(32, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double u = (x + 0.5 - 16) / 15.5, v = (y + 0.5 - 8) / 7.5;
      const double r = u * u + v * v;
      if (r > 1) continue;
      // Half the pixels in the core, a quarter towards the rim.
      const bool core = (x + y) % 2 == 0;
      const bool sparse = x % 2 == 0 && y % 2 == 0;
      if (r < 0.55 ? core : sparse) a.put(x, y, platform::kWhite);
    }
  }
  return a;
}

Art aimArrow(int quarter) {
  // The arrow lies flat on the floor: u runs along the direction of the move, v across
  // it, both in cells; a cell step is (+-32, +-16) pixels on the screen.
  const double dx = (quarter % 2 == 0) ? -32 : 32, dy = (quarter < 2) ? -16 : 16;
  const double px = dx, py = -dy;
  auto at = [&](double u, double v, std::vector<double>& out) {
    out.push_back(16 + u * dx + v * px);
    out.push_back(8 + u * dy + v * py);
  };
  std::vector<double> poly;
  at(-0.38, -0.08, poly);
  at(0.02, -0.08, poly);
  at(0.0, -0.2, poly);
  at(0.4, 0.0, poly);
  at(0.0, 0.2, poly);
  at(0.02, 0.08, poly);
  at(-0.38, 0.08, poly);
  Art a(32, 16);
  a.fillPolygon(poly, {250, 208, 40});
  // A lit upper half, as if the arrow were bevelled.
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (!a.opaque(x, y)) continue;
      if (!a.opaque(x, y - 1))
        a.tint(x, y, {255, 244, 150});
      else if (!a.opaque(x, y + 1))
        a.tint(x, y, {214, 150, 20});
    }
  }
  a.outline({120, 62, 8});
  return a;
}

Art turnMarker(int frame) {
  // An upside-down pyramid pointing at the active piece: its square top seen as a
  // diamond and its two front faces. The box's right part is used, nearer the piece.
  const double half = 7.0 + 2.0 * frame;
  const double cx = 19.5, apexY = 29.5;
  const double depth = 1.45 * half;
  const double topY = apexY - depth;  // middle of the top diamond
  Art a(32, 32);
  const Rgb light{255, 96, 80}, mid{222, 36, 36}, dark{142, 16, 24};
  a.fillPolygon({cx - half, topY, cx, topY + half / 2, cx, apexY}, mid);
  a.fillPolygon({cx, topY + half / 2, cx + half, topY, cx, apexY}, dark);
  a.fillPolygon({cx - half, topY, cx, topY - half / 2, cx + half, topY, cx, topY + half / 2},
                light);
  // A glint on the top face.
  a.tint(static_cast<int>(cx - half / 2), static_cast<int>(topY - 1), {255, 200, 190});
  a.tint(static_cast<int>(cx - half / 2) + 1, static_cast<int>(topY - 1), {255, 200, 190});
  a.outline({70, 6, 16});
  return a;
}

Art miniCell(int code) {
  Art a(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      Rgb c;
      if (code == 0)
        c = (x * 3 + y * 5) % 7 == 0 ? kGrass[4] : ((x + y) % 2 ? kGrass[2] : kGrass[3]);
      else if (code == 2)
        c = (y == 2 && x > 1 && x < 5) || (y == 5 && x > 3) ? kWater[4] : kWater[2];
      else
        c = (x * 5 + y * 3) % 11 == 0 ? kEarth[1] : kEarth[2];
      // A dark line on the lower and right edges keeps the grid visible in the preview.
      if (x == 7 || y == 7) c = mix(c, Rgb{16, 16, 16}, 0.35);
      a.put(x, y, c);
    }
  }
  auto dot = [&](Rgb body, Rgb edge) {
    a.fillEllipse(4, 4, 2.6, 2.6, body);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const double u = x + 0.5 - 4, v = y + 0.5 - 4;
        if (u * u + v * v <= 6.8 && u * u + v * v > 3.0 && (u > 0.6 || v > 0.6)) a.put(x, y, edge);
      }
  };
  switch (code) {
    case 3:
      dot({176, 180, 190}, {84, 88, 100});
      a.put(3, 3, {240, 242, 246});
      break;
    case 4:
      dot({255, 255, 255}, {170, 178, 196});
      a.put(5, 4, {240, 150, 40});
      break;
    case 5:
      for (int x = 1; x <= 6; ++x) a.put(x, 4 + (x % 3 == 1 ? -1 : 0), {166, 226, 70});
      for (int x = 1; x <= 6; ++x) a.put(x, 5, {90, 150, 30});
      a.put(6, 3, {20, 30, 10});
      break;
    case 6:
      dot({70, 170, 64}, {26, 84, 34});
      a.put(2, 2, {250, 250, 250});
      a.put(5, 2, {250, 250, 250});
      break;
    default:
      break;
  }
  return a;
}

}  // namespace sheet
