// Hand-lettered words: letters are pen strokes, redrawn a little differently per frame.
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "tools/make_sheet/parts.h"

namespace sheet {

namespace {

struct Pt {
  double x, y;
};
using Stroke = std::vector<Pt>;
struct Glyph {
  double width;
  std::vector<Stroke> strokes;
};

// Points of an elliptical arc; angles in degrees, 0 to the right, 90 downwards.
Stroke arc(double cx, double cy, double rx, double ry, double from, double to) {
  Stroke s;
  const int n = std::max(4, static_cast<int>(std::abs(to - from) / 12));
  for (int i = 0; i <= n; ++i) {
    const double a = (from + (to - from) * i / n) * std::numbers::pi / 180;
    s.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return s;
}

Stroke join(Stroke a, const Stroke& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Letters in units of the capital height: y 0 at the top of a capital, 1 on the
// baseline; small letters rise to 0.42, descenders reach 1.3.
const std::map<char, Glyph>& glyphs() {
  static const std::map<char, Glyph> g = {
      {'S',
       {0.6, {join(arc(0.31, 0.26, 0.27, 0.25, -25, -270), arc(0.3, 0.74, 0.29, 0.25, -90, 150))}}},
      {'T', {0.62, {{{0, 0.02}, {0.62, 0}}, {{0.31, 0.01}, {0.3, 1}}}}},
      {'A', {0.68, {{{0, 1}, {0.34, 0}, {0.68, 1}}, {{0.15, 0.62}, {0.54, 0.62}}}}},
      {'G',
       {0.68,
        {join(arc(0.35, 0.5, 0.33, 0.5, -40, -330), Stroke{{0.66, 0.56}}),
         {{0.4, 0.57}, {0.68, 0.56}}}}},
      {'E', {0.52, {{{0.52, 0}, {0, 0.01}, {0, 1}, {0.54, 0.99}}, {{0, 0.5}, {0.42, 0.49}}}}},
      {'L', {0.5, {{{0, 0}, {0, 1}, {0.5, 0.99}}}}},
      {'C', {0.62, {arc(0.35, 0.5, 0.33, 0.5, -42, -318)}}},
      {'R',
       {0.6,
        {join(join(Stroke{{0, 1}, {0, 0}, {0.28, 0}}, arc(0.28, 0.26, 0.28, 0.26, -90, 90)),
              Stroke{{0, 0.52}}),
         {{0.26, 0.52}, {0.6, 1}}}}},
      {'U',
       {0.62,
        {join(join(Stroke{{0, 0}}, arc(0.31, 0.68, 0.31, 0.32, 180, 0)), Stroke{{0.62, 0}})}}},
      {'e',
       {0.5, {join(Stroke{{0.03, 0.71}, {0.49, 0.71}}, arc(0.26, 0.71, 0.23, 0.29, -5, -315))}}},
      {'t',
       {0.4,
        {join(Stroke{{0.16, 0.14}, {0.16, 0.88}}, arc(0.3, 0.88, 0.14, 0.12, 180, 70)),
         {{0, 0.43}, {0.38, 0.42}}}}},
      {'r', {0.42, {{{0.03, 0.42}, {0.03, 1}}, arc(0.3, 0.72, 0.27, 0.28, -180, -75)}}},
      {'y', {0.5, {{{0.02, 0.42}, {0.26, 0.96}}, {{0.5, 0.42}, {0.2, 1.2}, {0.05, 1.27}}}}},
      {'i', {0.14, {{{0.07, 0.44}, {0.07, 1}}, {{0.07, 0.2}, {0.075, 0.23}}}}},
      {'v', {0.48, {{{0, 0.42}, {0.24, 1}, {0.48, 0.42}}}}},
      {'p', {0.5, {{{0.03, 0.42}, {0.03, 1.3}}, arc(0.27, 0.71, 0.24, 0.29, -180, 180)}}},
  };
  return g;
}

// Space between letters, in capital heights.
constexpr double kGap = 0.17;

struct Placed {
  Stroke pts;
  double width;
};

// A slow, smooth sway of the whole drawing, different in each frame, so that the
// frames differ like three tracings of one sketch rather than like noise.
Pt sway(Pt p, uint32_t seed, double amount) {
  const double a1 = hash01(seed, 1, 0) * 6.283, a2 = hash01(seed, 2, 0) * 6.283;
  const double a3 = hash01(seed, 3, 0) * 6.283, a4 = hash01(seed, 4, 0) * 6.283;
  return {p.x + amount * (std::sin(p.y * 0.21 + a1) * 0.6 + std::sin(p.x * 0.09 + a2) * 0.5),
          p.y + amount * (std::sin(p.x * 0.13 + a3) * 0.7 + std::sin(p.y * 0.3 + a4) * 0.3)};
}

// Lays out a word in capital height `cap` with its first letter's left edge at x0 and
// its baseline at `base`; each letter is set with its own small lean and bounce.
void setWord(std::vector<Placed>& out, const std::string& word, double x0, double base, double cap,
             double width, uint32_t seed, double jitter) {
  double x = x0;
  int k = 0;
  for (char ch : word) {
    const Glyph& g = glyphs().at(ch);
    const uint32_t ls = seed * 131 + k * 7 + 1;
    const double lean = 0.08 + (hash01(ls, 5, 0) - 0.5) * 0.08 * jitter;
    const double bounce = (hash01(ls, 6, 0) - 0.5) * 1.4 * jitter + (hash01(ch, 9, 0) - 0.5) * 1.2;
    const double shift = (hash01(ls, 7, 0) - 0.5) * 0.9 * jitter;
    const double grow = 1 + (hash01(ls, 8, 0) - 0.5) * 0.06 * jitter;
    for (const Stroke& s : g.strokes) {
      Placed p;
      p.width = width;
      for (const Pt& q : s) {
        const double sy = base - cap * grow * (1 - q.y) + bounce;
        const double sx = x + shift + q.x * cap + (base - sy) * lean;
        p.pts.push_back(sway({sx, sy}, seed, 0.55 * jitter));
      }
      out.push_back(std::move(p));
    }
    x += (g.width + kGap) * cap;
    ++k;
  }
}

double wordWidth(const std::string& word, double cap) {
  double w = 0;
  for (char ch : word) w += (glyphs().at(ch).width + kGap) * cap;
  return w - kGap * cap;
}

// Ink coverage of each pixel from the strokes, in four grey levels on black.
platform::Surface ink(int w, int h, const std::vector<Placed>& strokes, uint32_t seed) {
  platform::Surface s(w, h, platform::kBlack);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      double best = 0;
      int strokeNo = 0;
      for (const Placed& p : strokes) {
        ++strokeNo;
        double along = 0;
        for (size_t i = 0; i + 1 < p.pts.size(); ++i) {
          const Pt a = p.pts[i], b = p.pts[i + 1];
          const double vx = b.x - a.x, vy = b.y - a.y, len2 = vx * vx + vy * vy;
          const double len = std::sqrt(len2);
          const double t =
              len2 > 0 ? std::clamp(((px - a.x) * vx + (py - a.y) * vy) / len2, 0.0, 1.0) : 0;
          const double ex = px - a.x - t * vx, ey = py - a.y - t * vy;
          const double d = std::sqrt(ex * ex + ey * ey);
          const double pos = along + t * len;
          const double pressure =
              1 + 0.14 * std::sin(pos * 0.25 + hash01(seed, strokeNo, 3) * 6.283);
          const double cover = std::clamp(p.width * pressure / 2 + 0.5 - d, 0.0, 1.0);
          best = std::max(best, cover);
          along += len;
        }
      }
      const int level = static_cast<int>(std::nearbyint(best * 3));
      static const uint8_t kGrey[4] = {0, 96, 176, 255};
      s.setPixel(x, y, {kGrey[level], kGrey[level], kGrey[level]});
    }
  }
  return s;
}

}  // namespace

platform::Surface stageSelectHeading(int frame) {
  std::vector<Placed> strokes;
  const double cap = 23, base = 28;
  const uint32_t seed = 1000 + frame;
  // STAGE ends near the middle, so the left half alone reads as the word STAGE.
  setWord(strokes, "STAGE", 124 - wordWidth("STAGE", cap), base, cap, 3.4, seed, 1.0);
  setWord(strokes, "SELECT", 140, base, cap, 3.4, seed + 50, 1.0);
  platform::Surface s = ink(256, 32, strokes, seed);
  // Nothing of SELECT may spill into the left half.
  for (int y = 0; y < 32; ++y)
    for (int x = 126; x < 134; ++x) s.setPixel(x, y, platform::kBlack);
  return s;
}

platform::Surface clearWord(int frame) {
  std::vector<Placed> strokes;
  const double cap = 23, base = 28;
  const uint32_t seed = 2000 + frame;
  setWord(strokes, "CLEAR", 8, base, cap, 3.4, seed, 1.0);
  return ink(96, 32, strokes, seed);
}

platform::Surface button(const std::string& word) {
  std::vector<Placed> strokes;
  const double cap = 11;
  const uint32_t seed = 3000 + static_cast<uint32_t>(word.size());
  setWord(strokes, word, 32 - wordWidth(word, cap) / 2 - 0.8, 20.5, cap, 1.7, seed, 0.4);
  // The oval: one loop of the pen that overshoots its start, as a quick hand draws it.
  Placed oval;
  oval.width = 1.5;
  for (int i = 0; i <= 80; ++i) {
    const double t = i / 72.0;  // a little more than one turn
    const double a = (-150 + 360 * t) * std::numbers::pi / 180;
    const double grow = 1 - 0.05 * t;
    oval.pts.push_back({32 + 29.5 * grow * std::cos(a), 15.7 + 14 * grow * std::sin(a) - 0.5 * t});
  }
  strokes.push_back(oval);
  return ink(64, 32, strokes, seed);
}

}  // namespace sheet
