// The move animation on a coded sprite sheet: which picture each piece shows, where, in
// how many frames, and what the field under it shows until the arrival.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/play/play_scene.h"

namespace play_test {
namespace {

int px(double v) {
  return static_cast<int>(std::nearbyint(v));
}

// The tile box corner of the fractional cell position (x, y) in the current view.
double left(const game::Game& g, double x, double y) {
  return g.render.tileBox(x, y).left;
}
double top(const game::Game& g, double x, double y) {
  return g.render.tileBox(x, y).top;
}

// Takes the first piece off its cell toward (dx, dy) as a click would, then animates.
void animate(GameRig& p, const common::StageSet& set, int dx, int dy) {
  // Half-pixel offsets: every whole-cell position lands on a tie, which goes to even.
  p.g.viewX = -49.5;
  p.g.viewY = 30.5;
  p.enter(set, 1);
  p.g.numberPieces();
  p.g.turnPass();
  p.g.aimDX = static_cast<int16_t>(dx);
  p.g.aimDY = static_cast<int16_t>(dy);
  ASSERT_TRUE(p.g.moveAttempt());
  p.keepPictures = [](const Frame&) { return true; };
  ASSERT_EQ(p.run([&] { p.g.play.animateMove(); }), GameRig::kReturned);
  ASSERT_EQ(p.frames.size(), 6u);
  for (size_t i = 0; i + 1 < p.frames.size(); ++i)
    EXPECT_EQ(p.frames[i + 1].start - p.frames[i].start, 51u) << "50 ms frames";
}

struct Facing {
  int dx, dy, sx;
};

TEST(MoveAnimation, WalkerShowsTheBodyOfItsDirectionInAllSixFrames) {
  for (const Facing f :
       {Facing{0, -1, 96}, Facing{1, 0, 128}, Facing{0, 1, 160}, Facing{-1, 0, 192}}) {
    SCOPED_TRACE(f.sx);
    GameRig p(codedRig(true));
    animate(p, stageFrom({".....", ".....", "..W..", ".....", "....."}), f.dx, f.dy);
    for (int i = 0; i < 6; ++i) {
      const double t = i / 5.0;
      const int x = px(left(p.g, 2 + f.dx * t, 2 + f.dy * t) + 16);
      const int y = px(top(p.g, 2 + f.dx * t, 2 + f.dy * t) - 16);
      for (const auto& c : {std::pair{0, 0}, std::pair{31, 0}, std::pair{0, 31}, std::pair{31, 31}})
        EXPECT_EQ(p.frames[i].pic.pixel(x + c.first, y + c.second),
                  coded(f.sx + c.first, 64 + c.second))
            << "frame " << i;
    }
    // The vacated cell shows painted floor from the first frame on.
    EXPECT_EQ(p.frames[0].pic.pixel(px(left(p.g, 2, 2)) + 8, px(top(p.g, 2, 2)) + 4), coded(72, 4));
    EXPECT_EQ(p.g.playField[2 + f.dx][2 + f.dy], common::kWalker);
    EXPECT_EQ(p.g.turnRank[2 + f.dx][2 + f.dy], 2);
    EXPECT_EQ(p.g.playField[2][2], common::kPainted);
    EXPECT_EQ(p.g.activeX, 2);
    EXPECT_EQ(p.g.activeY, 2);
  }
}

TEST(MoveAnimation, SliderPaintsTheCellItSlidesOverOnlyAtArrival) {
  GameRig two(codedRig(true));
  animate(two, stageFrom({".....", ".....", "..S..", "....."}), 1, 0);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const Frame& f = two.frames[i];
    EXPECT_EQ(f.field[3][2], common::kUnpainted);
    // The slide's shadow sweeps over this pixel in frame 1.
    const platform::Rgb passed = f.pic.pixel(px(left(two.g, 3, 2)) + 8, px(top(two.g, 3, 2)) + 4);
    EXPECT_NE(passed, coded(72, 4));
    if (i != 1) {
      EXPECT_EQ(passed, coded(8, 4));
    }
    const double t = 2 * i / 5.0;
    const int x = px(left(two.g, 2 + t, 2)), y = px(top(two.g, 2 + t, 2) - 32);
    EXPECT_EQ(f.pic.pixel(x, y), coded(160, 128));
    EXPECT_EQ(f.pic.pixel(x + 63, y + 31), coded(223, 159));
  }
  EXPECT_EQ(two.g.playField[2][2], common::kPainted);
  EXPECT_EQ(two.g.playField[3][2], common::kPainted);
  EXPECT_EQ(two.g.playField[4][2], common::kSlider);

  // With painted floor two cells ahead it travels one cell, also in six frames; the pose
  // follows the direction.
  const int poses[][4] = {{0, -1, 96, 128}, {1, 0, 160, 128}, {0, 1, 96, 192}, {-1, 0, 160, 192}};
  for (const auto& d : poses) {
    SCOPED_TRACE(d[2] * 1000 + d[3]);
    GameRig one(codedRig(true));
    animate(one, stageFrom({"...o..", "......", ".o.S.o", "......", "...o.."}), d[0], d[1]);
    for (int i = 0; i < 6; ++i) {
      const double t = i / 5.0;
      EXPECT_EQ(one.frames[i].pic.pixel(px(left(one.g, 3 + d[0] * t, 2 + d[1] * t)),
                                        px(top(one.g, 3 + d[0] * t, 2 + d[1] * t) - 32)),
                coded(d[2], d[3]));
    }
    EXPECT_EQ(one.g.playField[3 + d[0]][2 + d[1]], common::kSlider);
  }
}

// Heights read off the picture: the body's top against the shadow's top, which stays
// 8 pixels below the travelling cell position.
TEST(MoveAnimation, JumperRisesOverThePassedCellWhichKeepsItsCode) {
  GameRig p(codedRig(true));
  animate(p, stageFrom({".....", "..J..", "..#..", "....."}), 0, 1);
  const double heights[] = {0, 9.9, 19.5, 28.2, 35.9, 42.1};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const Frame& f = p.frames[i];
    const double t = 2 * i / 5.0;
    const int bx = px(left(p.g, 2, 1 + t) + 16), sx = px(left(p.g, 2, 1 + t) + 6);
    int body = -1, shadow = -1;
    for (int y = 0; y < 350 && (body < 0 || shadow < 0); ++y) {
      if (body < 0 && f.pic.pixel(bx + 16, y) == coded(160 + 16, 352)) body = y;
      if (shadow < 0 && f.pic.pixel(sx, y) == platform::kBlack) shadow = y;
    }
    ASSERT_GE(body, 0);
    ASSERT_GE(shadow, 0);
    EXPECT_EQ(shadow, px(top(p.g, 2, 1 + t) + 8));
    EXPECT_NEAR(shadow - 8 - body, heights[i], 1.0);
    EXPECT_EQ(f.field[2][2], common::kBlock);
  }
  EXPECT_EQ(p.g.playField[2][2], common::kBlock);
  EXPECT_EQ(p.g.playField[2][3], common::kJumper);
  EXPECT_EQ(p.g.playField[2][1], common::kPainted);
}

TEST(MoveAnimation, EraserCyclesWithThePhaseAndUnpaints) {
  GameRig p(codedRig(true));
  animate(p, stageFrom({".....", ".....", "..Eo.", "....."}), 1, 0);
  for (int i = 0; i < 6; ++i) {
    const double t = i / 5.0;
    const int ph = p.frames[i].animPhase;
    EXPECT_EQ(p.frames[i].pic.pixel(px(left(p.g, 2 + t, 2) + 24), px(top(p.g, 2 + t, 2))),
              coded(16 * ph, 256))
        << "frame " << i;
  }
  EXPECT_EQ(p.frames[1].animPhase, 1);
  EXPECT_EQ(p.frames[2].animPhase, 2);
  EXPECT_EQ(p.g.playField[2][2], common::kUnpainted);
  EXPECT_EQ(p.g.playField[3][2], common::kEraser);
}

TEST(MoveAnimation, PiecesWithoutPictureMoveUnseen) {
  for (const char* row : {"..8..", "..9.."}) {
    GameRig p(codedRig(true));
    animate(p, stageFrom({".....", ".....", row, "....."}), 1, 0);
    for (const Frame& f : p.frames) {
      for (int y = 0; y < 350; ++y) {
        for (int x = 0; x < 500; ++x) {
          const platform::Rgb c = f.pic.pixel(x, y);
          ASSERT_FALSE(isCodedFrom(c, 0, 64, 320, 64) || isCodedFrom(c, 0, 128, 224, 128) ||
                       isCodedFrom(c, 0, 256, 48, 32) || isCodedFrom(c, 0, 352, 224, 64))
              << row << " drawn at " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(p.g.playField[3][2], row[2] - '0');
  }
}

}  // namespace
}  // namespace play_test
