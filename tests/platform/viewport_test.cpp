// The scalable window: whole-number scale, centred, and pointer positions mapped back.
#include "platform/viewport.h"

#include <gtest/gtest.h>

using platform::fitViewport;

TEST(Viewport, OpeningSizeIsOneToOneAtTheTopLeft) {
  const auto v = fitViewport(501, 351, 500, 350);
  EXPECT_EQ(v.scale, 1);
  EXPECT_EQ(v.left, 0);
  EXPECT_EQ(v.top, 0);
  EXPECT_FLOAT_EQ(v.toSurfaceX(436), 436);
}

TEST(Viewport, MaximisedFullHdUsesScaleThreeCentred) {
  const auto v = fitViewport(1920, 1080, 500, 350);
  EXPECT_EQ(v.scale, 3);
  EXPECT_EQ(v.left, (1920 - 1500) / 2);
  EXPECT_EQ(v.top, (1080 - 1050) / 2);
}

TEST(Viewport, ButtonsHitAtScaledPositionsWithTheSameStrictEdges) {
  const auto v = fitViewport(1920, 1080, 500, 350);
  // The retry button is x > 436, y < 32 on the surface.
  const int retryX = v.left + 460 * v.scale, retryY = v.top + 10 * v.scale;
  EXPECT_GT(v.toSurfaceX(retryX), 436);
  EXPECT_LT(v.toSurfaceY(retryY), 32);
  // The last window pixel of surface column 436 is still 436.67: a button hit,
  // while the first pixel of that column is exactly 436: a move.
  EXPECT_FLOAT_EQ(v.toSurfaceX(v.left + 436 * 3), 436);
  EXPECT_GT(v.toSurfaceX(v.left + 436 * 3 + 2), 436);
  // The black border maps outside the surface.
  EXPECT_LT(v.toSurfaceX(0), 0);
}

TEST(Viewport, SmallerThanTheSurfaceStaysAtScaleOne) {
  const auto v = fitViewport(300, 200, 500, 350);
  EXPECT_EQ(v.scale, 1);
  EXPECT_EQ(v.left, 0);
  EXPECT_EQ(v.top, 0);
}
