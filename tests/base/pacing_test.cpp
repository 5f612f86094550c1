// Frame pacing: the animation phase, how long a frame lasts, late frames, the tick wrap.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/game/game_rig.h"

namespace {

using testing_support::GameRig;

TEST(WaitFrame, AnimPhaseRunsOneTwoOneZero) {
  GameRig r;
  std::vector<int> phases;
  for (int i = 0; i < 8; ++i) {
    r.frame(i % 2 ? 50 : 100);  // the period does not matter to the phase
    phases.push_back(r.g.animPhase);
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 2, 1, 0, 1, 2, 1, 0}));
}

TEST(WaitFrame, EndsAtTheFirstTickPastThePeriodWithoutSpinning) {
  GameRig r;
  for (int period : {100, 50}) {
    const int deliveriesBefore = r.host.deliveries;
    const uint32_t start = r.host.now();
    r.frame(period);
    EXPECT_EQ(r.host.now() - start, static_cast<uint32_t>(period) + 1);
    // An idle frame sleeps in the platform instead of polling it in a loop.
    EXPECT_LE(r.host.deliveries - deliveriesBefore, 2);

    // An event at the period's last tick wakes the wait, which then goes on one more tick.
    const uint32_t next = r.host.now();
    r.host.at(next + static_cast<uint32_t>(period),
              {platform::ScriptedHost::EventType::Move, 0, static_cast<float>(period), 1});
    r.frame(period);
    EXPECT_EQ(r.g.mouseX, period);
    EXPECT_EQ(r.host.now() - next, static_cast<uint32_t>(period) + 1);
  }
}

TEST(WaitFrame, LateFrameDeliversEventsOnceAndReturnsAtOnce) {
  GameRig r;
  r.g.frameStart = r.host.tickCount();
  r.host.advance(250);  // drawing took longer than the period
  r.host.press(1, 10, 10);
  const int deliveriesBefore = r.host.deliveries;
  r.g.pacing.waitFrame(100);
  EXPECT_EQ(r.host.deliveries - deliveriesBefore, 1);
  EXPECT_TRUE(r.g.leftDown);
  EXPECT_EQ(r.host.now() - r.g.frameStart, 250u);  // no lost time caught up
  EXPECT_EQ(r.g.animPhase, 1);

  // Drawing time that each tick reading costs counts against the frame too.
  r.host.costPerTickRead = 150;
  const uint32_t before = r.host.now();
  r.frame();
  EXPECT_EQ(r.host.deliveries - deliveriesBefore, 2);
  EXPECT_EQ(r.host.now() - before, 300u);  // the frame's two readings, nothing waited
}

TEST(WaitFrame, FramesKeepTheirLengthAcrossTheTickWrap) {
  GameRig r({.shippedFiles = false, .startTick = 0xFFFFFFFFu - 250});
  platform::ScriptedHost& host = r.host;
  bool wrapped = false;
  for (int i = 0; i < 6; ++i) {
    const uint32_t start = host.now();
    r.frame();
    EXPECT_EQ(host.now() - start, 101u) << "frame " << i << " started at " << start;
    wrapped = wrapped || host.now() < start;
  }
  EXPECT_TRUE(wrapped);
}

}  // namespace
