// Block transfers, lines and fills on Surfaces: the operations every picture is made of.
#include "platform/raster.h"

#include <gtest/gtest.h>

using platform::bitBlt;
using platform::Rgb;
using platform::Rop;
using platform::Surface;

TEST(BitBlt, RasterOperationsAreBitwisePerChannel) {
  const Rgb d{0b11001100, 0x0f, 200}, s{0b10101010, 0xf0, 55};
  const struct {
    Rop rop;
    Rgb want;
  } cases[] = {
      {Rop::SrcCopy, s},
      {Rop::SrcAnd, {0b10001000, 0x00, 200 & 55}},
      {Rop::SrcInvert, {0b01100110, 0xff, 200 ^ 55}},
      {Rop::SrcPaint, {0b11101110, 0xff, 200 | 55}},
  };
  for (const auto& c : cases) {
    Surface dst(2, 2, d);
    const Surface src(2, 2, s);
    bitBlt(dst, 0, 0, 2, 2, src, 0, 0, c.rop);
    EXPECT_EQ(dst.pixel(1, 1), c.want);
  }
}

TEST(BitBlt, TransparentBlitKeepsBackgroundWhereTheMaskIsWhite) {
  // Picture red on black, mask black where opaque: AND then XOR.
  Surface sheet(4, 1, platform::kBlack);
  sheet.setPixel(0, 0, {255, 0, 0});       // picture: opaque red, then transparent black
  sheet.setPixel(2, 0, platform::kBlack);  // mask: opaque
  sheet.setPixel(3, 0, platform::kWhite);  // mask: transparent
  Surface dst(2, 1, {10, 20, 30});
  bitBlt(dst, 0, 0, 2, 1, sheet, 2, 0, Rop::SrcAnd);
  bitBlt(dst, 0, 0, 2, 1, sheet, 0, 0, Rop::SrcInvert);
  EXPECT_EQ(dst.pixel(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(dst.pixel(1, 0), (Rgb{10, 20, 30}));
}

TEST(BitBlt, ClipsAgainstDestinationAndSourceTogether) {
  Surface src(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.setPixel(x, y, {uint8_t(x), uint8_t(y), 9});
  Surface dst(3, 3, platform::kWhite);
  // Off the top-left: source pixel (2, 1) lands on (0, 0).
  bitBlt(dst, -2, -1, 4, 4, src, 0, 0, Rop::SrcCopy);
  EXPECT_EQ(dst.pixel(0, 0), (Rgb{2, 1, 9}));
  EXPECT_EQ(dst.pixel(1, 2), (Rgb{3, 3, 9}));
  EXPECT_EQ(dst.pixel(2, 0), platform::kWhite);  // beyond the source's right edge
  // A source rectangle starting outside its surface moves the destination with it.
  Surface d2(3, 3, platform::kWhite);
  bitBlt(d2, 0, 0, 3, 3, src, -1, 2, Rop::SrcCopy);
  EXPECT_EQ(d2.pixel(0, 0), platform::kWhite);
  EXPECT_EQ(d2.pixel(1, 0), (Rgb{0, 2, 9}));
  EXPECT_EQ(d2.pixel(1, 2), platform::kWhite);  // source row 4 does not exist
  // Wholly outside: nothing, and no out-of-range access.
  bitBlt(dst, 500, -900, 64, 32, src, 0, 0, Rop::SrcCopy);
  bitBlt(dst, 0, 0, 64, 32, src, 300, 0, Rop::SrcCopy);
}

TEST(Lines, BothEndsDrawnAndClippedLinesKeepTheirPixels) {
  Surface s(10, 10, platform::kWhite);
  platform::drawLine(s, 1, 1, 8, 4, platform::kBlack);
  EXPECT_EQ(s.pixel(1, 1), platform::kBlack);
  EXPECT_EQ(s.pixel(8, 4), platform::kBlack);
  // The same steep line drawn from far outside hits the same pixels inside.
  Surface a(20, 20, platform::kWhite), b(20, 20, platform::kWhite);
  platform::drawLine(a, -250, 0, 749, 350, platform::kBlack);
  Surface big(1100, 400, platform::kWhite);
  platform::drawLine(big, 0, 0, 999, 350, platform::kBlack);
  platform::bitBlt(b, 0, 0, 20, 20, big, 250, 0, Rop::SrcCopy);
  EXPECT_EQ(a, b);
  // Both ends off the same side: nothing at all.
  Surface c(10, 10, platform::kWhite);
  platform::drawLine(c, -5, 0, -1, 9, platform::kBlack);
  platform::drawLine(c, 10, 0, 30, 9, platform::kBlack);
  EXPECT_EQ(c, Surface(10, 10, platform::kWhite));
}

TEST(Fills, RectanglesAndOutlinesStayInside) {
  Surface s(5, 5, platform::kWhite);
  platform::fillRect(s, -3, 3, 10, 10, platform::kBlack);
  EXPECT_EQ(s.pixel(0, 4), platform::kBlack);
  EXPECT_EQ(s.pixel(4, 2), platform::kWhite);
  Surface o(20, 20, platform::kWhite);
  platform::drawRectOutline(o, 16, 0, 31, 15, {255, 0, 0});
  EXPECT_EQ(o.pixel(16, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(o.pixel(16, 15), (Rgb{255, 0, 0}));
  EXPECT_EQ(o.pixel(17, 1), platform::kWhite);
}

TEST(PictureBox, ClearingRestoresTheBackgroundPicture) {
  platform::PictureBox box(4, 3, platform::kWhite);
  box.image.setPixel(1, 1, {1, 2, 3});
  box.clear();
  EXPECT_EQ(box.image, Surface(4, 3, platform::kWhite));
  Surface pic(2, 2, {9, 9, 9});
  box.setBackground(pic);
  box.clear();
  EXPECT_EQ(box.image.pixel(1, 1), (Rgb{9, 9, 9}));
  EXPECT_EQ(box.image.pixel(3, 2), platform::kBlack);  // beyond a smaller picture
}
