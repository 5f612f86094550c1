// Counting and comparing the pixels of pictures, and saying where two differ.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/raster.h"

namespace testing_support {

// A rectangle of a picture.
struct Box {
  int x, y, w, h;
};

// "(r, g, b)", for messages.
std::string str(platform::Rgb c);
// The channels of `a` ORed with those of `b`, as a picture drawn with OR shows.
platform::Rgb ored(platform::Rgb a, platform::Rgb b);

// The pixels inside the box (those of the picture only) for which `test` holds.
int countWhere(const platform::Surface& s, Box box, const std::function<bool(platform::Rgb)>& test);
// The pixels of colour `c`, inside the box or in the whole picture.
int countColour(const platform::Surface& s, int x, int y, int w, int h, platform::Rgb c);
int countColour(const platform::Surface& s, platform::Rgb c);
// The share of the picture's pixels that are black.
double blackShare(const platform::Surface& s);
// The sum of every channel of every pixel: smaller is darker.
uint64_t brightness(const platform::Surface& s);

// The w x h part of `s` at (x, y); what lies outside `s` is black.
platform::Surface crop(const platform::Surface& s, int x, int y, int w, int h);

// How many pixels of `actual` differ from `expected` (same size), leaving out those for
// which `skip`(x, y) holds; the first few are described in `where`.
int differences(const platform::Surface& actual, const platform::Surface& expected,
                std::string* where = nullptr, const std::function<bool(int, int)>& skip = nullptr);

}  // namespace testing_support
