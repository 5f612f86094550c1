// Starting stages from the stage-select screen: presses, pending presses, fades and play's return.
#include <gtest/gtest.h>

#include "tests/title/menu_fixture.h"

namespace title_test {
namespace {

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
  MenuRun r;
  r.fillStagesWithAllCodes();
  // Left over from an earlier stage: must not survive the start.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) r.g.playField[x][y] = 2, r.g.turnRank[x][y] = 9;
  r.run([&](FrameView& v) {
    if (v.index == kFirstIdleFrame) {
      v.host.move(400, 320);
      v.host.key(platform::Key::kRight);  // the list has no keys; play must not get it
    }
    if (v.index == kFirstIdleFrame + 1) {
      EXPECT_EQ(v.g.hoverStage, 30);
      EXPECT_TRUE(v.g.pendingKeys.empty());
      EXPECT_TRUE(v.host.wavesPlayed.empty()) << "hovering makes no sound";
      v.host.press(1, 400, 320);
    }
    if (v.index == kFirstIdleFrame + 2) {
      expectStarted(v.g, 30);
      ASSERT_EQ(v.host.wavesPlayed.size(), 1u);
      EXPECT_EQ(v.host.wavesPlayed[0], r.dir.file("CLICK.WAV"));
      throw StopRun{};
    }
  });
}

TEST(StageSelectStart, PressInTheGapUnderTheHighlightBoxStartsTheStage) {
  for (auto [x, y] : {std::pair{194.5f, 115.0f}, {100.0f, 131.0f}}) {
    SCOPED_TRACE(testing::Message() << "press at " << x << ", " << y);
    MenuRun r;
    r.fillStagesWithAllCodes();
    r.run([&](FrameView& v) {
      if (v.index == kFirstIdleFrame) v.host.move(x, y);
      if (v.index == kFirstIdleFrame + 1) {
        EXPECT_EQ(countInLabel(v.g.Pic.image, 1, kWhiteText), 0);
        v.host.press(1, x, y);
      }
      if (v.index == kFirstIdleFrame + 2) {
        expectStarted(v.g, 1);
        EXPECT_EQ(v.host.wavesPlayed.size(), 1u);
        throw StopRun{};
      }
    });
  }
}

TEST(StageSelectStart, PressOutsideTheListStaysPendingWhileTheButtonIsHeld) {
  MenuRun r;
  r.fillStagesWithAllCodes();
  r.run([&](FrameView& v) {
    const int i = v.index - kFirstIdleFrame;
    if (i == 0) {
      v.host.move(490, 200);  // on the right boundary: no stage
      v.host.press(1, 490, 200);
    }
    if (i >= 1 && i <= 5) {
      EXPECT_EQ(v.g.fadeMode, 0);
      EXPECT_TRUE(v.g.leftDown) << "a press no screen takes is not consumed";
      EXPECT_TRUE(v.host.wavesPlayed.empty());
    }
    if (i == 5) v.host.move(100, 200);  // stage 4, button still held
    if (i == 6) {
      expectStarted(v.g, 4);
      EXPECT_EQ(v.host.wavesPlayed.size(), 1u);
      throw StopRun{};
    }
  });
}

TEST(StageSelectStart, PressOutsideTheListThenReleasedStartsNothing) {
  MenuRun r;
  r.run([&](FrameView& v) {
    const int i = v.index - kFirstIdleFrame;
    if (i == 0) v.host.press(1, 300, 60);
    if (i == 2) v.host.release(1);
    if (i == 3) v.host.move(100, 200);
    if (i >= 4) {
      EXPECT_EQ(v.g.hoverStage, 4);
      EXPECT_EQ(v.g.fadeMode, 0);
      EXPECT_TRUE(v.host.wavesPlayed.empty());
    }
    if (i == 8) throw StopRun{};
  });
}

TEST(StageSelectStart, PressHeldThroughTheFadeInStartsInTheFrameThatEndsIt) {
  MenuRun r;
  r.fillStagesWithAllCodes();
  r.run([&](FrameView& v) {
    if (v.index == 2) {
      v.host.move(100, 140);  // stage 2
      v.host.press(1, 100, 140);
    }
    if (v.index >= 3 && v.index < 13) {
      EXPECT_EQ(v.g.fadeMode, 2) << v.index;
      EXPECT_TRUE(v.g.leftDown);
    }
    if (v.index == 13) {
      expectStarted(v.g, 2);
      throw StopRun{};
    }
  });
}

TEST(StageSelectStart, PressReleasedDuringTheFadeInIsLost) {
  MenuRun r;
  r.run([&](FrameView& v) {
    if (v.index == 2) {
      v.host.move(100, 140);
      v.host.press(1, 100, 140);
    }
    if (v.index == 6) v.host.release(1);
    if (v.index >= 13) {
      EXPECT_EQ(v.g.fadeMode, 0);
      EXPECT_TRUE(v.host.wavesPlayed.empty());
    }
    if (v.index == 18) throw StopRun{};
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
  MenuRun r;
  makePlayableStage(r.g, 3);
  enum class Step { Menu, FadingToPlay, Playing, GaveUp, Returned } step = Step::Menu;
  int lastWavePhase = -1;
  int framesAfterReturn = -1;
  r.run(
      [&](FrameView& v) {
        const bool menuFrame = v.g.titleWavePhase != lastWavePhase;
        lastWavePhase = v.g.titleWavePhase;
        switch (step) {
          case Step::Menu:
            if (v.index == kFirstIdleFrame) v.host.move(100, 160);  // stage 3
            if (v.index == kFirstIdleFrame + 1) v.host.press(1, 100, 160);
            if (v.index == kFirstIdleFrame + 2) {
              expectStarted(v.g, 3);
              v.host.release(1);
              step = Step::FadingToPlay;
            }
            break;
          case Step::FadingToPlay:
            if (!menuFrame) step = Step::Playing;  // the pointer stayed on stage 3
            break;
          case Step::Playing:
            ASSERT_FALSE(menuFrame);
            if (v.g.fadeMode == 0) {
              v.host.move(10, 10);  // the give-up button, away from the list
              v.host.press(1, 10, 10);
              step = Step::GaveUp;
            }
            break;
          case Step::GaveUp:
            if (v.g.fadeMode == 1 && v.g.fadeStep == 1) v.host.release(1);
            if (v.g.fadeMode == 1 && v.g.fadeStep == 5) v.host.press(1, 10, 10);  // held on
            if (v.g.fadeMode == 2) {
              ADD_FAILURE() << "play returned without starting stage 3 again";
              throw StopRun{};
            }
            if (v.g.fadeMode == 1 && v.g.fadeStep == 0 && v.host.wavesPlayed.size() > 2) {
              // The frame right after play returned: still play's last picture.
              EXPECT_FALSE(menuFrame);
              expectStarted(v.g, 3);
              EXPECT_EQ(v.host.wavesPlayed.size(), 3u);  // start, give up, start again
              step = Step::Returned;
              framesAfterReturn = 0;
            }
            break;
          case Step::Returned:
            // The pointer is off the list now: the fresh frames compute no stage.
            EXPECT_EQ(v.g.hoverStage, 0);
            if (++framesAfterReturn == 3) throw StopRun{};
            break;
        }
      },
      400);
  EXPECT_EQ(step, Step::Returned);
}

}  // namespace
}  // namespace title_test
