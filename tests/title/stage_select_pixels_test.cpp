// What the stage-select screen draws: labels and their colours, highlight, preview, wave, heading.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "tests/support/game/stage_select.h"

namespace title_test {
namespace {

using namespace testing_support;
using platform::Rgb;
using platform::Surface;

constexpr int kFirstIdleFrame = 14;  // 13 fade-in frames, then the screen shows unmasked
constexpr int kPreviewX = 380, kPreviewY = 20, kPreviewSize = 80;

// The background with the 30 labels drawn in list order; `hovered` (0: none) gets the
// white-on-blue label over its own.
Surface referenceLabels(const bool (&cleared)[31], int hovered) {
  Surface s(game::kPicWidth, game::kPicHeight, kBackground);
  for (int n = 1; n <= 30; ++n) {
    drawReferenceLabel(s, n, cleared[n - 1] ? kPurpleOutline : kBlueOutline, kGreyText);
    if (n == hovered) drawReferenceLabel(s, n, kBlueOutline, kWhiteText);
  }
  return s;
}

bool inPreview(int x, int y) {
  return x >= kPreviewX && x < kPreviewX + kPreviewSize && y >= kPreviewY &&
         y < kPreviewY + kPreviewSize;
}

// The pixels of the preview box that come from the sheet's preview cells.
int previewPixels(const Surface& s) {
  return countWhere(s, {kPreviewX, kPreviewY, kPreviewSize, kPreviewSize},
                    [](Rgb c) { return isCodedFrom(c, 224, 248, 80, 8); });
}

TEST(StageSelectLabels, ThreeColumnsOfTenWithTheClearedOnesInPurple) {
  GameRig r(menuScene());
  bool cleared[31] = {};
  for (int i : {0, 16, 29, 30}) r.g.clearFlag[i] = cleared[i] = true;
  const Surface expected = referenceLabels(cleared, 0);
  // A reference that ignored the flags would not tell the colours apart.
  ASSERT_NE(expected, referenceLabels({}, 0));
  r.runMenu([&](int n) {
    if (n < kFirstIdleFrame) return;
    std::string where;
    EXPECT_EQ(differences(r.g.Pic.image, expected, &where), 0) << where;
    EXPECT_GT(countInLabel(r.g.Pic.image, 1, kPurpleOutline), 40);
    EXPECT_EQ(countInLabel(r.g.Pic.image, 2, kPurpleOutline), 0);
    EXPECT_GT(countInLabel(r.g.Pic.image, 2, kBlueOutline), 40);
    EXPECT_EQ(countInLabel(r.g.Pic.image, 30, kBlueOutline), 0);
    throw StopRun{};
  });
}

TEST(StageSelectLabels, LabelsAreDistinctTextsWithTwoBlanksBeforeTheNumber) {
  // The reference texts themselves: a label drawn with one blank shows elsewhere.
  platform::Font& font = testing_support::gameFont();
  EXPECT_EQ(labelText(30), "S T A G E  30");
  EXPECT_NE(font.textWidth("S T A G E  1"), font.textWidth("S T A G E 1"));
  // Stage 10 sits in the first column's last row, stage 11 heads the second column.
  EXPECT_EQ(labelX(10), 20);
  EXPECT_EQ(labelY(10), 110 + 23 * 9);
  EXPECT_EQ(labelX(11), 195);
  EXPECT_EQ(labelY(11), 110);
}

TEST(StageSelectLabels, HoveredLabelIsWhiteOnBlueAlsoOverACleared) {
  GameRig r(menuScene());
  bool cleared[31] = {};
  r.g.clearFlag[0] = cleared[0] = true;
  // The list with stage n highlighted, the preview left out.
  const auto expectHighlighted = [&](int stage) {
    ASSERT_EQ(r.g.hoverStage, stage);
    std::string where;
    EXPECT_EQ(differences(r.g.Pic.image, referenceLabels(cleared, stage), &where, inPreview), 0)
        << where;
  };
  r.runMenu([&](int n) {
    if (n == kFirstIdleFrame) r.host.move(100, 120);  // stage 1
    if (n == kFirstIdleFrame + 1) {
      expectHighlighted(1);
      // The highlight covers the purple outline and the grey text completely.
      EXPECT_EQ(countInLabel(r.g.Pic.image, 1, kPurpleOutline), 0);
      EXPECT_EQ(countInLabel(r.g.Pic.image, 1, kGreyText), 0);
      EXPECT_GT(countInLabel(r.g.Pic.image, 1, kWhiteText), 40);
      EXPECT_GT(countInLabel(r.g.Pic.image, 1, kBlueOutline), 40);
      r.host.move(250, 140);  // stage 12, not cleared
    }
    if (n == kFirstIdleFrame + 2) {
      expectHighlighted(12);
      EXPECT_GT(countInLabel(r.g.Pic.image, 1, kPurpleOutline), 40);
      throw StopRun{};
    }
  });
}

struct PointerCase {
  float x, y;
  int hoverStage;
  bool highlighted;
};

TEST(StageSelectPointer, ListCellsBoundariesAndTheSmallerHighlightBox) {
  const std::vector<PointerCase> cases = {
      {20, 200, 0, false},     {490, 200, 0, false},     {100, 110, 0, false},
      {100, 337, 0, false},    {20.5f, 110.5f, 1, true}, {489.5f, 336.5f, 30, true},
      {194.5f, 115, 1, false}, {100, 131, 1, false},     {193.75f, 129.75f, 1, true},
      {195, 115, 11, false},   {195.25f, 115, 11, true}, {100, 133, 2, false},
      {380, 300, 29, true},    {300, 60, 0, false},      {-5, -5, 0, false},
  };
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  size_t next = 0;
  r.runMenu([&](int n) {
    if (n < kFirstIdleFrame) return;
    if (n > kFirstIdleFrame) {
      const PointerCase& c = cases[next - 1];
      SCOPED_TRACE(testing::Message() << "pointer at " << c.x << ", " << c.y);
      EXPECT_EQ(r.g.hoverStage, c.hoverStage);
      std::string where;
      EXPECT_EQ(differences(r.g.Pic.image, referenceLabels({}, c.highlighted ? c.hoverStage : 0),
                            &where, inPreview),
                0)
          << where;
      // The preview shows exactly when a stage is under the pointer.
      EXPECT_EQ(previewPixels(r.g.Pic.image) > 0, c.hoverStage != 0);
    }
    if (next == cases.size()) throw StopRun{};
    r.host.move(cases[next].x, cases[next].y);
    ++next;
  });
  EXPECT_EQ(next, cases.size());
}

TEST(StageSelectPreview, EightPixelCellsFromTheSheetWithHolesForEmptySpace) {
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  const auto checkPreview = [&](const Surface& pic, int stage) {
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        const int c = r.g.stageSet(x, y, stage);
        const Surface want = c == common::kEmpty ? Surface(8, 8, kBackground)
                                                 : crop(r.g.render.chr, 224 + 8 * c, 248, 8, 8);
        EXPECT_EQ(differences(crop(pic, 380 + 8 * x, 20 + 8 * y, 8, 8), want), 0)
            << "stage " << stage << " cell " << x << "," << y << " code " << c;
      }
    }
    // Nothing drawn around the 80 x 80 box.
    for (int i = 0; i < 82; ++i) {
      EXPECT_EQ(pic.pixel(379 + i, 19), kBackground);
      EXPECT_EQ(pic.pixel(379 + i, 100), kBackground);
      EXPECT_EQ(pic.pixel(379, 19 + i), kBackground);
      EXPECT_EQ(pic.pixel(460, 19 + i), kBackground);
    }
  };
  r.runMenu([&](int n) {
    if (n == kFirstIdleFrame) r.host.move(100, 260);  // stage 7
    if (n == kFirstIdleFrame + 1) {
      ASSERT_EQ(r.g.hoverStage, 7);
      checkPreview(r.g.Pic.image, 7);
      r.host.move(400, 160);  // stage 23
    }
    if (n == kFirstIdleFrame + 2) {
      ASSERT_EQ(r.g.hoverStage, 23);
      checkPreview(r.g.Pic.image, 23);
      throw StopRun{};
    }
  });
  // The pattern holds every code, so holes and the picture-less codes were both seen.
  int codes[10] = {};
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ++codes[r.g.stageSet(x, y, 7)];
  for (int c = 0; c <= 9; ++c) EXPECT_GT(codes[c], 0) << c;
}

TEST(StageSelectFades, NoPreviewAndNoHighlightWhileFadingInOrOut) {
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  r.g.mouseX = 100;  // over stage 1 from the first frame
  r.g.mouseY = 120;
  r.runMenu([&](int n) {
    const Surface& pic = r.g.Pic.image;
    const int white = countInLabel(pic, 1, kWhiteText);
    if (n <= 13) {
      EXPECT_EQ(r.g.fadeMode, n < 13 ? 2 : 0) << n;
      EXPECT_EQ(previewPixels(pic), 0) << "fade-in frame " << n;
      EXPECT_EQ(white, 0) << "fade-in frame " << n;
      // Some of the preview box shows through the mask, so its absence is visible.
      if (n >= 4) {
        EXPECT_GT(countColour(pic, kPreviewX, kPreviewY, kPreviewSize, kPreviewSize, kBackground),
                  0);
      }
    } else if (n == 14) {
      EXPECT_EQ(previewPixels(pic), 8 * 8 * 90);  // 10 of the 100 cells are holes
      EXPECT_GT(white, 40);
      r.host.press(1, 100, 120);
    } else if (n == 15) {
      // The frame that took the press was still drawn idle; the fade-out starts after it.
      EXPECT_EQ(r.g.fadeMode, 1);
      EXPECT_GT(previewPixels(pic), 0);
      r.host.release(1);
    } else {
      EXPECT_EQ(r.g.fadeMode, 1);
      EXPECT_EQ(r.g.fadeStep, n - 15);
      EXPECT_EQ(previewPixels(pic), 0) << "fade-out frame " << n;
      EXPECT_EQ(white, 0) << "fade-out frame " << n;
      EXPECT_GT(countColour(pic, kPreviewX, kPreviewY, kPreviewSize, kPreviewSize, kBackground), 0);
      if (r.g.fadeStep == 22) throw StopRun{};
    }
  });
}

// The 30 tiles of the wave for the phase a frame was drawn with, copied whole from the
// sheet's grass tile in the game's order.
Surface referenceWave(const Surface& sheet, int phase) {
  Surface s(game::kPicWidth, game::kPicHeight, kBackground);
  for (int i = 0; i <= 2; ++i) {
    for (int j = 0; j <= 4; ++j) {
      const double v = (phase + i + 7 - j) / 3.0;
      const int y = static_cast<int>(std::nearbyint(100 + 20 * i + 16 * j - 50 * std::tan(v)));
      platform::bitBlt(s, 310 + 32 * i - 96 * j, y, 64, 32, sheet, 0, 0, platform::Rop::SrcCopy);
    }
  }
  return s;
}

TEST(StageSelectWave, TilesFollowThePhaseWhichRunsOneToEighteenThenZero) {
  GameRig r(menuScene({.wave = true, .heading = false}));
  const Surface labels = referenceLabels({}, 0);
  int drawnPhase = 0;  // the phase the current frame was drawn with
  std::vector<int> phases;
  r.runMenu([&](int n) {
    phases.push_back(r.g.titleWavePhase);
    if (n >= kFirstIdleFrame) {
      SCOPED_TRACE(testing::Message() << "phase " << drawnPhase);
      const Surface wave = referenceWave(r.g.render.chr, drawnPhase);
      // The labels cover the wave.
      EXPECT_EQ(differences(r.g.Pic.image, wave, nullptr,
                            [&](int x, int y) { return labels.pixel(x, y) != kBackground; }),
                0);
      // Tiles are on screen in every phase.
      EXPECT_GT(countWhere(wave, {0, 0, game::kPicWidth, game::kPicHeight},
                           [](Rgb c) { return isCodedFrom(c, 0, 0, 64, 32); }),
                5000);
    }
    drawnPhase = r.g.titleWavePhase;
    if (n == kFirstIdleFrame + 40) throw StopRun{};
  });
  ASSERT_EQ(phases.size(), static_cast<size_t>(kFirstIdleFrame + 40));
  for (size_t i = 0; i < phases.size(); ++i) EXPECT_EQ(phases[i], static_cast<int>((i + 1) % 19));
}

TEST(StageSelectHeading, ShowsTheFrameOfTheAnimationPhaseOverTheBackground) {
  GameRig r(menuScene({.wave = false, .heading = true}));
  int drawnPhase = r.g.animPhase;
  bool seen[3] = {};
  r.runMenu([&](int n) {
    if (n >= kFirstIdleFrame) {
      // The frame of the phase, ORed over the background.
      Surface want(256, 32, kBackground);
      platform::bitBlt(want, 0, 0, 256, 32, r.g.render.chr, 64, 256 + 32 * drawnPhase,
                       platform::Rop::SrcPaint);
      EXPECT_EQ(differences(crop(r.g.Pic.image, 20, 40, 256, 32), want), 0) << drawnPhase;
      for (auto [x, y] : {std::pair{19, 50}, {276, 50}, {100, 39}, {100, 72}})
        EXPECT_EQ(r.g.Pic.image.pixel(x, y), kBackground) << x << "," << y;
      seen[drawnPhase] = true;
    }
    drawnPhase = r.g.animPhase;
    if (n == kFirstIdleFrame + 4) throw StopRun{};
  });
  EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

}  // namespace
}  // namespace title_test
