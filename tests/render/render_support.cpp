// What the field renderer tests share: a telling sheet, a patterned surface, expectations.
#include "tests/render/render_support.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#include "tests/support/game_fixture.h"

namespace render_test {

using platform::Rgb;
using platform::Surface;

namespace {

// Picture pixel (i, j) of area a: red names the area, green the row, blue the column.
Rgb areaColour(int a, int i, int j) {
  return {static_cast<uint8_t>(30 + 14 * a), static_cast<uint8_t>(10 + 3 * j),
          static_cast<uint8_t>(1 + 2 * i)};
}

struct PieceArea {
  int y, maskY, w, h;
};
// Walker, slider, eraser and jumper: frames side by side from x 0, one frame wide apart.
constexpr PieceArea kPieces[] = {
    {64, 96, 32, 32}, {128, 192, 32, 64}, {256, 272, 16, 16}, {352, 384, 32, 32}};

}  // namespace

bool inSyntheticDiamond(int i, int j) {
  return std::abs(2 * i - 63) + 2 * std::abs(2 * j - 31) <= 64;
}

const Surface& syntheticSheet() {
  static const Surface sheet = [] {
    Surface s(320, 416, platform::kBlack);
    const int floorX[] = {0, 64, 192};
    for (int j = 0; j < 32; ++j) {
      for (int i = 0; i < 64; ++i) {
        const bool in = inSyntheticDiamond(i, j);
        s.setPixel(i, 32 + j, in ? platform::kBlack : platform::kWhite);
        for (int a = 0; a < 3; ++a)
          if (in) s.setPixel(floorX[a] + i, j, areaColour(a, i, j));
      }
    }
    for (int k = 0; k < 4; ++k) {
      const PieceArea& pa = kPieces[k];
      for (int p = 0; p < 3; ++p) {
        const int area = 3 + 3 * k + p;
        for (int j = 0; j < pa.h; ++j) {
          for (int i = 0; i < pa.w; ++i) {
            const bool opaque = j >= 2 + 3 * p && i >= 1 + p && i < pa.w - 1;
            s.setPixel(pa.w * p + i, pa.maskY + j, opaque ? platform::kBlack : platform::kWhite);
            if (opaque) s.setPixel(pa.w * p + i, pa.y + j, areaColour(area, i, j));
          }
        }
      }
    }
    return s;
  }();
  return sheet;
}

Surface patternSurface() {
  Surface s(game::kPicWidth, game::kPicHeight);
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      s.setPixel(x, y, {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3), 90});
  return s;
}

bool isBlack(Rgb c) {
  return c == platform::kBlack;
}

std::string str(Rgb c) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "(%d, %d, %d)", c.r, c.g, c.b);
  return buf;
}

FieldRig::FieldRig(const Surface& s)
    : host("/nonexistent", testing_support::gameFont(), testing_support::pictureReader()),
      g(host, s),
      before(patternSurface()),
      sheet(s) {
  g.Pic.image = before;
  g.Pic.background = Surface(game::kPicWidth, game::kPicHeight, {3, 3, 3});
  fill(common::kEmpty);
}

void FieldRig::fill(uint8_t code) {
  for (int y = 0; y <= 9; ++y)
    for (int x = 0; x <= 9; ++x) put(x, y, code);
}

void FieldRig::put(int x, int y, uint8_t code, uint8_t rank) {
  g.playField[x][y] = code;
  g.turnRank[x][y] = rank;
}

void FieldRig::startTurns() {
  for (auto& column : g.turnRank)
    for (auto& r : column) r = 0;
  g.numberPieces();
  g.turnPass();
}

int floorMismatches(const game::Game& g, const Surface& before, int originX, int originY,
                    std::string* first) {
  const Surface& sheet = g.render.chr;
  const Surface& pic = g.Pic.image;
  // Which sheet pixel each Pic pixel must show; -1 for the untouched surface.
  std::vector<int> shown(static_cast<size_t>(pic.width()) * pic.height(), -1);
  for (int y = 0; y <= 9; ++y) {
    for (int x = 0; x <= 9; ++x) {
      const uint8_t code = g.playField[x][y];
      if (code > 2) continue;
      const int tileX = code == 0 ? 0 : code == 1 ? 64 : 192;
      const int left = originX + 32 * (x - y), top = originY + 16 * (x + y);
      for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 64; ++i) {
          if (!pic.contains(left + i, top + j) || !isBlack(sheet.pixel(i, 32 + j))) continue;
          shown[static_cast<size_t>(top + j) * pic.width() + left + i] = (tileX + i) * 1000 + j;
        }
      }
    }
  }
  int wrong = 0;
  for (int py = 0; py < pic.height(); ++py) {
    for (int px = 0; px < pic.width(); ++px) {
      const int s = shown[static_cast<size_t>(py) * pic.width() + px];
      const Rgb want = s < 0 ? before.pixel(px, py) : sheet.pixel(s / 1000, s % 1000);
      if (pic.pixel(px, py) == want) continue;
      if (wrong++ == 0 && first)
        *first = "pixel (" + std::to_string(px) + ", " + std::to_string(py) + ") is " +
                 str(pic.pixel(px, py)) + ", want " + str(want) +
                 (s < 0 ? " (untouched)" : " (tile picture)");
    }
  }
  return wrong;
}

std::vector<std::pair<int, int>> glyphPixels(platform::Font& font, const std::string& text, int x,
                                             int y) {
  constexpr int kMargin = 8;
  Surface s(font.textWidth(text) + 2 * kMargin, 64, platform::kBlack);
  font.drawText(s, text, kMargin, kMargin, platform::kWhite);
  std::vector<std::pair<int, int>> out;
  for (int j = 0; j < s.height(); ++j)
    for (int i = 0; i < s.width(); ++i)
      if (!isBlack(s.pixel(i, j))) out.emplace_back(x + i - kMargin, y + j - kMargin);
  return out;
}

std::string checkLabel(const Surface& pic, platform::Font& font, const std::string& text, int x,
                       int y, Rgb outline, Rgb grey) {
  const auto glyphs = glyphPixels(font, text, x, y);
  if (glyphs.empty()) return "the font draws nothing for '" + text + "'";
  std::set<std::pair<int, int>> inText(glyphs.begin(), glyphs.end()), inOutline;
  for (auto [dx, dy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}})
    for (auto [gx, gy] : glyphs)
      if (!inText.count({gx + dx, gy + dy})) inOutline.insert({gx + dx, gy + dy});
  int x0 = x, y0 = y, x1 = x, y1 = y;
  for (auto [gx, gy] : inOutline) {
    x0 = std::min(x0, gx), y0 = std::min(y0, gy);
    x1 = std::max(x1, gx), y1 = std::max(y1, gy);
  }
  for (int py = y0 - 2; py <= y1 + 2; ++py) {
    for (int px = x0 - 2; px <= x1 + 2; ++px) {
      if (!pic.contains(px, py)) continue;
      const Rgb got = pic.pixel(px, py);
      const bool t = inText.count({px, py}) > 0, o = inOutline.count({px, py}) > 0;
      const Rgb* want = t ? &grey : o ? &outline : nullptr;
      const std::string at = "(" + std::to_string(px) + ", " + std::to_string(py) + ")";
      if (want && got != *want)
        return "label '" + text + "' pixel " + at + " is " + str(got) + ", want " + str(*want);
      if (!want && (got == grey || got == outline))
        return "label '" + text + "' has a stray " + str(got) + " pixel at " + at;
    }
  }
  return {};
}

bool anyPixel(const Surface& pic, int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (pic.contains(i, j) && pic.pixel(i, j) == c) return true;
  return false;
}

}  // namespace render_test
