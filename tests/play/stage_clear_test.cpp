// The stage-clear banner: 51 frames of its two words ORed over the frozen final field,
// then the play background again.
#include <gtest/gtest.h>

#include "tests/play/play_scene.h"
#include "tests/support/pixels.h"

namespace play_test {
namespace {

TEST(StageClear, BannerIsOredOverTheFrozenPictureForFiftyOneFrames) {
  GameRig p(codedRig());
  p.enter(stageFrom({"oWo"}), 1);
  // Whatever Pic shows when the sequence starts is what stays under the banner.
  platform::Surface start(game::kPicWidth, game::kPicHeight);
  uint32_t seed = 12345;
  for (int y = 0; y < start.height(); ++y) {
    for (int x = 0; x < start.width(); ++x) {
      seed = seed * 1103515245 + 12345;
      start.setPixel(x, y,
                     {static_cast<uint8_t>(seed >> 24), static_cast<uint8_t>(seed >> 16),
                      static_cast<uint8_t>(seed >> 8)});
    }
  }
  p.g.Pic.image = start;
  p.g.animPhase = 1;
  p.keepPictures = [](const Frame&) { return true; };
  // Scrolling and moving pieces must not reach the frozen picture.
  p.onDelivery = [](GameRig& q) {
    q.g.viewX += 7;
    q.g.playField[1][0] = q.g.playField[1][0] == common::kWalker ? 0 : common::kWalker;
  };
  ASSERT_EQ(p.run([&] { p.g.play.sclear(); }), GameRig::kReturned);

  ASSERT_EQ(p.frames.size(), 51u);
  for (size_t i = 0; i < p.frames.size(); ++i) {
    SCOPED_TRACE(i);
    const Frame& f = p.frames[i];
    if (i + 1 < p.frames.size()) {
      EXPECT_EQ(p.frames[i + 1].start - f.start, 101u);
    }
    const int ph = f.animPhase;
    for (int y = 0; y < 350; ++y) {
      for (int x = 0; x < 500; ++x) {
        platform::Rgb want = start.pixel(x, y);
        platform::Rgb word{};
        if (y >= 110 && y < 142 && x >= 130 && x < 258)
          word = coded(64 + x - 130, 256 + 32 * ph + y - 110);
        if (y >= 110 && y < 142 && x >= 278 && x < 374)
          word = coded(224 + x - 278, 128 + 32 * ph + y - 110);
        ASSERT_EQ(f.pic.pixel(x, y), ored(want, word)) << x << "," << y << " phase " << ph;
      }
    }
  }
  EXPECT_EQ(p.frames[0].animPhase, 1);
  EXPECT_EQ(p.frames[1].animPhase, 2);
  EXPECT_EQ(p.frames[3].animPhase, 0);

  // Pic is left showing the last banner frame; clearing it shows the play background.
  EXPECT_EQ(p.g.Pic.image, p.frames.back().pic);
  const platform::Surface back = p.picture("back.jpg");
  EXPECT_EQ(p.g.Pic.background, back);
  p.g.Pic.clear();
  EXPECT_EQ(p.g.Pic.image, back);
}

}  // namespace
}  // namespace play_test
