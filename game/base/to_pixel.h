// Whole pixels from fractional positions: the nearest integer, halves to even.
#pragma once

#include <cmath>

namespace game {

inline int toPixel(double v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace game
