// Field floors: where each cell's diamond lands, which tile it shows, rounding, clipping.
#include <gtest/gtest.h>

#include "game/render/sprite_sheet.h"
#include "tests/render/render_support.h"

namespace {

using Field = render_test::Field;
using render_test::floorMismatches;
using render_test::shapedSheet;

TEST(FieldFloors, AllGrassAtTheStartOffsetsShowsTheShippedTileAtEveryProjectedCell) {
  const platform::Surface& sheet = game::spriteSheet();
  ASSERT_EQ(sheet.width(), 320);
  ASSERT_EQ(sheet.height(), 416);
  // The diamond mask is opaque at its centre, so the tile's centre pixel shows as it is.
  ASSERT_EQ(sheet.pixel(32, 48), platform::kBlack);
  ASSERT_NE(sheet.pixel(0, 32), platform::kBlack);
  Field rig(sheet);
  rig.fill(common::kUnpainted);
  rig.g.render.drawField();
  const platform::Surface& pic = rig.g.Pic.image;
  const platform::Rgb grassCentre = sheet.pixel(32, 16);
  EXPECT_EQ(pic.pixel(220 + 32, 30 + 16), grassCentre) << "cell (0, 0) at (220, 30)";
  EXPECT_EQ(pic.pixel(220 + 32, 318 + 16), grassCentre) << "cell (9, 9) at (220, 318)";
  // The box corner lies outside the diamond: what was there stays.
  EXPECT_EQ(pic.pixel(220, 30), rig.before.pixel(220, 30));
  // Every pixel, including the cells cut by the edges ((8, 0) at (476, 158), (0, 8) at
  // (-36, 158), (9, 9) down to the last row); nothing was cleared.
  std::string first;
  EXPECT_EQ(floorMismatches(rig.g, rig.before, 220, 30, &first), 0) << first;
}

TEST(FieldFloors, CellsWhollyOutsideTheSurfaceLeaveItUntouched) {
  // (9, 0) lies at (508, 174) and (0, 9) at (-68, 174): off both sides.
  Field rig(shapedSheet());
  rig.put(9, 0, common::kUnpainted);
  rig.put(0, 9, common::kBlock);
  rig.g.render.drawField();
  EXPECT_TRUE(rig.g.Pic.image == rig.before);
  // Moved 40 pixels left, (9, 0) comes partly into view at x 468.
  rig.g.viewX = -90;
  rig.g.render.drawField();
  std::string first;
  EXPECT_EQ(floorMismatches(rig.g, rig.before, 180, 30, &first), 0) << first;
  EXPECT_FALSE(rig.g.Pic.image == rig.before);
}

TEST(FieldFloors, EachCodePicksItsTileAndCodesWithoutAPictureLeaveTheirPlaceShowing) {
  Field rig(shapedSheet());
  const uint8_t codes[] = {0, 1, 2, 7, 8, 9, 200, 0, 2, 1, 8};
  for (int y = 0; y <= 9; ++y)
    for (int x = 0; x <= 9; ++x) rig.put(x, y, codes[(x + 3 * y) % 11]);
  // Ranks as pieces of codes 8 and 9 carry them in play: still no label.
  rig.startTurns();
  ASSERT_GT(rig.g.turnCycle, 2);
  rig.g.viewX = -10, rig.g.viewY = 40;
  rig.g.render.drawField();
  std::string first;
  EXPECT_EQ(floorMismatches(rig.g, rig.before, 260, 40, &first), 0) << first;
}

TEST(FieldFloors, FractionalOffsetsRoundHalfToEven) {
  struct Case {
    double viewX, viewY;
    int left, top;  // where cell (0, 0)'s box must land
  };
  for (const Case c :
       {Case{-49.5, 30, 220, 30}, Case{-48.5, 30, 222, 30}, Case{-50, 30.5, 220, 30},
        Case{-50, 31.5, 220, 32}, Case{-50.25, 29.75, 220, 30}, Case{-49.75, 30.5, 220, 30}}) {
    Field rig(shapedSheet());
    rig.put(0, 0, common::kUnpainted);
    rig.put(3, 1, common::kBlock);
    rig.g.viewX = c.viewX, rig.g.viewY = c.viewY;
    rig.g.render.drawField();
    std::string first;
    EXPECT_EQ(floorMismatches(rig.g, rig.before, c.left, c.top, &first), 0)
        << "viewX " << c.viewX << ", viewY " << c.viewY << ": " << first;
  }
}

}  // namespace
