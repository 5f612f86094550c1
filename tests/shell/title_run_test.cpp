// The title screen on the scripted host: the picture, the click, the 23-frame fade, closing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/game/game_rig.h"
#include "tests/support/pixels.h"

namespace {

using platform::ScriptedHost;
using platform::Surface;
using testing_support::brightness;
using testing_support::GameRig;
using testing_support::readFile;

// What one frame showed.
struct Shot {
  Surface pic;
  int fadeMode, fadeStep;
  size_t waves;
};

// Holds the left button from `offset` ms into the current frame until the next frame's wait.
void clickDuring(GameRig& r, uint32_t offset) {
  r.host.at(r.g.frameStart + offset, {ScriptedHost::EventType::Down, 1, 250, 175});
  r.host.at(r.g.frameStart + offset + 150, {ScriptedHost::EventType::Up, 1, 250, 175});
}

class TitleClick : public ::testing::TestWithParam<uint32_t> {};

TEST_P(TitleClick, ClickSoundOnceThenTwentyThreeFadeFramesThenTheBackground) {
  GameRig r;
  const Surface title = r.picture("title.jpg");
  const Surface back = r.picture("back.jpg");
  constexpr int kPressFrame = 4, kTaken = kPressFrame + 1, kMenu = kTaken + 23;
  std::vector<Shot> shots(1);  // shots[n] is frame n
  r.onFrame = [&](int n) {
    shots.push_back({*r.host.picture(), r.g.fadeMode, r.g.fadeStep, r.host.wavesPlayed.size()});
    if (n == kPressFrame) clickDuring(r, GetParam());
    if (n == kTaken + 6) clickDuring(r, 20);  // a click during the fade is not taken
    if (n == kMenu + 2) r.host.close();
  };
  ASSERT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  ASSERT_EQ(shots.size(), static_cast<size_t>(kMenu + 3));

  for (int n = 1; n < kTaken; ++n) {
    EXPECT_EQ(shots[n].pic, title) << "frame " << n;
    EXPECT_EQ(shots[n].waves, 0u);
  }
  // The frame that takes the press plays the click and shows the title whole.
  EXPECT_EQ(shots[kTaken].waves, 1u);
  EXPECT_EQ(shots[kTaken].fadeMode, 1);
  EXPECT_EQ(shots[kTaken].pic, title);
  // Each fade frame is the title under more streaks: darker, nothing but title or black.
  for (int n = kTaken + 1; n < kMenu; ++n) {
    EXPECT_EQ(shots[n].fadeMode, 1) << "frame " << n;
    EXPECT_EQ(shots[n].fadeStep, n - kTaken) << "frame " << n;
    EXPECT_LT(brightness(shots[n].pic), brightness(shots[n - 1].pic)) << "frame " << n;
    const Surface& pic = shots[n].pic;
    for (int y = 0; y < 350; y += 7)
      for (int x = 0; x < 500; x += 3)
        ASSERT_TRUE(pic.pixel(x, y) == title.pixel(x, y) || pic.pixel(x, y) == platform::kBlack)
            << "frame " << n << " at " << x << "," << y;
  }
  // The 23rd step ends the fade inside its frame: the stage select draws that frame on
  // the back picture and starts its fade-in.
  EXPECT_EQ(shots[kMenu].fadeMode, 2);
  EXPECT_EQ(shots[kMenu].fadeStep, 1);
  EXPECT_EQ(r.g.Pic.background, back);
  EXPECT_EQ(r.host.wavesPlayed, std::vector<std::string>{r.dir.file("CLICK.WAV")});

  // The streak stream went through exactly 23 fade-out steps and the fade-in steps shown.
  game::FadeRandom expected;
  const int steps = 23 + shots.back().fadeStep;
  for (int i = 0; i < steps * 101 * 2; ++i) expected.next();
  game::FadeRandom actual = r.g.fadeRandom;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(actual.next(), expected.next());
}

// The press lands just after the top of a frame, midway, and at the last tick of the wait.
INSTANTIATE_TEST_SUITE_P(WithinAFrame, TitleClick, ::testing::Values(1u, 50u, 100u));

TEST(TitleRun, RightPressDoesNothing) {
  GameRig r;
  const Surface title = r.picture("title.jpg");
  int lastFrame = 0;
  r.onFrame = [&](int n) {
    lastFrame = n;
    EXPECT_EQ(*r.host.picture(), title) << "frame " << n;
    if (n == 3) r.host.press(2, 250, 175);
    if (n == 6) r.host.release(2);
    if (n == 12) r.host.close();
  };
  ASSERT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  EXPECT_EQ(lastFrame, 12);
  EXPECT_TRUE(r.host.wavesPlayed.empty());
  EXPECT_EQ(r.g.fadeMode, 0);
}

class TitleClose : public ::testing::TestWithParam<int> {};

// Closing on the title, during the fade or after it keeps the progress and stops the music.
TEST_P(TitleClose, WritesTheRecordStopsTheMusicAndEndsAtOnce) {
  GameRig r;
  std::string before = "False\r\nFalse\r\nTrue\r\n";
  for (int i = 3; i < 30; ++i) before += "False\r\n";
  before += "True\r\n";
  testing_support::writeFile(r.dir.file("clear.sav"), before);
  int lastFrame = 0;
  r.onFrame = [&](int n) {
    lastFrame = n;
    if (n == 2) clickDuring(r, 30);
    if (n == GetParam()) r.host.close();
  };
  ASSERT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  EXPECT_EQ(lastFrame, GetParam()) << "a frame ran after the close";

  const std::string saved = readFile(r.dir.file("clear.sav"));
  EXPECT_EQ(saved, before);
  ASSERT_GE(r.host.mciCalls.size(), 2u);
  EXPECT_EQ(r.host.mciCalls.rbegin()[1].command, "stop bgm");
  EXPECT_TRUE(r.host.mciCalls.rbegin()[1].viaExecute);
  EXPECT_EQ(r.host.mciCalls.rbegin()[0].command, "close bgm");
  EXPECT_TRUE(r.host.mciCalls.rbegin()[0].viaExecute);
}

// Frame 1 is the title, 3 takes the click, 4..25 fade, 26 on is the stage select.
INSTANTIATE_TEST_SUITE_P(Moments, TitleClose, ::testing::Values(1, 3, 14, 26, 40));

}  // namespace
