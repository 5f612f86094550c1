// Helpers for the shell tests: telling frames apart on the scripted host, and picture sums.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/raster.h"
#include "platform/sdl/jpeg.h"
#include "tests/support/frame_hook.h"
#include "tests/support/game_fixture.h"

namespace shell_tests {

// Calls `onFrame`(n) once per frame, n = 1 for the first frame the game paces, at that
// frame's first event delivery (after the frame was drawn). A frame is told from the
// next by its `frameStart`, not by counting deliveries.
inline void watchFrames(testing_support::GameRun& r, std::function<void(int)> onFrame) {
  r.host.onDeliver = testing_support::onEachFrame(
      r.g, [onFrame = std::move(onFrame)](platform::ScriptedHost&, int n) { onFrame(n); });
}

// Sum of all channels of all pixels: smaller is darker.
inline uint64_t brightness(const platform::Surface& s) {
  uint64_t sum = 0;
  const size_t n = static_cast<size_t>(s.width()) * s.height() * 3;
  for (size_t i = 0; i < n; ++i) sum += s.data()[i];
  return sum;
}

inline int countPixels(const platform::Surface& s, platform::Rgb c) {
  int n = 0;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == c;
  return n;
}

inline platform::Surface picture(const testing_support::GameRun& r, const std::string& name) {
  return platform::decodeJpegFile(r.dir.file(name));
}

}  // namespace shell_tests
