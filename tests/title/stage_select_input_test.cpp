// Starting stages from the stage-select screen: presses, pending presses, fades and play's return.
#include <gtest/gtest.h>

#include "tests/support/game/stage_select.h"

namespace title_test {
namespace {

using namespace testing_support;
using platform::Rgb;
using platform::Surface;

constexpr int kFirstIdleFrame = 14;

void expectStarted(game::Game& g, int stage) {
  EXPECT_EQ(g.fadeMode, 1);
  EXPECT_EQ(g.fadeStep, 0);
  EXPECT_FALSE(g.leftDown);
  EXPECT_EQ(g.curStage, stage - 1);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(g.playField[x][y], g.stageSet(x, y, stage)) << x << "," << y;
      EXPECT_EQ(g.turnRank[x][y], 0) << x << "," << y;
    }
  }
}

TEST(StageSelectStart, PressOnStageThirtyCopiesItsLayoutAndPlaysTheClick) {
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  // Left over from an earlier stage: must not survive the start.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) r.g.playField[x][y] = 2, r.g.turnRank[x][y] = 9;
  r.runMenu([&](int n) {
    if (n == kFirstIdleFrame) {
      r.host.move(400, 320);
      r.host.key(platform::Key::kRight);  // the list has no keys; play must not get it
    }
    if (n == kFirstIdleFrame + 1) {
      EXPECT_EQ(r.g.hoverStage, 30);
      EXPECT_TRUE(r.g.pendingKeys.empty());
      EXPECT_TRUE(r.host.wavesPlayed.empty()) << "hovering makes no sound";
      r.host.press(1, 400, 320);
    }
    if (n == kFirstIdleFrame + 2) {
      expectStarted(r.g, 30);
      ASSERT_EQ(r.host.wavesPlayed.size(), 1u);
      EXPECT_EQ(r.host.wavesPlayed[0], r.dir.file("CLICK.WAV"));
      throw StopRun{};
    }
  });
}

TEST(StageSelectStart, PressInTheGapUnderTheHighlightBoxStartsTheStage) {
  for (auto [x, y] : {std::pair{194.5f, 115.0f}, {100.0f, 131.0f}}) {
    SCOPED_TRACE(testing::Message() << "press at " << x << ", " << y);
    GameRig r(menuScene());
    fillStagesWithAllCodes(r.g);
    r.runMenu([&](int n) {
      if (n == kFirstIdleFrame) r.host.move(x, y);
      if (n == kFirstIdleFrame + 1) {
        EXPECT_EQ(countInLabel(r.g.Pic.image, 1, kWhiteText), 0);
        r.host.press(1, x, y);
      }
      if (n == kFirstIdleFrame + 2) {
        expectStarted(r.g, 1);
        EXPECT_EQ(r.host.wavesPlayed.size(), 1u);
        throw StopRun{};
      }
    });
  }
}

TEST(StageSelectStart, PressOutsideTheListStaysPendingWhileTheButtonIsHeld) {
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  r.runMenu([&](int n) {
    const int i = n - kFirstIdleFrame;
    if (i == 0) {
      r.host.move(490, 200);  // on the right boundary: no stage
      r.host.press(1, 490, 200);
    }
    if (i >= 1 && i <= 5) {
      EXPECT_EQ(r.g.fadeMode, 0);
      EXPECT_TRUE(r.g.leftDown) << "a press no screen takes is not consumed";
      EXPECT_TRUE(r.host.wavesPlayed.empty());
    }
    if (i == 5) r.host.move(100, 200);  // stage 4, button still held
    if (i == 6) {
      expectStarted(r.g, 4);
      EXPECT_EQ(r.host.wavesPlayed.size(), 1u);
      throw StopRun{};
    }
  });
}

TEST(StageSelectStart, PressOutsideTheListThenReleasedStartsNothing) {
  GameRig r(menuScene());
  r.runMenu([&](int n) {
    const int i = n - kFirstIdleFrame;
    if (i == 0) r.host.press(1, 300, 60);
    if (i == 2) r.host.release(1);
    if (i == 3) r.host.move(100, 200);
    if (i >= 4) {
      EXPECT_EQ(r.g.hoverStage, 4);
      EXPECT_EQ(r.g.fadeMode, 0);
      EXPECT_TRUE(r.host.wavesPlayed.empty());
    }
    if (i == 8) throw StopRun{};
  });
}

TEST(StageSelectStart, PressHeldThroughTheFadeInStartsInTheFrameThatEndsIt) {
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  r.runMenu([&](int n) {
    if (n == 2) {
      r.host.move(100, 140);  // stage 2
      r.host.press(1, 100, 140);
    }
    if (n >= 3 && n < 13) {
      EXPECT_EQ(r.g.fadeMode, 2) << n;
      EXPECT_TRUE(r.g.leftDown);
    }
    if (n == 13) {
      expectStarted(r.g, 2);
      throw StopRun{};
    }
  });
}

TEST(StageSelectStart, PressReleasedDuringTheFadeInIsLost) {
  GameRig r(menuScene());
  r.runMenu([&](int n) {
    if (n == 2) {
      r.host.move(100, 140);
      r.host.press(1, 100, 140);
    }
    if (n == 6) r.host.release(1);
    if (n >= 13) {
      EXPECT_EQ(r.g.fadeMode, 0);
      EXPECT_TRUE(r.host.wavesPlayed.empty());
    }
    if (n == 18) throw StopRun{};
  });
}

// A press released within the same wait (a tap) starts the stage under it as a held press
// does; during the fade-in the frame that sees it does not act, and it is gone.
TEST(StageSelectStart, QuickClickStartsTheStageAndDuringAFadeNothing) {
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  r.runMenu([&](int n) {
    if (n == 3) {
      r.host.move(100, 140);  // stage 2
      r.host.press(1, 100, 140);
      r.host.release(1);
    }
    if (n == 5) {
      EXPECT_FALSE(r.g.leftDown) << "the tap in the fade-in outlived its frame";
    }
    if (n == kFirstIdleFrame + 1) {
      EXPECT_EQ(r.g.fadeMode, 0);
      EXPECT_TRUE(r.host.wavesPlayed.empty());
      r.host.move(300, 140);  // stage 12
      r.host.press(1, 300, 140);
      r.host.release(1);
    }
    if (n == kFirstIdleFrame + 2) {
      expectStarted(r.g, 12);
      EXPECT_EQ(r.host.wavesPlayed.size(), 1u);
      throw StopRun{};
    }
  });
}

// The arrows move the highlight as the pointer would, from the first stage while the
// pointer shows none: down and up a column, left and right across the three, never out of
// the list, with the preview; a move of the pointer hands the list back to it, and Enter
// starts only a stage the keys highlight. Keys act at the end of the frame after the one
// they came in, so each step shows two frames on, and a start one frame on.
TEST(StageSelectKeys, ArrowsMoveTheHighlightAndEnterStartsIt) {
  using platform::Key;
  GameRig r(menuScene());
  fillStagesWithAllCodes(r.g);
  const struct {
    std::vector<Key> keys;
    bool pointer;  // the pointer moves over stage 2 first, which lights it
    int highlighted;
  } steps[] = {{{Key::kDown}, false, 1},
               {{Key::kUp, Key::kDown, Key::kDown}, false, 3},
               {{Key::kRight, Key::kRight, Key::kRight}, false, 23},
               {{Key::kLeft, Key::kDown}, false, 14},
               {{Key::kEnter}, true, 2},
               {{Key::kDown}, false, 3}};
  r.host.move(5, 5);
  r.runMenu([&](int n) {
    const int i = (n - kFirstIdleFrame) / 2, odd = (n - kFirstIdleFrame) % 2;
    const int count = static_cast<int>(std::size(steps));
    if (n < kFirstIdleFrame) return;
    if (odd) {
      if (i < count) return;
      expectStarted(r.g, 3);  // the Enter after the last step
      EXPECT_EQ(r.host.wavesPlayed.size(), 1u);
      throw StopRun{};
    }
    if (i > 0) {
      const int want = steps[i - 1].highlighted;
      EXPECT_EQ(r.g.hoverStage, want) << "after step " << i;
      EXPECT_EQ(r.g.fadeMode, 0) << "after step " << i;
      for (int stage = 1; stage <= 30; ++stage)
        EXPECT_EQ(countInLabel(r.g.Pic.image, stage, kWhiteText) > 0, stage == want)
            << "after step " << i << ", stage " << stage;
    }
    if (i == count) {
      EXPECT_TRUE(r.host.wavesPlayed.empty());
      r.host.key(Key::kEnter);
      return;
    }
    if (steps[i].pointer) r.host.move(60, 140);
    for (Key k : steps[i].keys) r.host.key(k);
  });
}

// A stage that stays in play until given up: a walker beside unpainted floor, and
// nobody clicks the field.
void makePlayableStage(game::Game& g, int s) {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) g.stageSet(x, y, s) = common::kEmpty;
  g.stageSet(4, 4, s) = common::kWalker;
  g.stageSet(5, 4, s) = common::kUnpainted;
}

TEST(StageSelectStart, AfterPlayReturnsTheStartCheckUsesTheStageFromBeforePlay) {
  GameRig r(menuScene());
  makePlayableStage(r.g, 3);
  enum class Step { Menu, FadingToPlay, Playing, GaveUp, Returned } step = Step::Menu;
  int lastWavePhase = -1;
  int framesAfterReturn = -1;
  r.frameLimit = 400;
  r.runMenu([&](int n) {
    const bool menuFrame = r.g.titleWavePhase != lastWavePhase;
    lastWavePhase = r.g.titleWavePhase;
    switch (step) {
      case Step::Menu:
        if (n == kFirstIdleFrame) r.host.move(100, 160);  // stage 3
        if (n == kFirstIdleFrame + 1) r.host.press(1, 100, 160);
        if (n == kFirstIdleFrame + 2) {
          expectStarted(r.g, 3);
          r.host.release(1);
          step = Step::FadingToPlay;
        }
        break;
      case Step::FadingToPlay:
        if (!menuFrame) step = Step::Playing;  // the pointer stayed on stage 3
        break;
      case Step::Playing:
        ASSERT_FALSE(menuFrame);
        if (r.g.fadeMode == 0) {
          r.host.move(10, 10);  // the give-up button, away from the list
          r.host.press(1, 10, 10);
          step = Step::GaveUp;
        }
        break;
      case Step::GaveUp:
        if (r.g.fadeMode == 1 && r.g.fadeStep == 1) r.host.release(1);
        if (r.g.fadeMode == 1 && r.g.fadeStep == 5) r.host.press(1, 10, 10);  // held on
        if (r.g.fadeMode == 2) {
          ADD_FAILURE() << "play returned without starting stage 3 again";
          throw StopRun{};
        }
        if (r.g.fadeMode == 1 && r.g.fadeStep == 0 && r.host.wavesPlayed.size() > 2) {
          // The frame right after play returned: still play's last picture.
          EXPECT_FALSE(menuFrame);
          expectStarted(r.g, 3);
          EXPECT_EQ(r.host.wavesPlayed.size(), 3u);  // start, give up, start again
          step = Step::Returned;
          framesAfterReturn = 0;
        }
        break;
      case Step::Returned:
        // The pointer is off the list now: the fresh frames compute no stage.
        EXPECT_EQ(r.g.hoverStage, 0);
        if (++framesAfterReturn == 3) throw StopRun{};
        break;
    }
  });
  EXPECT_EQ(step, Step::Returned);
}

// Enter starts the stage the keys highlight, and keys pressed in the list's fade-out are
// dropped before play's first frame: an Escape there no longer gives the stage up.
TEST(StageSelectKeys, EnterStartsAndKeysOfTheFadeOutNeverReachPlay) {
  using platform::Key;
  GameRig r(menuScene());
  makePlayableStage(r.g, 3);
  bool playing = false;
  r.runMenu([&](int n) {
    if (n == kFirstIdleFrame) {
      r.host.move(5, 5);
      r.host.key(Key::kDown);
      r.host.key(Key::kDown);
      r.host.key(Key::kDown);
    }
    if (n == kFirstIdleFrame + 1) r.host.key(Key::kSpace);
    if (n == kFirstIdleFrame + 2) {
      expectStarted(r.g, 3);
      r.host.key(Key::kEscape);  // in the fade-out
    }
    if (!playing && r.frames.back().kind == Kind::Play && r.g.fadeMode == 0) playing = true;
    if (playing && n >= kFirstIdleFrame + 2 + 23 + 13 + 5) {
      EXPECT_EQ(r.g.fadeMode, 0) << "the stage was given up";
      EXPECT_EQ(r.g.curStage, 2);
      EXPECT_TRUE(r.g.pendingKeys.empty());
      throw StopRun{};
    }
  });
  EXPECT_TRUE(playing);
}

}  // namespace
}  // namespace title_test
