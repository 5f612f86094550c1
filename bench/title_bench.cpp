// Cost of one stage-select frame (wave, heading, preview, 150 or 155 text draws), budget 100 ms.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "tests/support/game/game_rig.h"

namespace {

enum Mode { kIdle, kHover, kFadingIn };

// Runs the never-returning screen on the windowless host, one benchmark iteration a frame.
void stageSelectFrame(benchmark::State& state) {
  const auto mode = static_cast<Mode>(state.range(0));
  testing_support::GameRig r;
  game::Game& g = r.g;
  g.Pic.setBackground(r.picture("back.jpg"));
  // Stage 1 has no empty space, so its preview is all 100 cells.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) g.stageSet(x, y, 1) = static_cast<uint8_t>((x + y) % 7);
  for (int i = 0; i < 31; i += 2) g.clearFlag[i] = true;  // both label colours
  if (mode != kIdle) g.mouseX = 100, g.mouseY = 120;      // over stage 1's label

  r.frameLimit = SIZE_MAX;
  r.runMenu([&](int) {
    if (mode == kFadingIn) {
      g.fadeMode = game::kFadingIn;  // keep the fade going: every frame draws one more step
      g.fadeStep = 1;
    } else if (g.fadeMode != 0) {
      return;  // the opening fade-in is not timed
    }
    if (!state.KeepRunning()) throw testing_support::StopRun{};
  });
  state.counters["text_draws"] = mode == kHover ? 155 : 150;
}
BENCHMARK(stageSelectFrame)
    ->ArgName("mode")
    ->Arg(kIdle)
    ->Arg(kHover)
    ->Arg(kFadingIn)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
