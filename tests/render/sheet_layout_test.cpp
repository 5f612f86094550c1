// Checks the embedded sprite sheet and palette image against the layout the game relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "game/render/layout.h"
#include "game/render/sprite_sheet.h"
#include "platform/bmp.h"

namespace {

namespace layout = game::layout;
using layout::Rect;
using platform::Rgb;
using platform::Surface;

// A picture drawn with a mask (AND) and then itself (XOR).
struct Masked {
  std::string name;
  Rect picture;
  int maskX, maskY;
  Masked(std::string n, const layout::Sprite& s)
      : name(std::move(n)), picture(s.picture), maskX(s.maskX), maskY(s.maskY) {}
};

const Surface& sheet() {
  return game::spriteSheet();
}

const Surface& palette() {
  static const Surface s = [] {
    auto b = assets::paletteBmp();
    return platform::decodeBmp(b.data(), b.size());
  }();
  return s;
}

bool isBlack(Rgb c) {
  return c == platform::kBlack;
}
bool isWhite(Rgb c) {
  return c == platform::kWhite;
}
bool isGrey(Rgb c) {
  return c.r == c.g && c.g == c.b;
}
bool light(Rgb c) {
  return isGrey(c) && c.r >= 160;
}

std::vector<Masked> maskedPictures() {
  std::vector<Masked> m;
  m.emplace_back("grass floor", layout::kGrassTile);
  m.emplace_back("earth floor", layout::kEarthTile);
  m.emplace_back("water floor", layout::kWaterTile);
  // In the order of the quarters: up left, up right, down left, down right.
  m.emplace_back("arrow up left", layout::aimArrow(-1, 0));
  m.emplace_back("arrow up right", layout::aimArrow(0, -1));
  m.emplace_back("arrow down left", layout::aimArrow(0, 1));
  m.emplace_back("arrow down right", layout::aimArrow(1, 0));
  for (int p = 0; p < 3; ++p) {
    const std::string f = " frame " + std::to_string(p);
    m.emplace_back("walker" + f, layout::standingPiece(3, p));
    m.emplace_back("turn marker" + f, layout::turnMarker(p));
    m.emplace_back("slider" + f, layout::standingPiece(4, p));
    m.emplace_back("eraser" + f, layout::standingPiece(5, p));
    m.emplace_back("jumper" + f, layout::standingPiece(6, p));
  }
  for (int f = 0; f < 4; ++f) {
    const std::string d = " facing " + std::to_string(f);
    m.emplace_back("walker walking" + d, layout::walking(f));
    m.emplace_back("slider sliding" + d, layout::sliding(f));
    m.emplace_back("jumper jumping" + d, layout::jumping(f));
  }
  return m;
}

// Lettering and buttons, drawn with OR and no mask.
std::vector<std::pair<std::string, Rect>> letteredAreas() {
  std::vector<std::pair<std::string, Rect>> a;
  for (int k = 0; k < 3; ++k) {
    const Rect stage = layout::stageWord(k), heading = layout::stageSelectHeading(k);
    a.push_back({"STAGE frame " + std::to_string(k), stage});
    a.push_back({"SELECT frame " + std::to_string(k),
                 {stage.x + stage.w, heading.y, heading.w - stage.w, heading.h}});
    a.push_back({"CLEAR frame " + std::to_string(k), layout::clearWord(k)});
  }
  a.push_back({"Retry button", layout::kRetryButton});
  a.push_back({"GiveUp button", layout::kGiveUpButton});
  return a;
}

// The opaque part of a picture, from its mask.
std::vector<std::pair<int, int>> opaquePixels(const Masked& m) {
  std::vector<std::pair<int, int>> on;
  for (int y = 0; y < m.picture.h; ++y)
    for (int x = 0; x < m.picture.w; ++x)
      if (isBlack(sheet().pixel(m.maskX + x, m.maskY + y))) on.push_back({x, y});
  return on;
}

bool sameArea(const Rect& a, const Rect& b) {
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x)
      if (!(sheet().pixel(a.x + x, a.y + y) == sheet().pixel(b.x + x, b.y + y))) return false;
  return true;
}

uint32_t le32(std::span<const unsigned char> b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(SheetFile, IsA320By416BitmapWithAnEightBitPalette) {
  auto b = assets::spriteSheetBmp();
  ASSERT_GT(b.size(), 54u);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(b[28] | b[29] << 8, 8);
  EXPECT_EQ(le32(b, 18), 320u);
  EXPECT_EQ(le32(b, 22), 416u);
  EXPECT_EQ(sheet().width(), 320);
  EXPECT_EQ(sheet().height(), 416);
}

TEST(SheetMasks, AreBlackAndWhiteAndHideThePictureOutsideTheShape) {
  for (const Masked& m : maskedPictures()) {
    SCOPED_TRACE(m.name);
    int opaque = 0, coloured = 0, strayPixels = 0, greyMask = 0;
    for (int y = 0; y < m.picture.h; ++y) {
      for (int x = 0; x < m.picture.w; ++x) {
        const Rgb mask = sheet().pixel(m.maskX + x, m.maskY + y);
        const Rgb pic = sheet().pixel(m.picture.x + x, m.picture.y + y);
        if (!isBlack(mask) && !isWhite(mask)) ++greyMask;
        if (isBlack(mask)) {
          ++opaque;
          if (!isBlack(pic)) ++coloured;
        } else if (!isBlack(pic)) {
          ++strayPixels;
        }
      }
    }
    EXPECT_EQ(greyMask, 0) << "mask pixels that are neither black nor white";
    EXPECT_EQ(strayPixels, 0) << "picture pixels where the mask is transparent";
    EXPECT_GT(opaque, 20) << "mask without a shape";
    EXPECT_GT(coloured, opaque / 2) << "picture mostly black inside its mask";
    EXPECT_LT(opaque, m.picture.w * m.picture.h) << "mask hides the whole rectangle";
  }
}

TEST(SheetFloors, ShareOneDiamondThatTilesTheFieldWithoutGapsOrOverlaps) {
  auto inside = [](int x, int y) { return isBlack(sheet().pixel(x, 32 + y)); };
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) {
      EXPECT_EQ(inside(x, y), inside(63 - x, y)) << x << "," << y;
      EXPECT_EQ(inside(x, y), inside(x, 31 - y)) << x << "," << y;
      // The white diamond on black is the same shape.
      EXPECT_EQ(inside(x, y), isWhite(sheet().pixel(256 + x, 32 + y))) << x << "," << y;
    }
  }
  // Cells one step apart are 32 across and 16 down; every pixel of the field's middle
  // must belong to exactly one tile.
  std::vector<int> cover(200 * 120);
  for (int a = -6; a <= 6; ++a)
    for (int b = -6; b <= 6; ++b) {
      const int left = 32 * (a - b) + 60, top = 16 * (a + b) + 40;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
          const int X = left + x, Y = top + y;
          if (X >= 0 && Y >= 0 && X < 200 && Y < 120 && inside(x, y)) ++cover[Y * 200 + X];
        }
    }
  for (int Y = 20; Y < 100; ++Y)
    for (int X = 40; X < 160; ++X) ASSERT_EQ(cover[Y * 200 + X], 1) << X << "," << Y;
  EXPECT_TRUE(inside(32, 16));
  EXPECT_FALSE(inside(0, 0));
}

TEST(SheetFloors, FillTheWholeDiamondAndLookDifferent) {
  const int floors[3] = {0, 64, 192};
  for (int f : floors) {
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x)
        if (isBlack(sheet().pixel(x, 32 + y))) {
          ASSERT_FALSE(isBlack(sheet().pixel(f + x, y)))
              << "hole in floor at " << f << ": " << x << "," << y;
        }
  }
  // Grass is green, earth brown, water blue, judged by the tile's average.
  auto average = [](int left) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x)
        if (isBlack(sheet().pixel(x, 32 + y))) {
          const Rgb c = sheet().pixel(left + x, y);
          r += c.r, g += c.g, b += c.b, ++n;
        }
    return std::vector<double>{r / n, g / n, b / n};
  };
  const auto grass = average(0), earth = average(64), water = average(192);
  EXPECT_GT(grass[1], grass[0]);
  EXPECT_GT(grass[1], grass[2]);
  EXPECT_GT(earth[0], earth[1]);
  EXPECT_GT(earth[1], earth[2]);
  EXPECT_GT(water[2], water[0]);
  EXPECT_GT(water[2], water[1]);
}

TEST(SheetPieces, StandWithTheirFeetAtTheBottomCentreOfTheirBox) {
  for (const Masked& m : maskedPictures()) {
    const bool standing = m.name.rfind("walker", 0) == 0 || m.name.rfind("slider frame", 0) == 0 ||
                          m.name.rfind("eraser", 0) == 0 || m.name.rfind("jumper frame", 0) == 0;
    if (!standing) continue;
    SCOPED_TRACE(m.name);
    int lowest = -1;
    for (auto [x, y] : opaquePixels(m)) lowest = std::max(lowest, y);
    EXPECT_GE(lowest, m.picture.h - 3) << "feet float above the box's bottom edge";
    // The bottom rows' pixels balance around the middle.
    double sum = 0;
    int n = 0;
    for (auto [x, y] : opaquePixels(m))
      if (y >= lowest - 4) sum += x + 0.5, ++n;
    EXPECT_NEAR(sum / n, m.picture.w / 2.0, 3.0);
  }
}

TEST(SheetPieces, StandingFramesAnimateAndEveryDirectionHasItsOwnPicture) {
  for (uint8_t code = 3; code <= 6; ++code) {
    SCOPED_TRACE(code);
    const auto frame = [&](int p) { return layout::standingPiece(code, p).picture; };
    EXPECT_FALSE(sameArea(frame(0), frame(1)));
    EXPECT_FALSE(sameArea(frame(1), frame(2)));
    EXPECT_FALSE(sameArea(frame(0), frame(2)));
  }
  for (auto moving : {layout::walking, layout::sliding, layout::jumping})
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j)
        EXPECT_FALSE(sameArea(moving(i).picture, moving(j).picture)) << i << " " << j;
}

TEST(SheetArrows, PointOutOfTheirQuartersOuterCorner) {
  // The head is wider than the tail, so more of the arrow lies in the half of its
  // quarter toward the corner it points out of.
  const std::vector<Masked> pictures = maskedPictures();
  for (int q = 0; q < 4; ++q) {
    const Masked& m = pictures[3 + q];
    SCOPED_TRACE(m.name);
    const double cornerX = q % 2 == 0 ? 0 : 32, cornerY = q < 2 ? 0 : 16;
    int near = 0, far = 0;
    double closest = 1e9;
    for (auto [x, y] : opaquePixels(m)) {
      // Side of the diagonal through the quarter's centre that runs across the arrow.
      const double along = (x + 0.5 - 16) * (cornerX - 16) / 16 + (y + 0.5 - 8) * (cornerY - 8) / 8;
      (along > 0 ? near : far)++;
      closest = std::min(closest, std::abs(x + 0.5 - cornerX) + 2 * std::abs(y + 0.5 - cornerY));
    }
    EXPECT_GT(near, far);
    EXPECT_LT(closest, 10) << "the tip does not reach the corner";
  }
}

TEST(SheetShadow, IsADitheredOvalInAWhiteArea) {
  int dark = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Rgb c = sheet().pixel(128 + x, y);
      ASSERT_TRUE(isBlack(c) || isWhite(c)) << x << "," << y;
      if (!isBlack(c)) continue;
      ++dark;
      ASSERT_TRUE(x < 32 && y >= 16) << "shadow outside its 32 x 16 place: " << x << "," << y;
      const double u = (x + 0.5 - 16) / 16, v = (y - 16 + 0.5 - 8) / 8;
      EXPECT_LE(u * u + v * v, 1.0) << "outside the oval: " << x << "," << y;
      // A dither: no two dark pixels side by side.
      if (x + 1 < 64) {
        EXPECT_FALSE(isBlack(sheet().pixel(128 + x + 1, y)));
      }
      if (y + 1 < 32) {
        EXPECT_FALSE(isBlack(sheet().pixel(128 + x, y + 1)));
      }
    }
  }
  EXPECT_GT(dark, 60);
}

TEST(SheetLettering, IsLightStrokesOnBlackInThreeHandDrawnFrames) {
  for (const auto& [name, r] : letteredAreas()) {
    SCOPED_TRACE(name);
    int strokes = 0, colour = 0;
    for (int y = 0; y < r.h; ++y)
      for (int x = 0; x < r.w; ++x) {
        const Rgb c = sheet().pixel(r.x + x, r.y + y);
        if (!isGrey(c)) ++colour;
        if (light(c)) ++strokes;
      }
    EXPECT_EQ(colour, 0) << "coloured pixels in OR-drawn lettering";
    EXPECT_GT(strokes, r.w * r.h / 20) << "too few strokes";
    EXPECT_LT(strokes, r.w * r.h / 2) << "more ink than background";
  }
  // The three drawings of a word differ, but only as a redrawing would: the inked
  // extent stays within a few pixels.
  auto extent = [](const Rect& r) {
    int x0 = r.w, x1 = -1, y0 = r.h, y1 = -1;
    for (int y = 0; y < r.h; ++y)
      for (int x = 0; x < r.w; ++x)
        if (light(sheet().pixel(r.x + x, r.y + y)))
          x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    return std::vector<int>{x0, x1, y0, y1};
  };
  for (auto frameOf : {layout::stageSelectHeading, layout::clearWord}) {
    const Rect word = frameOf(0);
    const auto first = extent(word);
    for (int k = 1; k < 3; ++k) {
      const Rect frame = frameOf(k);
      EXPECT_FALSE(sameArea(word, frame)) << "frame " << k << " repeats frame 0";
      const auto e = extent(frame);
      for (int i = 0; i < 4; ++i) EXPECT_NEAR(e[i], first[i], 4) << "frame " << k;
    }
  }
}

TEST(SheetLettering, ButtonsSitInsideAClosedOval) {
  for (int top : {288, 320}) {
    SCOPED_TRACE(top);
    auto inkNear = [&](int x0, int y0, int x1, int y1) {
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
          if (light(sheet().pixel(x, top + y))) return true;
      return false;
    };
    EXPECT_TRUE(inkNear(28, 0, 36, 4)) << "top of the oval";
    EXPECT_TRUE(inkNear(28, 27, 36, 31)) << "bottom of the oval";
    EXPECT_TRUE(inkNear(0, 12, 4, 20)) << "left of the oval";
    EXPECT_TRUE(inkNear(59, 12, 63, 20)) << "right of the oval";
    EXPECT_TRUE(inkNear(16, 10, 48, 22)) << "the word inside";
    EXPECT_FALSE(inkNear(0, 0, 3, 3)) << "ink outside the oval's corner";
  }
}

TEST(SheetPreview, MiniatureCellsAreSolidAndTellTheCodesApart) {
  std::vector<Rgb> centres;
  for (int c = 0; c <= 6; ++c) {
    SCOPED_TRACE(c);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_FALSE(isBlack(sheet().pixel(224 + 8 * c + x, 248 + y)));
    // The cell's top-left pixel is floor; its centre shows the piece, if any.
    const Rgb corner = sheet().pixel(224 + 8 * c, 248),
              centre = sheet().pixel(224 + 8 * c + 3, 248 + 4);
    if (c == 0) {
      EXPECT_TRUE(corner.g > corner.r && corner.g > corner.b);
    }
    if (c >= 1 && c != 2) {
      EXPECT_TRUE(corner.r > corner.g && corner.g > corner.b);
    }
    if (c == 2) {
      EXPECT_TRUE(corner.b > corner.r && corner.b > corner.g);
    }
    if (c >= 3) {
      EXPECT_FALSE(centre == corner) << "no piece on the floor";
    }
    centres.push_back(centre);
  }
  for (int a = 3; a <= 6; ++a)
    for (int b = a + 1; b <= 6; ++b) EXPECT_FALSE(centres[a] == centres[b]) << a << " " << b;
}

TEST(SheetLayout, LeavesEveryUnusedPixelBlack) {
  std::vector<Rect> used = {{0, 0, 320, 64},    {0, 64, 320, 64},  {0, 128, 224, 128},
                            {224, 128, 96, 96}, {224, 248, 56, 8}, {0, 256, 48, 32},
                            {64, 256, 256, 96}, {0, 288, 64, 64},  {0, 352, 224, 64}};
  for (int y = 0; y < 416; ++y)
    for (int x = 0; x < 320; ++x) {
      const bool inUse = std::any_of(used.begin(), used.end(), [&](const Rect& r) {
        return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
      });
      if (!inUse) {
        ASSERT_TRUE(isBlack(sheet().pixel(x, y))) << x << "," << y;
      }
    }
  // The grass texture fills its whole rectangle.
  for (int y = 0; y < 32; ++y)
    for (int x = 256; x < 320; ++x) ASSERT_FALSE(isBlack(sheet().pixel(x, y)));
}

TEST(PaletteImage, HoldsEightCellPicturesWithTheTwoPlainSquares) {
  auto b = assets::paletteBmp();
  ASSERT_GT(b.size(), 54u);
  EXPECT_EQ(b[28] | b[29] << 8, 24);
  ASSERT_EQ(palette().width(), 128);
  ASSERT_EQ(palette().height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(palette().pixel(32 + x, y), (Rgb{67, 205, 251})) << x << "," << y;
      EXPECT_EQ(palette().pixel(112 + x, y), (Rgb{62, 62, 125})) << x << "," << y;
    }
  // The other six are pictures: several colours and no black holes.
  for (int c : {0, 1, 3, 4, 5, 6}) {
    std::vector<Rgb> seen;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const Rgb p = palette().pixel(16 * c + x, y);
        EXPECT_FALSE(isBlack(p)) << c;
        if (std::find(seen.begin(), seen.end(), p) == seen.end()) seen.push_back(p);
      }
    EXPECT_GT(seen.size(), 4u) << c;
  }
  // Grass is green and earth brown, as in the game.
  const Rgb grass = palette().pixel(8, 8), earth = palette().pixel(24, 8);
  EXPECT_TRUE(grass.g > grass.r && grass.g > grass.b);
  EXPECT_TRUE(earth.r > earth.g && earth.g > earth.b);
}

}  // namespace
