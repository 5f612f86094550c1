// Pointer input: what presses, moves and releases leave for the frame loops to read.
#include <gtest/gtest.h>

#include "tests/support/game/game_rig.h"

namespace {

using platform::ScriptedHost;
using testing_support::GameRig;

// The pointer handlers run from the host's event delivery, as in the real window.
TEST(Pointer, AnyReleaseClearsBothPresses) {
  for (int released : {1, 2, 4}) {
    GameRig r;
    r.host.press(1, 10, 10);
    r.host.press(2, 10, 10);
    r.host.deliverEvents();
    EXPECT_TRUE(r.g.leftDown);
    EXPECT_TRUE(r.g.rightDown);
    r.frame();  // the presses outlast a frame
    r.host.release(released);
    r.host.deliverEvents();
    EXPECT_FALSE(r.g.leftDown) << "after releasing button " << released;
    EXPECT_FALSE(r.g.rightDown) << "after releasing button " << released;
  }
}

// A release in the wait of its press is kept for one frame, which sees the press as held;
// the frame wait after it ends the press.
TEST(Pointer, ReleaseInTheWaitOfThePressWaitsForOneFrame) {
  for (int released : {1, 2, 4}) {
    GameRig r;
    r.host.press(1, 10, 10);
    r.host.release(released);
    r.host.deliverEvents();
    EXPECT_TRUE(r.g.leftDown) << "released " << released;
    r.frame();
    EXPECT_FALSE(r.g.leftDown) << "released " << released;
    EXPECT_FALSE(r.g.rightDown) << "released " << released;
  }
}

TEST(Pointer, MiddlePressChangesNothing) {
  GameRig r;
  r.host.press(4, 200, 100);
  r.host.deliverEvents();
  EXPECT_FALSE(r.g.leftDown);
  EXPECT_FALSE(r.g.rightDown);
  EXPECT_EQ(r.g.mouseX, 0);
  EXPECT_EQ(r.g.mouseY, 0);
}

TEST(Pointer, OnlyMovesSetThePosition) {
  GameRig r;
  r.host.press(1, 123.5f, 45.25f);
  r.host.deliverEvents();
  EXPECT_EQ(r.g.mouseX, 0);
  EXPECT_EQ(r.g.mouseY, 0);
  r.host.move(10.5f, 20);
  r.host.press(2, 300, 300);
  r.host.release(2);
  r.host.deliverEvents();
  EXPECT_EQ(r.g.mouseX, 10.5f);
  EXPECT_EQ(r.g.mouseY, 20);
  // While a button is held the surface keeps receiving moves from outside it.
  r.host.move(-7, 400);
  r.host.deliverEvents();
  EXPECT_EQ(r.g.mouseX, -7);
  EXPECT_EQ(r.g.mouseY, 400);
}

// The title screen takes a press at the top of a frame; one that was pressed and
// released within the same wait is taken there as a held one would be.
TEST(Pointer, PressAndReleaseInOneWaitAreSeenOnce) {
  for (uint32_t holdMs : {0u, 30u, 99u}) {
    GameRig r;
    r.onFrame = [&](int n) {
      if (n == 3) {
        r.host.at(r.g.frameStart + 1, {ScriptedHost::EventType::Down, 1, 50, 50});
        r.host.at(r.g.frameStart + 1 + holdMs, {ScriptedHost::EventType::Up, 1, 50, 50});
      }
      if (n == 20) r.host.close();
    };
    EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
    EXPECT_EQ(r.host.wavesPlayed.size(), 1u) << "held " << holdMs << " ms";
    EXPECT_EQ(r.g.fadeMode, 1);
    EXPECT_FALSE(r.g.leftDown);
  }
}

TEST(Pointer, PressHeldIntoTheNextFrameIsTakenOnce) {
  GameRig r;
  r.onFrame = [&](int n) {
    if (n == 3) {
      r.host.at(r.g.frameStart + 99, {ScriptedHost::EventType::Down, 1, 50, 50});
      r.host.at(r.g.frameStart + 105, {ScriptedHost::EventType::Up, 1, 50, 50});
    }
    if (n == 4) {
      EXPECT_EQ(r.host.wavesPlayed.size(), 1u);
    }
    if (n == 6) r.host.close();
  };
  EXPECT_EQ(r.run([&] { r.g.Form_Load(); }), 0);
  EXPECT_EQ(r.host.wavesPlayed.size(), 1u);
  EXPECT_EQ(r.g.fadeMode, 1);
}

}  // namespace
