// Bitmap files: palette pictures expand to RGB once; bad bytes are refused, not read past.
#include "platform/bmp.h"

#include <gtest/gtest.h>

#include <string>

using platform::Rgb;

namespace {
platform::Surface decode(const std::string& s) {
  return platform::decodeBmp(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}
}  // namespace

TEST(Bmp, EightBitRoundTripExpandsThePalette) {
  const std::vector<Rgb> palette = {{0, 0, 0}, {255, 255, 255}, {10, 200, 30}};
  std::vector<uint8_t> idx(5 * 3);  // odd width: rows are padded
  for (size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<uint8_t>(i % 3);
  const std::string file = platform::encodeBmp8(5, 3, idx, palette);
  EXPECT_EQ(static_cast<uint8_t>(file[28]), 8);
  const auto s = decode(file);
  ASSERT_EQ(s.width(), 5);
  ASSERT_EQ(s.height(), 3);
  EXPECT_EQ(s.pixel(0, 0), palette[0]);
  EXPECT_EQ(s.pixel(2, 0), palette[2]);
  EXPECT_EQ(s.pixel(4, 2), palette[14 % 3]);
}

TEST(Bmp, TwentyFourBitRoundTrip) {
  platform::Surface img(3, 2);
  img.setPixel(2, 1, {67, 205, 251});
  img.setPixel(0, 0, {62, 62, 125});
  EXPECT_EQ(decode(platform::encodeBmp24(img)), img);
}

TEST(Bmp, DamagedFilesAreRefused) {
  platform::Surface img(8, 8, {1, 2, 3});
  const std::string good = platform::encodeBmp24(img);
  EXPECT_THROW(decode(good.substr(0, good.size() - 10)), std::runtime_error);
  EXPECT_THROW(decode("BM"), std::runtime_error);
  EXPECT_THROW(decode(std::string(100, 'x')), std::runtime_error);
  std::string huge = good;
  huge[18] = '\xff';  // width far beyond the data
  huge[19] = '\x7f';
  EXPECT_THROW(decode(huge), std::runtime_error);
  // The most negative height: a top-down picture whose row count cannot be negated.
  std::string lowest = good;
  lowest.replace(22, 4, std::string("\0\0\0\x80", 4));
  EXPECT_THROW(decode(lowest), std::runtime_error);
  // An index beyond a short palette.
  std::string shortPal = platform::encodeBmp8(1, 1, {200}, {{0, 0, 0}});
  shortPal[46] = 2;  // palette of 2 colours claimed
  shortPal[47] = 0;
  EXPECT_THROW(decode(shortPal), std::runtime_error);
}
