// The play loop's controls on the scripted host: aim, clicks, buttons, retry, scrolling,
// fades and the stages that need no move or have no piece.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "tests/play/play_scene.h"
#include "tests/support/pixels.h"

namespace play_test {
namespace {

using platform::Rgb;

bool sameField(const Frame& f, const game::Game& g) {
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      if (f.field[x][y] != g.playField[x][y]) return false;
  return true;
}

// A walker at (1, 1) with grass on all four sides.
common::StageSet walkerInTheOpen() {
  return stageFrom({"....", ".W..", "....", "...."});
}

struct ClickCase {
  const char* what;
  double viewX, viewY;
  float x, y;
  enum { MoveTo, GiveUp, Retry } outcome;
  int toX, toY;
  std::optional<platform::Key> key = std::nullopt;  // pressed instead of the click
};

// A click at x exactly 64 or 436 is a move, and so is one at y exactly 32; a button wins
// even where the field lies under it. A key does what the click in its direction or on its
// button does: the arrows turned an eighth of a turn clockwise, the keypad's diagonals, R
// and Escape.
TEST(PlayClicks, ButtonAreasAreStrictAndLieOverTheField) {
  using platform::Key;
  const ClickCase cases[] = {
      {"x 64 beside give-up", -50, 30, 64, 10, ClickCase::MoveTo, 0, 1},
      {"x 436 beside retry", -50, 30, 436, 10, ClickCase::MoveTo, 1, 0},
      {"y 32 under give-up", -250, 0, 30, 32, ClickCase::MoveTo, 0, 1},
      {"give-up over the field", -250, 0, 30, 15, ClickCase::GiveUp, 1, 1},
      {"give-up just inside", -250, 0, 63.9f, 31.9f, ClickCase::GiveUp, 1, 1},
      {"retry over the field", 200, 0, 470, 15, ClickCase::Retry, 1, 1},
      {"retry just inside", 200, 0, 436.1f, 0, ClickCase::Retry, 1, 1},
      {"Right: x + 1", -50, 30, 0, 0, ClickCase::MoveTo, 2, 1, Key::kRight},
      {"Down: y + 1", -50, 30, 0, 0, ClickCase::MoveTo, 1, 2, Key::kDown},
      {"Left: x - 1", -50, 30, 0, 0, ClickCase::MoveTo, 0, 1, Key::kLeft},
      {"Up: y - 1", -50, 30, 0, 0, ClickCase::MoveTo, 1, 0, Key::kUp},
      {"keypad 3: x + 1", -50, 30, 0, 0, ClickCase::MoveTo, 2, 1, Key::kPad3},
      {"keypad 1: y + 1", -50, 30, 0, 0, ClickCase::MoveTo, 1, 2, Key::kPad1},
      {"keypad 7: x - 1", -50, 30, 0, 0, ClickCase::MoveTo, 0, 1, Key::kPad7},
      {"keypad 9: y - 1", -50, 30, 0, 0, ClickCase::MoveTo, 1, 0, Key::kPad9},
      {"R retries", -50, 30, 300, 200, ClickCase::Retry, 1, 1, Key::kR},
      {"Escape gives up", -50, 30, 300, 200, ClickCase::GiveUp, 1, 1, Key::kEscape},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.what);
    GameRig p(codedRig());
    p.g.viewX = c.viewX;
    p.g.viewY = c.viewY;
    p.enter(walkerInTheOpen(), 1);
    size_t clickFrame = 0;
    p.script(join({{untilPlaying(), pointAt(c.x, c.y), afterArrowFrame(),
                    check([&](GameRig& q) { clickFrame = q.frames.size(); })},
                   c.key ? std::vector<GameRig::Action>{pressKey(*c.key)} : click(),
                   {afterFrames(30), closeNow()}}));
    const bool returned = p.runMainL();
    ASSERT_GT(clickFrame, 0u);
    const auto after = [&](Kind k) {
      int n = 0;
      for (size_t i = clickFrame; i < p.frames.size(); ++i) n += p.frames[i].kind == k;
      return n;
    };
    EXPECT_EQ(p.g.playField[c.toX][c.toY], common::kWalker);
    if (c.outcome == ClickCase::MoveTo) {
      EXPECT_FALSE(returned);
      EXPECT_EQ(after(Kind::Move), 6);
      EXPECT_TRUE(p.host.wavesPlayed.empty());
    } else {
      ASSERT_EQ(p.host.wavesPlayed.size(), 1u);
      EXPECT_EQ(p.host.wavesPlayed[0], p.g.files.file("\\CLICK.WAV"));
      EXPECT_EQ(after(Kind::Move), 0);
    }
    if (c.outcome == ClickCase::GiveUp) {
      EXPECT_TRUE(returned);
      EXPECT_EQ(after(Kind::FadeOut), 22);
      EXPECT_EQ(p.g.fadeMode, 2);
      EXPECT_FALSE(p.g.clearFlag[0]);
    }
    if (c.outcome == ClickCase::Retry) {
      EXPECT_FALSE(returned);
      EXPECT_EQ(after(Kind::FadeIn), 12);
    }
    EXPECT_EQ(p.g.viewX, c.viewX);
    EXPECT_EQ(p.g.viewY, c.viewY);
  }
}

// The turn marker stands over the active piece (30 pixels higher over the tall slider);
// the arrow follows the pointer's quadrant around the exact, unrounded cell centre, a
// pointer on a centre line counting as right or down; the buttons are ORed in.
TEST(PlayPicture, MarkerArrowAndButtonsFollowTheExactCentre) {
  for (const char piece : {'S', 'W'}) {
    SCOPED_TRACE(std::string(1, piece));
    char middle[] = "..?..";
    middle[2] = piece;
    GameRig p(codedRig(true));
    p.g.viewX = -49.5;
    p.g.viewY = 30.5;
    p.keepPictures = [](const Frame& f) { return f.kind == Kind::Play; };
    p.enter(stageFrom({".....", ".....", middle, ".....", "....."}), 1);
    const double X = 220.5, Y = 94.5, h = piece == 'S' ? 30 : 0;
    struct Quadrant {
      float ox, oy;
      int dx, dy, ax, ay, sx, sy;
    };
    const Quadrant quadrants[] = {{-0.25f, -0.25f, -1, 0, -16, -8, 64, 32},
                                  {0, -0.25f, 0, -1, 48, -8, 96, 32},
                                  {-0.25f, 0, 0, 1, -16, 24, 64, 48},
                                  {0, 0, 1, 0, 48, 24, 96, 48}};
    std::vector<GameRig::Action> all{untilPlaying()};
    for (const Quadrant& q : quadrants) {
      all.push_back(pointAt(static_cast<float>(X + 32) + q.ox, static_cast<float>(Y + 16) + q.oy));
      all.push_back(afterArrowFrame());
      all.push_back(check([=](GameRig& pl) {
        const Frame& f = pl.frames.back();
        ASSERT_TRUE(f.arrow);
        EXPECT_EQ(pl.g.aimDX, q.dx);
        EXPECT_EQ(pl.g.aimDY, q.dy);
        const int ax = static_cast<int>(std::nearbyint(X + q.ax));
        const int ay = static_cast<int>(std::nearbyint(Y + q.ay));
        EXPECT_EQ(f.pic.pixel(ax, ay), coded(q.sx, q.sy));
        EXPECT_EQ(f.pic.pixel(ax + 31, ay + 15), coded(q.sx + 31, q.sy + 15));
        const int mx = static_cast<int>(std::nearbyint(X - 7));
        const int my = static_cast<int>(std::nearbyint(Y - 50 - h));
        EXPECT_EQ(f.pic.pixel(mx, my), coded(224 + 32 * f.animPhase, 64));
        EXPECT_EQ(f.pic.pixel(mx + 31, my + 31), coded(255 + 32 * f.animPhase, 95));
        EXPECT_EQ(f.pic.pixel(0, 0), ored(kFlat, coded(0, 320)));
        EXPECT_EQ(f.pic.pixel(63, 31), ored(kFlat, coded(63, 351)));
        EXPECT_EQ(f.pic.pixel(436, 0), ored(kFlat, coded(0, 288)));
        EXPECT_EQ(f.pic.pixel(499, 31), ored(kFlat, coded(63, 319)));
      }));
      all.push_back(afterFrames(1));
    }
    all.push_back(closeNow());
    p.script(std::move(all));
    p.runMainL();
    EXPECT_TRUE(p.scriptDone());
  }
}

// Before any arrow has been shown the aim is (0, 0): the first click of a run, whatever
// the piece, is consumed and moves nothing.
TEST(PlayClicks, FirstClickOfARunMovesNothing) {
  for (const char piece : {'W', 'S', 'E', 'J', '8'}) {
    SCOPED_TRACE(std::string(1, piece));
    char middle[] = "o.?.o";
    middle[2] = piece;
    GameRig p(codedRig());
    // The 13th fade-in frame, the first to take input, is then drawn without the arrow.
    p.g.animPhase = 2;
    p.g.animStep = -1;
    p.enter(stageFrom({".....", ".o.o.", middle, ".o.o.", "....."}), 1);
    p.script({afterFrames(3), pointAt(300, 300), press(1), untilPlaying(), check([](GameRig& q) {
                EXPECT_FALSE(q.frames.back().arrow);
                EXPECT_EQ(q.g.aimDX, 0);
                EXPECT_EQ(q.g.aimDY, 0);
                EXPECT_FALSE(q.g.leftDown) << "the click is consumed";
              }),
              afterFrames(8), release(1), closeNow()});
    p.runMainL();
    EXPECT_EQ(p.count(Kind::Move), 0);
    EXPECT_TRUE(sameField(p.frames.front(), p.g));
    EXPECT_EQ(p.g.activeX, 2);
    EXPECT_EQ(p.g.activeY, 2);
  }
}

// On a frame without the arrow the aim stays; a click there moves along the aim last
// shown, not toward the pointer's quadrant.
TEST(PlayClicks, ClickOnAFrameWithoutArrowUsesTheAimLastShown) {
  GameRig p(codedRig());
  p.enter(walkerInTheOpen(), 1);
  p.script(join({{untilPlaying(), aimToward(1, 0), afterArrowFrame(), beforeHiddenArrowFrame(),
                  aimToward(0, 1), check([](GameRig& q) {
                    EXPECT_EQ(q.g.aimDX, 1);
                    EXPECT_EQ(q.g.aimDY, 0);
                  })},
                 click(),
                 {afterFrames(8), closeNow()}}));
  p.runMainL();
  EXPECT_LT(p.g.mouseX, p.centreX() + 32) << "the pointer ended in the left half";
  EXPECT_EQ(p.g.playField[2][1], common::kWalker);
  EXPECT_EQ(p.g.playField[1][2], common::kUnpainted);
  EXPECT_EQ(p.count(Kind::Move), 6);
}

// A key move that is refused (off the field) leaves the aim as the frames last showed it:
// the click on the next frame without the arrow moves along that aim.
TEST(PlayClicks, ARefusedKeyMoveLeavesTheAimLastShown) {
  GameRig p(codedRig());
  p.enter(stageFrom({"....", "W...", "...."}), 1);
  p.script(join({{untilPlaying(), aimToward(1, 0), afterArrowFrame(), beforeHiddenArrowFrame(),
                  aimToward(0, 1), pressKey(platform::Key::kLeft), afterFrames(1),
                  check([](GameRig& q) {
                    EXPECT_FALSE(q.frames.back().arrow);
                    EXPECT_EQ(q.g.aimDX, 1);
                    EXPECT_EQ(q.g.aimDY, 0);
                  })},
                 click(),
                 {afterFrames(8), closeNow()}}));
  p.runMainL();
  EXPECT_EQ(p.g.playField[1][1], common::kWalker);
  EXPECT_EQ(p.count(Kind::Move), 6);
}

// Painted floor, empty space, a block and another piece refuse a walker; every refused
// click is consumed, plays nothing and keeps the turn and the ranks.
TEST(PlayClicks, RefusedClicksAreConsumedAndKeepTheTurn) {
  GameRig p(codedRig());
  p.enter(stageFrom({"o-o.", "oW#.", "oEo.", "...."}), 1);
  std::vector<std::vector<GameRig::Action>> parts;
  for (const auto& d : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{1, 0}, std::pair{0, 1}}) {
    parts.push_back(
        {untilPlaying(), aimToward(d.first, d.second), afterArrowFrame(), check([d](GameRig& q) {
           EXPECT_EQ(q.g.aimDX, d.first);
           EXPECT_EQ(q.g.aimDY, d.second);
         })});
    parts.push_back(click());
    parts.push_back({check([](GameRig& q) { EXPECT_FALSE(q.g.leftDown); })});
  }
  std::vector<GameRig::Action> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  all.push_back(afterFrames(4));
  all.push_back(closeNow());
  p.script(std::move(all));
  p.runMainL();
  EXPECT_TRUE(p.scriptDone());
  EXPECT_EQ(p.count(Kind::Move), 0);
  EXPECT_TRUE(sameField(p.frames.front(), p.g));
  EXPECT_EQ(p.g.activeX, 1);
  EXPECT_EQ(p.g.activeY, 1);
  EXPECT_EQ(p.g.turnRank[1][1], 3);
  EXPECT_EQ(p.g.turnRank[1][2], 2);
  EXPECT_TRUE(p.host.wavesPlayed.empty());
}

// Retry after a move and a scroll: the stored layout and the first turn come back, the
// screen fades in again from black, the view stays where it was scrolled to.
TEST(PlayClicks, RetryRestoresLayoutAndTurnOrderAndKeepsTheView) {
  GameRig p(codedRig());
  p.keepPictures = [](const Frame& f) { return f.kind == Kind::FadeIn; };
  p.enter(stageFrom({"W...", "....", "...W"}), 1);
  double viewBefore[2] = {};
  size_t retryFrame = 0;
  p.script(join(
      {playMove({0, 0, 1, 0}),
       {check([](GameRig& q) {
          EXPECT_EQ(q.g.activeX, 3) << "the second walker has the turn";
          EXPECT_EQ(q.g.activeY, 2);
        }),
        pointAt(246, 148), press(2), afterFrames(3), release(2), afterFrames(1),
        check([&](GameRig& q) {
          viewBefore[0] = q.g.viewX;
          viewBefore[1] = q.g.viewY;
        }),
        pointAt(480, 10), afterFrames(1), check([&](GameRig& q) { retryFrame = q.frames.size(); })},
       click(),
       {untilPlaying(), closeNow()}}));
  p.runMainL();
  ASSERT_GT(retryFrame, 0u);
  EXPECT_NE(viewBefore[0], -50) << "the scroll did not happen";
  EXPECT_EQ(p.g.viewX, viewBefore[0]);
  EXPECT_EQ(p.g.viewY, viewBefore[1]);
  EXPECT_EQ(p.host.wavesPlayed.size(), 1u);
  EXPECT_TRUE(sameField(p.frames.front(), p.g));
  EXPECT_EQ(p.g.activeX, 0);
  EXPECT_EQ(p.g.activeY, 0);
  EXPECT_EQ(p.g.turnRank[0][0], 3);
  EXPECT_EQ(p.g.turnRank[3][2], 2);
  int fadeIns = 0;
  for (size_t i = retryFrame; i < p.frames.size(); ++i) {
    if (p.frames[i].kind != Kind::FadeIn) continue;
    if (fadeIns++ == 0) {
      EXPECT_GT(blackShare(p.frames[i].pic), 0.6) << "not from black";
    }
  }
  EXPECT_EQ(fadeIns, 12);
}

// The right button held at (0, 0) scrolls by 31.25 and 30 a frame up to 200, 200; at
// (250, 150) it does not scroll. The view then carries over to the next stage.
TEST(PlayScroll, StepsToTheClampsAndRestsAtTheReferencePoint) {
  GameRig p(codedRig(true));
  p.keepPictures = [](const Frame& f) { return f.kind == Kind::Play; };
  p.enter(stageFrom(
              {"..........", "..........", "..........", "..........", "..........", ".....W...."}),
          1);
  size_t pressFrame = 0, restFrame = 0;
  p.script(join(
      {{untilPlaying(), pointAt(0, 0), press(2),
        check([&](GameRig& q) { pressFrame = q.frames.size(); }), afterFrames(12),
        pointAt(250, 150), afterFrames(1), check([&](GameRig& q) { restFrame = q.frames.size(); }),
        afterFrames(6), release(2), pointAt(10, 10), afterFrames(1)},
       click()}));
  ASSERT_TRUE(p.runMainL()) << "give-up";
  ASSERT_GT(restFrame, 0u);
  double x = -50, y = 30;
  for (size_t i = pressFrame; i < pressFrame + 12; ++i) {
    x = std::min(x + 31.25, 200.0);
    y = std::min(y + 30.0, 200.0);
    EXPECT_EQ(p.frames[i].viewX, x) << i - pressFrame;
    EXPECT_EQ(p.frames[i].viewY, y) << i - pressFrame;
  }
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 200);
  for (size_t i = restFrame; i < restFrame + 6; ++i) {
    EXPECT_TRUE(p.frames[i].rightDown);
    EXPECT_EQ(p.frames[i].viewX, 200);
    EXPECT_EQ(p.frames[i].viewY, 200);
  }
  // After the second step the view is 12.5 across: cell (0, 0) goes to 282.5, which
  // rounds to the even 282.
  const platform::Surface& pic = p.frames[pressFrame + 2].pic;
  EXPECT_EQ(pic.pixel(282, 90), coded(0, 0));
  EXPECT_EQ(pic.pixel(281, 90), kFlat);

  p.frames.clear();
  p.enter(walkerInTheOpen(), 1);
  p.script({afterFrames(1), closeNow()});
  p.runMainL();
  EXPECT_EQ(p.frames.front().viewX, 200);
  EXPECT_EQ(p.frames.front().viewY, 200);
}

// During the fades nothing reads the pointer: a left press stays pending and the right
// button does not scroll. The 13th fade-in frame plays: it takes the pending press and
// moves, which skips its scroll step.
TEST(PlayFades, InputIsNeitherReadNorConsumedWhileFading) {
  GameRig p(codedRig());
  p.enter(walkerInTheOpen(), 1);
  p.script({afterFrames(1), aimToward(1, 0), press(1), press(2), afterFrames(12),
            check([](GameRig& q) {
              EXPECT_EQ(q.frames.back().kind, Kind::Move);
              EXPECT_FALSE(q.g.leftDown);
            }),
            release(1), untilPlaying(), afterFrames(4), pointAt(10, 10), press(1), afterFrames(1),
            release(1), afterFrames(2), pointAt(0, 0), press(2), press(1)});
  ASSERT_TRUE(p.runMainL());
  int fadeIns = 0, fadeOuts = 0;
  for (const Frame& f : p.frames) {
    if (f.kind == Kind::FadeIn && f.fadeStep >= 3) {
      ++fadeIns;
      EXPECT_TRUE(f.leftDown) << "taken during fade-in step " << f.fadeStep;
      EXPECT_TRUE(f.rightDown);
      EXPECT_EQ(f.field[1][1], common::kWalker);
    }
    if (f.kind == Kind::FadeIn || f.kind == Kind::FadeOut) {
      fadeOuts += f.kind == Kind::FadeOut && f.rightDown;
      EXPECT_EQ(f.viewX, -50) << "scrolled while fading, step " << f.fadeStep;
      EXPECT_EQ(f.viewY, 30);
    }
  }
  EXPECT_EQ(fadeIns, 10);
  EXPECT_EQ(fadeOuts, 20);
  EXPECT_EQ(p.g.playField[2][1], common::kWalker) << "the pending press moved on the 13th frame";
  EXPECT_TRUE(p.g.leftDown) << "a press during the fade-out stays pending";
  EXPECT_TRUE(p.g.rightDown);
  EXPECT_EQ(p.host.wavesPlayed.size(), 1u);
}

// A stage without grass is cleared before any move: the banner over the field without a
// fade-in, then the fade-out and the flag.
TEST(PlayClear, StageWithoutGrassClearsAtOnce) {
  GameRig p(codedRig());
  p.keepPictures = [](const Frame& f) { return f.kind == Kind::Banner; };
  p.enter(stageFrom({"oWo", "o#o", "oSo"}, 12), 12);
  ASSERT_TRUE(p.runMainL());
  ASSERT_FALSE(p.frames.empty());
  EXPECT_EQ(p.frames.front().kind, Kind::Banner);
  EXPECT_EQ(p.count(Kind::Banner), 51);
  EXPECT_EQ(p.count(Kind::FadeIn), 0);
  EXPECT_EQ(p.count(Kind::FadeOut), 22);
  EXPECT_LT(blackShare(p.frames.front().pic), 0.2) << "the banner frame is masked";
  EXPECT_TRUE(p.g.clearFlag[11]);
  EXPECT_EQ(p.g.fadeMode, 2);
  EXPECT_EQ(p.g.fadeStep, 0);
}

// Without any piece there is no turn marker and no arrow, and clicks on the field change
// nothing, even with a cell and an aim left over from an earlier stage; retry and give-up
// still work.
TEST(PlayClear, StageWithoutPiecesStillRetriesAndGivesUp) {
  GameRig p(codedRig(true));
  p.keepPictures = [](const Frame& f) { return f.kind == Kind::Play; };
  p.g.activeX = 2;  // left over: grass there, and grass to its lower right
  p.g.activeY = 0;
  p.g.aimDX = 1;
  p.g.aimDY = 0;
  p.enter(stageFrom({".....", ".oo..", "....."}), 1);
  std::vector<GameRig::Action> all{untilPlaying()};
  for (const auto& at : {std::pair{300.f, 80.f}, std::pair{200.f, 80.f}, std::pair{300.f, 40.f},
                         std::pair{200.f, 40.f}}) {
    all.push_back(pointAt(at.first, at.second));
    all.push_back(afterFrames(4));
    for (auto& a : click()) all.push_back(a);
  }
  all.push_back(afterFrames(8));
  all.push_back(check([](GameRig& q) {
    EXPECT_TRUE(sameField(q.frames.front(), q.g)) << "a field click changed the field";
    EXPECT_FALSE(q.g.leftDown);
  }));
  all.push_back(pointAt(480, 10));
  for (auto& a : click()) all.push_back(a);
  all.push_back(untilPlaying());
  all.push_back(pointAt(10, 10));
  for (auto& a : click()) all.push_back(a);
  p.script(std::move(all));
  ASSERT_TRUE(p.runMainL());
  EXPECT_TRUE(p.scriptDone());
  EXPECT_EQ(p.count(Kind::Move), 0);
  EXPECT_TRUE(sameField(p.frames.front(), p.g));
  EXPECT_EQ(p.g.aimDX, 1);
  EXPECT_EQ(p.g.aimDY, 0);
  EXPECT_EQ(p.host.wavesPlayed.size(), 2u) << "retry and give-up";
  EXPECT_EQ(p.count(Kind::FadeIn), 24);
  int playFrames = 0;
  for (const Frame& f : p.frames) {
    if (f.kind != Kind::Play) continue;
    ++playFrames;
    for (int y = 0; y < 350; ++y) {
      for (int x = 0; x < 500; ++x) {
        const Rgb c = f.pic.pixel(x, y);
        ASSERT_FALSE(isCodedFrom(c, 224, 64, 96, 32)) << "turn marker";
        ASSERT_FALSE(isCodedFrom(c, 64, 32, 64, 32)) << "arrow";
      }
    }
  }
  EXPECT_GT(playFrames, 16);
}

}  // namespace
}  // namespace play_test
