// The title screen on the scripted host: click, fade, background, close.
#include <gtest/gtest.h>

#include "platform/jpeg.h"
#include "tests/support/game_fixture.h"

using testing_support::GameRun;

TEST(TitleRun, ClickFadesOutInTwentyThreeFramesThenShowsBack) {
  GameRun r;
  int frame = 0;
  r.host.onDeliver = [&](platform::ScriptedHost& h) {
    ++frame;
    if (frame == 5) h.press(1, 100, 100);
    if (frame == 10) h.release(1);
    if (frame == 200) h.close();
  };
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  ASSERT_EQ(r.host.wavesPlayed.size(), 1u);
  EXPECT_EQ(r.g.Pic.background, platform::decodeJpegFile(r.dir.file("back.jpg")));
  EXPECT_EQ(testing_support::readFile(r.dir.file("clear.sav")).size(), 31u * 7);
}
