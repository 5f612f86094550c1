// The whole game on the scripted host driven by the pointer alone, through to the saved record.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/stage_file.h"
#include "tests/support/file_text.h"
#include "tests/support/game/stage_select.h"

namespace title_test {
namespace {

using namespace testing_support;
using platform::Surface;

enum class Screen { Title, Menu, Play };

const char* name(Screen s) {
  return s == Screen::Title ? "title" : s == Screen::Menu ? "menu" : "play";
}

// A run of frames on one screen with one fade mode.
struct ScreenRun {
  Screen screen;
  int fadeMode;
  int frames;  // -1 in an expectation: any number
};

// Pixels white in `before` and black in `after`: a fade-in only ever adds white.
int whiteTurnedBlack(const Surface& before, const Surface& after) {
  int n = 0;
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x)
      if (before.pixel(x, y) == platform::kWhite && after.pixel(x, y) == platform::kBlack) ++n;
  return n;
}

// The preview of `stage` as copies of the sheet's 8 x 8 cells; holes are not checked
// here, the wave may fly through them.
void expectPreviewFromSheet(const game::Game& g, int stage) {
  EXPECT_EQ(previewMismatches(g.Pic.image, g.render.chr, g.stageSet, stage), 0)
      << "preview of stage " << stage;
}

void expectStarted(const game::Game& g, int stage) {
  EXPECT_EQ(g.fadeMode, 1);
  EXPECT_EQ(g.curStage, stage - 1);
  int wrong = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (g.playField[x][y] != g.stageSet(x, y, stage) || g.turnRank[x][y] != 0) ++wrong;
  EXPECT_EQ(wrong, 0) << "play field of stage " << stage;
}

TEST(WholeGame, PointerAloneFromTheTitleThroughTwoStagesToTheSavedRecord) {
  GameRig r;
  // Stage 5 of the copied stage file becomes one move from clear: the walker steps
  // down-right onto the only unpainted cell.
  common::StageSet stages;
  common::loadStageFile(stages, r.dir.file("stage.stg"));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) stages(x, y, 5) = common::kEmpty;
  stages(3, 4, 5) = common::kPainted;
  stages(4, 4, 5) = common::kWalker;
  stages(5, 4, 5) = common::kUnpainted;
  stages(6, 4, 5) = common::kBlock;
  common::saveStageFile(stages, r.dir.file("stage.stg"));
  // Nothing cleared yet; the spare flag after the 30 stages is set and must survive.
  std::string record;
  for (int i = 0; i < 30; ++i) record += "False\r\n";
  record += "True\r\n";
  testing_support::writeFile(r.dir.file("clear.sav"), record);

  enum class Step {
    Title,
    TitleFade,
    MenuFadeIn,
    PickStage30,
    FadeToStage30,
    PlayStage30,
    GiveUp,
    MenuAfterGiveUp,
    PickStage5,
    PlayStage5,
    Cleared,
    MenuAfterClear,
    Done
  } step = Step::Title;
  std::vector<ScreenRun> runs;
  int lastWavePhase = 0;
  bool menuSeen = false;
  int stepFrames = 0;  // frames since the step began
  Surface mask;        // the fade mask kept from an earlier frame
  const Surface back = r.picture("back.jpg");
  const auto go = [&](Step s) {
    step = s;
    stepFrames = 0;
  };

  r.frameLimit = 1500;
  r.onFrame = [&](int n) {
    game::Game& g = r.g;
    platform::ScriptedHost& h = r.host;
    // The stage-select frames move the wave; play and the title leave it alone. Play's
    // first frame follows the select screen's last fade-out step without a wait, so
    // it is the one frame that sees the wave moved and a fade-in follow a fade-out.
    Screen screen = Screen::Play;
    const bool playStarted = !runs.empty() && runs.back().screen == Screen::Menu &&
                             runs.back().fadeMode == 1 && g.fadeMode == 2;
    if (g.titleWavePhase != lastWavePhase && !playStarted) {
      screen = Screen::Menu;
      menuSeen = true;
    } else if (!menuSeen) {
      screen = Screen::Title;
    }
    lastWavePhase = g.titleWavePhase;
    if (runs.empty() || runs.back().screen != screen || runs.back().fadeMode != g.fadeMode)
      runs.push_back({screen, g.fadeMode, 0});
    ++runs.back().frames;
    ++stepFrames;
    SCOPED_TRACE(testing::Message() << "frame " << n << " on the " << name(screen));

    switch (step) {
      case Step::Title:
        if (n == 3) {
          h.move(250, 175);
          h.press(1, 250, 175);
        }
        if (n == 4) {
          EXPECT_EQ(g.fadeMode, 1);
          EXPECT_EQ(h.wavesPlayed.size(), 1u);
          h.release(1);
          go(Step::TitleFade);
        }
        break;

      case Step::TitleFade:
        if (screen == Screen::Title) {
          EXPECT_EQ(g.fadeStep, stepFrames);
          mask = g.back.image;
          break;
        }
        // The 23rd fade-out step and the first stage-select frame share one frame.
        EXPECT_EQ(stepFrames, 23);
        EXPECT_EQ(g.Pic.background, back);
        EXPECT_EQ(g.fadeMode, 2);
        EXPECT_EQ(g.fadeStep, 1);
        // The stage select fades in from black, not from the title's mask.
        EXPECT_GT(whiteTurnedBlack(mask, g.back.image), 1000);
        go(Step::MenuFadeIn);
        stepFrames = 1;
        break;

      case Step::MenuFadeIn:
        ASSERT_EQ(screen, Screen::Menu);
        if (stepFrames < 13) {
          EXPECT_EQ(g.fadeMode, 2);
          EXPECT_EQ(g.fadeStep, stepFrames);
        } else {
          EXPECT_EQ(g.fadeMode, 0);
          EXPECT_EQ(countColour(g.back.image, platform::kWhite),
                    game::kPicWidth * game::kPicHeight);
          h.move(400, 320);  // stage 30
          go(Step::PickStage30);
        }
        break;

      case Step::PickStage30:
        ASSERT_EQ(screen, Screen::Menu);
        EXPECT_EQ(g.hoverStage, 30);
        expectPreviewFromSheet(g, 30);
        h.press(1, 400, 320);
        go(Step::FadeToStage30);
        break;

      case Step::FadeToStage30:
        if (stepFrames == 1) {
          expectStarted(g, 30);
          EXPECT_EQ(h.wavesPlayed.size(), 2u);
          h.release(1);
        }
        if (screen == Screen::Play) {
          EXPECT_EQ(stepFrames, 24);  // the start frame and 23 fade-out frames
          go(Step::PlayStage30);
        }
        break;

      case Step::PlayStage30:
        ASSERT_EQ(screen, Screen::Play);
        if (g.fadeMode == 0) {
          h.move(10, 10);
          h.press(1, 10, 10);  // give up
          go(Step::GiveUp);
        }
        break;

      case Step::GiveUp:
        if (stepFrames == 1) {
          EXPECT_EQ(g.fadeMode, 1);
          EXPECT_EQ(h.wavesPlayed.size(), 3u);
          h.release(1);
        }
        if (g.fadeMode == 1) mask = g.back.image;
        if (g.fadeMode == 2) {
          // Play has returned; this frame still shows its last fade-out picture, and
          // the mask is the one play's fade-out left: nearly black, never refilled.
          EXPECT_EQ(screen, Screen::Play);
          EXPECT_EQ(g.fadeStep, 0);
          EXPECT_EQ(stepFrames, 24);
          EXPECT_GT(countColour(g.back.image, platform::kWhite), 1000);
          EXPECT_LE(countColour(g.back.image, platform::kWhite),
                    countColour(mask, platform::kWhite));
          mask = g.back.image;
          h.move(100, 210);  // stage 5
          go(Step::MenuAfterGiveUp);
        }
        break;

      case Step::MenuAfterGiveUp:
        ASSERT_EQ(screen, Screen::Menu);
        if (stepFrames == 1) {
          // The fade-in starts from the nearly black mask play left behind.
          EXPECT_EQ(whiteTurnedBlack(mask, g.back.image), 0);
          EXPECT_GT(countColour(g.back.image, platform::kWhite),
                    countColour(mask, platform::kWhite));
          EXPECT_LT(countColour(mask, platform::kWhite), game::kPicWidth * game::kPicHeight / 4);
        }
        EXPECT_FALSE(g.clearFlag[29]) << "giving up clears nothing";
        if (g.fadeMode == 0) {
          EXPECT_EQ(stepFrames, 13);
          go(Step::PickStage5);
        }
        break;

      case Step::PickStage5:
        if (stepFrames == 1) {
          EXPECT_EQ(g.hoverStage, 5);
          expectPreviewFromSheet(g, 5);
          h.press(1, 100, 210);
        }
        if (stepFrames == 2) {
          expectStarted(g, 5);
          h.release(1);
        }
        if (screen == Screen::Play) {
          h.move(300, 200);  // right of and below the walker's cell centre (252, 174)
          go(Step::PlayStage5);
        }
        break;

      case Step::PlayStage5:
        ASSERT_EQ(screen, Screen::Play);
        if (g.leftDown) break;
        if (g.fadeMode == 0 && g.aimDX == 1 && g.aimDY == 0 && !g.clearFlag[4]) {
          h.press(1, 300, 200);
          go(Step::Cleared);
        }
        break;

      case Step::Cleared:
        if (stepFrames == 1) h.release(1);
        if (g.fadeMode == 2 && screen == Screen::Play) {
          EXPECT_TRUE(g.clearFlag[4]);
          h.move(300, 60);  // off the list, so no label is highlighted
          go(Step::MenuAfterClear);
        }
        break;

      case Step::MenuAfterClear:
        ASSERT_EQ(screen, Screen::Menu);
        if (g.fadeMode != 0) break;
        // The frame that ends the fade-in is still masked; look at the next one.
        if (runs.back().frames < 2) break;
        {
          Surface one(game::kPicWidth, game::kPicHeight, platform::kBlack);
          drawReferenceLabel(one, 5, kPurpleOutline, kGreyText);
          const int outline = countInLabel(one, 5, kPurpleOutline);
          EXPECT_EQ(countInLabel(g.Pic.image, 5, kPurpleOutline), outline);
          EXPECT_EQ(countInLabel(g.Pic.image, 5, kBlueOutline), 0);
          for (int n : {4, 6, 30}) {
            EXPECT_EQ(countInLabel(g.Pic.image, n, kPurpleOutline), 0) << n;
            EXPECT_GT(countInLabel(g.Pic.image, n, kBlueOutline), 40) << n;
          }
        }
        go(Step::Done);
        h.close();
        break;

      case Step::Done:
        ADD_FAILURE() << "the game went on after the close";
        break;
    }
  };

  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  EXPECT_EQ(step, Step::Done);

  std::string expected;
  for (int i = 0; i < 31; ++i) expected += (i == 4 || i == 30) ? "True\r\n" : "False\r\n";
  EXPECT_EQ(testing_support::readFile(r.dir.file("clear.sav")), expected);

  // The screens and fades in order; -1 where the count depends on the pointer script.
  const std::vector<ScreenRun> want = {
      {Screen::Title, 0, 3}, {Screen::Title, 1, 23}, {Screen::Menu, 2, 12}, {Screen::Menu, 0, 2},
      {Screen::Menu, 1, 23}, {Screen::Play, 2, 12},  {Screen::Play, 0, 1},  {Screen::Play, 1, 23},
      {Screen::Play, 2, 1},  {Screen::Menu, 2, 12},  {Screen::Menu, 0, 2},  {Screen::Menu, 1, 23},
      {Screen::Play, 2, 12}, {Screen::Play, 0, -1},  {Screen::Play, 1, 22}, {Screen::Play, 2, 1},
      {Screen::Menu, 2, 12}, {Screen::Menu, 0, 2},
  };
  std::ostringstream got;
  for (const ScreenRun& run : runs)
    got << " " << name(run.screen) << "/" << run.fadeMode << "x" << run.frames;
  ASSERT_EQ(runs.size(), want.size()) << got.str();
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(runs[i].screen, want[i].screen) << i << got.str();
    EXPECT_EQ(runs[i].fadeMode, want[i].fadeMode) << i << got.str();
    if (want[i].frames >= 0) {
      EXPECT_EQ(runs[i].frames, want[i].frames) << i << got.str();
    }
  }
}

}  // namespace
}  // namespace title_test
