// Field pieces and turn labels: frames, masks, placement, overlap, colours and leftovers.
#include <gtest/gtest.h>

#include "tests/render/render_support.h"

namespace {

using platform::Rgb;
using platform::Surface;
using Field = render_test::Field;
using render_test::shapedSheet;
using testing_support::str;

// Where a resting piece of each code is taken from and put, relative to its cell's tile
// box (L, T), in animation frame p.
struct PieceSprite {
  int dx, dy, w, h, sx, sy, mx, my;
};
PieceSprite spriteOf(uint8_t code, int p) {
  switch (code) {
    case 3:
      return {16, -16, 32, 32, 32 * p, 64, 32 * p, 96};
    case 4:
      return {16, -48, 32, 64, 32 * p, 128, 32 * p, 192};
    case 5:
      return {24, 0, 16, 16, 16 * p, 256, 16 * p, 272};
    default:
      return {16, -16, 32, 32, 32 * p, 352, 32 * p, 384};
  }
}

// Counts the pixels of `got` that differ from `under`, except where the piece sprite at
// (x, y) is opaque, which must show the sprite's picture.
int spriteMismatches(const Surface& got, const Surface& under, const Surface& sheet,
                     const PieceSprite& s, int x, int y, std::string* first) {
  Surface want = under;
  for (int j = 0; j < s.h; ++j)
    for (int i = 0; i < s.w; ++i)
      if (want.contains(x + i, y + j) && sheet.pixel(s.mx + i, s.my + j) == platform::kBlack)
        want.setPixel(x + i, y + j, sheet.pixel(s.sx + i, s.sy + j));
  return testing_support::differences(got, want, first);
}

TEST(FieldPieces, EachCodeStandsOnPaintedFloorInTheFrameOfTheAnimationPhase) {
  // The active piece (rank = turnCycle) carries no label, so only its picture differs
  // from the same cell holding painted floor. Phase 2 takes the frog from (64, 352) and
  // the worm from (32, 256).
  for (uint8_t code = 3; code <= 6; ++code) {
    for (int p = 0; p <= 2; ++p) {
      Field with(shapedSheet()), floor(shapedSheet());
      for (Field* r : {&with, &floor}) {
        r->fill(common::kUnpainted);
        r->g.turnCycle = 2;
        r->g.animPhase = p;
      }
      with.put(4, 4, code, 2);
      floor.put(4, 4, common::kPainted);
      with.g.render.drawField();
      floor.g.render.drawField();
      // Cell (4, 4): L = 220, T = 158.
      const PieceSprite s = spriteOf(code, p);
      std::string first;
      EXPECT_EQ(spriteMismatches(with.g.Pic.image, floor.g.Pic.image, shapedSheet(), s, 220 + s.dx,
                                 158 + s.dy, &first),
                0)
          << "code " << int(code) << ", phase " << p << ": " << first;
    }
  }
}

TEST(FieldPieces, ATallSliderLiesOverTheCellsBehindItAndUnderThePieceInFront) {
  // Sliders on (4, 4) and (5, 5): the first reaches up over the diamonds of (3, 4),
  // (4, 3) and (3, 3); the second, drawn later, over the first one's lower half.
  Field with(shapedSheet()), floor(shapedSheet());
  for (Field* r : {&with, &floor}) {
    r->fill(common::kUnpainted);
    r->g.turnCycle = 3;
  }
  with.put(4, 4, common::kSlider, 3);
  with.put(5, 5, common::kSlider, 3);
  floor.put(4, 4, common::kPainted);
  floor.put(5, 5, common::kPainted);
  with.g.render.drawField();
  floor.g.render.drawField();
  const Surface& got = with.g.Pic.image;
  const Surface& sheet = shapedSheet();
  const PieceSprite s = spriteOf(common::kSlider, 0);
  auto opaque = [&](int i, int j) {
    return i >= 0 && j >= 0 && i < s.w && j < s.h && sheet.pixel(i, 192 + j) == platform::kBlack;
  };
  // (4, 4): L 220, T 158; (5, 5): L 220, T 190.
  const int backX = 236, backY = 110, frontX = 236, frontY = 142;
  int overBehind = 0, overSlider = 0, wrong = 0;
  std::string first;
  for (int py = 0; py < got.height(); ++py) {
    for (int px = 0; px < got.width(); ++px) {
      Rgb want = floor.g.Pic.image.pixel(px, py);
      if (opaque(px - frontX, py - frontY)) {
        want = sheet.pixel(px - frontX, 128 + py - frontY);
        if (opaque(px - backX, py - backY)) ++overSlider;
      } else if (opaque(px - backX, py - backY)) {
        want = sheet.pixel(px - backX, 128 + py - backY);
        // Inside a diamond of a cell behind: (3, 4) at (188, 142), (4, 3) at (252, 142),
        // (3, 3) at (220, 126).
        for (auto [l, t] : {std::pair{188, 142}, {252, 142}, {220, 126}})
          if (px - l >= 0 && px - l < 64 && py - t >= 0 && py - t < 32 &&
              testing_support::inDiamond(px - l, py - t))
            ++overBehind;
      }
      if (got.pixel(px, py) != want && wrong++ == 0)
        first = "pixel (" + std::to_string(px) + ", " + std::to_string(py) + ") is " +
                str(got.pixel(px, py)) + ", want " + str(want);
    }
  }
  EXPECT_GT(overBehind, 100);
  EXPECT_GT(overSlider, 100);
  EXPECT_EQ(wrong, 0) << first;
}

TEST(TurnLabels, ThreePiecesShowTheirTurnsInShadesAndTheActiveOneNothing) {
  Field rig(shapedSheet());
  rig.put(2, 2, common::kWalker);
  rig.put(5, 3, common::kJumper);
  rig.put(3, 6, common::kEraser);
  rig.startTurns();
  ASSERT_EQ(rig.g.turnCycle, 4);
  ASSERT_EQ(rig.g.turnRank[2][2], 4);
  ASSERT_EQ(rig.g.turnRank[5][3], 2);
  ASSERT_EQ(rig.g.turnRank[3][6], 3);
  rig.g.render.drawField();
  const Surface& pic = rig.g.Pic.image;
  platform::Font& font = rig.g.render.font;
  // (5, 3): L 284, T 158, label at (319, 163). Shade 255 - 63.75 = 191.25.
  EXPECT_EQ(render_test::checkLabel(pic, font, " 1 ", 319, 163, {34, 20, 140}, {191, 191, 191}),
            "");
  // (3, 6): L 124, T 174, label at (159, 179). Shade 127.5 gives grey 128.
  EXPECT_EQ(render_test::checkLabel(pic, font, " 2 ", 159, 179, {66, 20, 140}, {128, 128, 128}),
            "");
  // (2, 2), the active piece: L 220, T 94; a rank-4 label would be grey 64 on (98, 20, 140).
  EXPECT_EQ(testing_support::countColour(pic, 250, 90, 60, 40, {64, 64, 64}), 0);
  EXPECT_EQ(testing_support::countColour(pic, 250, 90, 60, 40, {98, 20, 140}), 0);
  // The shade is computed for every cell, so it ends with that of the empty cell (9, 9).
  EXPECT_DOUBLE_EQ(rig.g.labelShade, 255 + 63.75);
  rig.g.turnRank[9][9] = 3;
  rig.g.render.drawField();
  EXPECT_DOUBLE_EQ(rig.g.labelShade, 127.5);
}

TEST(TurnLabels, PositionsRoundTheirSumsAndColoursRoundHalvesToEven) {
  // Cell (0, 0) at viewX -48.5, viewY 30.5: L 221.5, T 30.5. The label goes to
  // (256.5, 35.5) rounded, (256, 36); rounding L and T first would give (257, 35).
  // Rank 21 of 51: shade 255 - 5 * 20 = 155, outline red 130 - 77.5 = 52.5, so 52.
  Field rig(shapedSheet());
  rig.put(0, 0, common::kWalker, 21);
  rig.g.turnCycle = 51;
  rig.g.viewX = -48.5, rig.g.viewY = 30.5;
  rig.g.render.drawField();
  const Surface& pic = rig.g.Pic.image;
  EXPECT_EQ(render_test::checkLabel(pic, rig.g.render.font, " 20 ", 256, 36, {52, 20, 140},
                                    {155, 155, 155}),
            "");
  // The walker at (237.5, 14.5) rounded, (238, 14): its rows above the label.
  const PieceSprite s = spriteOf(common::kWalker, 0);
  for (int j = 0; j < 16; ++j) {
    for (int i = 0; i < s.w; ++i) {
      if (shapedSheet().pixel(s.mx + i, s.my + j) == platform::kBlack) {
        ASSERT_EQ(pic.pixel(238 + i, 14 + j), shapedSheet().pixel(s.sx + i, s.sy + j))
            << i << ", " << j;
      }
    }
  }
}

}  // namespace
