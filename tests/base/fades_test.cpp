// Screen fades: where the streaks fall, how each step darkens or uncovers the frame.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/support/game/game_rig.h"
#include "tests/support/pixels.h"

namespace {

using platform::Rgb;
using platform::Surface;
using testing_support::brightness;
using testing_support::countColour;
using testing_support::GameRig;

struct Streak {
  int a, b;  // x at the top (y = 0) and at y = 350
};

// The documented streaks, worked out apart from the game: two numbers in [0, 1) from a
// default-seeded 32-bit Mersenne twister, a = floor(u * 1000) - 250.
std::vector<Streak> firstStreaks(int count) {
  std::mt19937 gen;
  std::vector<Streak> out;
  for (int i = 0; i < count; ++i) {
    const double u1 = gen() / 4294967296.0, u2 = gen() / 4294967296.0;
    out.push_back({static_cast<int>(std::floor(u1 * 1000)) - 250,
                   static_cast<int>(std::floor(u2 * 1000)) - 250});
  }
  return out;
}

bool offOneSide(const Streak& s) {
  return (s.a < 0 && s.b < 0) || (s.a > 499 && s.b > 499);
}

void showTitle(GameRig& r) {
  r.g.Pic.setBackground(r.picture("title.jpg"));
  r.g.Pic.clear();
}

TEST(FadeOut, FirstStepHidesTheFrameOnlyUnderItsStreaks) {
  GameRig r;
  showTitle(r);
  const Surface title = r.g.Pic.image;
  r.g.fades.f_out();
  EXPECT_EQ(r.g.fadeStep, 1);

  // 101 streaks; those with both ends off one side of the surface leave no mark.
  Surface mask(500, 350, platform::kWhite);
  int skipped = 0;
  for (const Streak& s : firstStreaks(101)) {
    if (offOneSide(s)) {
      ++skipped;
      continue;
    }
    platform::drawLine(mask, s.a, 0, s.b, 350, platform::kBlack);
  }
  ASSERT_GT(skipped, 0) << "the first step has no streak wholly outside; pick another check";
  ASSERT_EQ(r.g.back.image, mask);

  int hidden = 0;
  for (int y = 0; y < 350; ++y)
    for (int x = 0; x < 500; ++x) {
      const bool streak = mask.pixel(x, y) == platform::kBlack;
      ASSERT_EQ(r.g.Pic.image.pixel(x, y), streak ? platform::kBlack : title.pixel(x, y))
          << "at " << x << "," << y;
      hidden += streak;
    }
  EXPECT_GT(hidden, 500 * 350 / 20);
  EXPECT_LT(hidden, 500 * 350 / 2);
}

TEST(FadeOut, TwentyThreeTitleFramesEachDarkerAndTheLastAlmostBlack) {
  GameRig r;
  showTitle(r);
  const Surface title = r.g.Pic.image;
  uint64_t last = brightness(title);
  for (int step = 1; step <= 23; ++step) {
    r.g.Pic.clear();  // every frame is drawn anew and then masked
    r.g.fades.f_out();
    const uint64_t now = brightness(r.g.Pic.image);
    EXPECT_LT(now, last) << "step " << step;
    last = now;
  }
  EXPECT_EQ(r.g.fadeStep, 23);
  EXPECT_GT(countColour(r.g.Pic.image, platform::kBlack), 500 * 350 * 9 / 10);
}

TEST(FadeIn, ThirteenStepsFromBlackEachUncoverMore) {
  GameRig r;
  showTitle(r);
  const Surface title = r.g.Pic.image;
  platform::fillRect(r.g.back.image, 0, 0, 500, 350, platform::kBlack);
  int lastShown = 0;
  for (int step = 1; step <= 13; ++step) {
    r.g.Pic.clear();
    r.g.fades.f_in();
    int shown = 0;
    for (int y = 0; y < 350; ++y)
      for (int x = 0; x < 500; ++x) {
        const Rgb p = r.g.Pic.image.pixel(x, y);
        ASSERT_TRUE(p == title.pixel(x, y) || p == platform::kBlack);
        shown += r.g.back.image.pixel(x, y) == platform::kWhite;
      }
    EXPECT_GT(shown, lastShown) << "step " << step;
    lastShown = shown;
  }
  EXPECT_EQ(r.g.fadeStep, 13);
}

TEST(FadeOut, EveryFreshGameDrawsTheSameStreaks) {
  GameRig first, second;
  for (int i = 0; i < 23; ++i) {
    first.g.fades.f_out();
    second.g.fades.f_out();
  }
  EXPECT_EQ(first.g.back.image, second.g.back.image);
  EXPECT_NE(first.g.back.image, Surface(500, 350, platform::kWhite));
}

}  // namespace
