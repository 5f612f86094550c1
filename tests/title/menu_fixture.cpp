// The stage-select screen on the scripted host, frame by frame, over a chosen sprite sheet.
#include "tests/title/menu_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>

#include "tests/support/frame_hook.h"

namespace title_test {

Rgb headingColour(int frame) {
  return {static_cast<uint8_t>(0x10 << frame), 0x01, static_cast<uint8_t>(0x80 >> frame)};
}

Rgb previewColour(int code) {
  return {static_cast<uint8_t>(200 + 5 * code), static_cast<uint8_t>(11 * code + 3), 77};
}

Surface syntheticSheet(const SheetOptions& options) {
  Surface s(320, 416, platform::kBlack);
  if (options.wave) {
    platform::fillRect(s, 0, 0, 64, 32, kWaveColour);        // picture
    platform::fillRect(s, 0, 32, 64, 32, platform::kBlack);  // mask: all replaced
  } else {
    platform::fillRect(s, 0, 32, 64, 32, platform::kWhite);  // mask: nothing replaced
  }
  if (options.heading) {
    for (int k = 0; k <= 2; ++k) platform::fillRect(s, 64, 256 + 32 * k, 256, 32, headingColour(k));
  }
  if (options.preview) {
    for (int c = 0; c <= 9; ++c) platform::fillRect(s, 224 + 8 * c, 248, 8, 8, previewColour(c));
  }
  return s;
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
  platform::Font& font = testing_support::gameFont();
  const int x = labelX(stage), y = labelY(stage);
  const std::string t = labelText(stage);
  for (const auto& [dx, dy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}})
    font.drawText(s, t, x + dx, y + dy, outline);
  font.drawText(s, t, x, y, text);
}

MenuRun::MenuRun(const SheetOptions& options)
    : dir("brackle menu"),
      host(dir.path(), testing_support::gameFont(), testing_support::pictureReader()),
      sheet(syntheticSheet(options)),
      g(host, sheet) {
  host.showWindow(g.Pic.image, g);
  g.Pic.setBackground(Surface(game::kPicWidth, game::kPicHeight, kBackground));
}

void watchFrames(platform::ScriptedHost& host, game::Game& g,
                 std::function<void(FrameView&)> onFrame, int& frames, int maxFrames) {
  frames = 0;
  host.onDeliver = testing_support::onEachFrame(
      g, [&g, &frames, maxFrames, onFrame = std::move(onFrame)](platform::ScriptedHost& h, int n) {
        frames = n;
        if (frames > maxFrames) {
          ADD_FAILURE() << "still running after " << maxFrames << " frames";
          throw StopRun{};
        }
        FrameView v{frames, g, h};
        onFrame(v);
      });
}

int MenuRun::run(const std::function<void(FrameView&)>& onFrame, int maxFrames) {
  int frames = 0;
  watchFrames(host, g, onFrame, frames, maxFrames);
  try {
    g.select.menu();
  } catch (const StopRun&) {
  } catch (const platform::ProcessEnded&) {
  }
  host.onDeliver = nullptr;
  return frames;
}

void MenuRun::fillStagesWithAllCodes() {
  for (int s = 1; s <= 30; ++s)
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) g.stageSet(x, y, s) = static_cast<uint8_t>((x + 3 * y + s) % 10);
}

int countColour(const Surface& s, int x, int y, int w, int h, Rgb c) {
  int n = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (s.contains(i, j) && s.pixel(i, j) == c) ++n;
  return n;
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

}  // namespace title_test
