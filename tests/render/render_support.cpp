// What the field renderer tests share: a field to draw on, and the expected looks.
#include "tests/render/render_support.h"

#include <algorithm>
#include <set>

namespace render_test {

using platform::Rgb;
using platform::Surface;
using testing_support::str;

namespace {

Surface patternSurface() {
  Surface s(game::kPicWidth, game::kPicHeight);
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      s.setPixel(x, y, {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3), 90});
  return s;
}

}  // namespace

Field::Field(const Surface& sheet)
    : rig({.sheet = &sheet, .shippedFiles = false, .background = Rgb{3, 3, 3}}),
      g(rig.g),
      before(patternSurface()) {
  g.Pic.image = before;
  fill(common::kEmpty);
}

void Field::fill(uint8_t code) {
  for (int y = 0; y <= 9; ++y)
    for (int x = 0; x <= 9; ++x) put(x, y, code);
}

void Field::put(int x, int y, uint8_t code, uint8_t rank) {
  g.playField[x][y] = code;
  g.turnRank[x][y] = rank;
}

void Field::startTurns() {
  for (auto& column : g.turnRank)
    for (auto& r : column) r = 0;
  g.numberPieces();
  g.turnPass();
}

int floorMismatches(const game::Game& g, const Surface& before, int originX, int originY,
                    std::string* first) {
  const Surface& sheet = g.render.chr;
  Surface want = before;
  for (int y = 0; y <= 9; ++y) {
    for (int x = 0; x <= 9; ++x) {
      const uint8_t code = g.playField[x][y];
      if (code > 2) continue;
      const int tileX = code == 0 ? 0 : code == 1 ? 64 : 192;
      const int left = originX + 32 * (x - y), top = originY + 16 * (x + y);
      for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 64; ++i)
          if (want.contains(left + i, top + j) && sheet.pixel(i, 32 + j) == platform::kBlack)
            want.setPixel(left + i, top + j, sheet.pixel(tileX + i, j));
    }
  }
  return testing_support::differences(g.Pic.image, want, first);
}

std::vector<std::pair<int, int>> glyphPixels(platform::Font& font, const std::string& text, int x,
                                             int y) {
  constexpr int kMargin = 8;
  Surface s(font.textWidth(text) + 2 * kMargin, 64, platform::kBlack);
  font.drawText(s, text, kMargin, kMargin, platform::kWhite);
  std::vector<std::pair<int, int>> out;
  for (int j = 0; j < s.height(); ++j)
    for (int i = 0; i < s.width(); ++i)
      if (s.pixel(i, j) != platform::kBlack) out.emplace_back(x + i - kMargin, y + j - kMargin);
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

}  // namespace render_test
