// Counting and comparing the pixels of pictures.
#include "tests/support/pixels.h"

#include <cstdio>
#include <sstream>

namespace testing_support {

using platform::Rgb;
using platform::Surface;

std::string str(Rgb c) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "(%d, %d, %d)", c.r, c.g, c.b);
  return buf;
}

Rgb ored(Rgb a, Rgb b) {
  return {static_cast<uint8_t>(a.r | b.r), static_cast<uint8_t>(a.g | b.g),
          static_cast<uint8_t>(a.b | b.b)};
}

int countWhere(const Surface& s, Box box, const std::function<bool(Rgb)>& test) {
  int n = 0;
  for (int y = box.y; y < box.y + box.h; ++y)
    for (int x = box.x; x < box.x + box.w; ++x)
      if (s.contains(x, y) && test(s.pixel(x, y))) ++n;
  return n;
}

int countColour(const Surface& s, int x, int y, int w, int h, Rgb c) {
  return countWhere(s, {x, y, w, h}, [c](Rgb p) { return p == c; });
}

int countColour(const Surface& s, Rgb c) {
  return countColour(s, 0, 0, s.width(), s.height(), c);
}

double blackShare(const Surface& s) {
  return static_cast<double>(countColour(s, platform::kBlack)) / (s.width() * s.height());
}

uint64_t brightness(const Surface& s) {
  uint64_t sum = 0;
  const size_t n = static_cast<size_t>(s.width()) * s.height() * 3;
  for (size_t i = 0; i < n; ++i) sum += s.data()[i];
  return sum;
}

Surface crop(const Surface& s, int x, int y, int w, int h) {
  Surface out(w, h, platform::kBlack);
  platform::bitBlt(out, 0, 0, w, h, s, x, y, platform::Rop::SrcCopy);
  return out;
}

int differences(const Surface& actual, const Surface& expected, std::string* where,
                const std::function<bool(int, int)>& skip) {
  if (actual.width() != expected.width() || actual.height() != expected.height()) {
    if (where) *where = " the pictures differ in size";
    return expected.width() * expected.height();
  }
  int n = 0;
  std::ostringstream out;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      if (skip && skip(x, y)) continue;
      const Rgb a = actual.pixel(x, y), e = expected.pixel(x, y);
      if (a == e) continue;
      if (n++ < 5) out << " (" << x << ", " << y << ") is " << str(a) << " not " << str(e);
    }
  }
  if (where) *where = out.str();
  return n;
}

}  // namespace testing_support
