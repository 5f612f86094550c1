// The stage-select screen's labels worked out apart from the game, and its scene.
#include "tests/support/game/stage_select.h"

#include <algorithm>
#include <array>
#include <optional>

namespace testing_support {

using platform::Rgb;
using platform::Surface;

RigOptions menuScene(const SheetOptions& sheet) {
  return {.sheet = &codedSheet(sheet), .shippedFiles = false, .background = kBackground};
}

void fillStagesWithAllCodes(game::Game& g) {
  for (int s = 1; s <= 30; ++s)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) g.stageSet(x, y, s) = static_cast<uint8_t>((x + 3 * y + s) % 10);
}

int labelX(int stage) {
  return 20 + 175 * ((stage - 1) / 10);
}
int labelY(int stage) {
  return 110 + 23 * ((stage - 1) % 10);
}
std::string labelText(int stage) {
  return "S T A G E  " + std::to_string(stage);
}

void drawReferenceLabel(Surface& s, int stage, Rgb outline, Rgb text) {
  platform::Font& font = gameFont();
  const int x = labelX(stage), y = labelY(stage);
  const std::string t = labelText(stage);
  for (const auto& [dx, dy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}})
    font.drawText(s, t, x + dx, y + dy, outline);
  font.drawText(s, t, x, y, text);
}

Box labelBox(int stage) {
  static std::array<std::optional<Box>, 31> known;
  if (known[stage]) return *known[stage];
  Surface s(game::kPicWidth, game::kPicHeight, platform::kBlack);
  drawReferenceLabel(s, stage, kWhiteText, kWhiteText);
  int x0 = game::kPicWidth, y0 = game::kPicHeight, x1 = -1, y1 = -1;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.pixel(x, y) == kWhiteText) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
  known[stage] = Box{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
  return *known[stage];
}

int countInLabel(const Surface& s, int stage, Rgb c) {
  const Box b = labelBox(stage);
  return countColour(s, b.x, b.y, b.w, b.h, c);
}

int previewMismatches(const Surface& pic, const Surface& sheet, const common::StageSet& stages,
                      int stage) {
  int wrong = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const int c = stages(x, y, stage);
      if (c == common::kEmpty) continue;
      wrong += differences(crop(pic, 380 + 8 * x, 20 + 8 * y, 8, 8),
                           crop(sheet, 224 + 8 * c, 248, 8, 8));
    }
  return wrong;
}

}  // namespace testing_support
