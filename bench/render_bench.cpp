// Cost of a play frame (clear, then the whole field with its labels) and of a move frame.
#include <benchmark/benchmark.h>

#include "tests/support/game/game_rig.h"

namespace {

// A game on a windowless host whose Pic has a busy background picture.
struct Bench : testing_support::GameRig {
  Bench() : GameRig({.shippedFiles = false}) {
    platform::Surface back(game::kPicWidth, game::kPicHeight);
    for (int y = 0; y < back.height(); ++y)
      for (int x = 0; x < back.width(); ++x)
        back.setPixel(x, y, {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 60});
    g.Pic.setBackground(back);
  }
  // Every cell floor or block, and a piece on every `every`-th cell, kinds in turn.
  void busyField(int every) {
    int n = 0;
    for (int y = 0; y <= 9; ++y) {
      for (int x = 0; x <= 9; ++x, ++n) {
        g.playField[x][y] = static_cast<uint8_t>(n % every == 0 ? 3 + (n / every) % 4 : n % 3);
        g.turnRank[x][y] = 0;
      }
    }
    g.numberPieces();
    g.turnPass();
  }
};

void playFrame(benchmark::State& state) {
  Bench b;
  b.busyField(static_cast<int>(state.range(0)));
  state.counters["labels"] = b.g.turnCycle - 2;
  for (auto _ : state) {
    b.g.Pic.clear();
    b.g.render.drawField();
    benchmark::DoNotOptimize(b.g.Pic.image.data());
  }
}
// 100 pieces (99 labels), 50, 25 and 10.
BENCHMARK(playFrame)->Arg(1)->Arg(2)->Arg(4)->Arg(10)->Unit(benchmark::kMicrosecond);

// One call moves a slider two cells in six frames over a field of 25 pieces; the time
// per frame is the "frame" counter.
void moveAnimation(benchmark::State& state) {
  Bench b;
  b.busyField(4);
  // The active piece is the first in scan order, (0, 0); make it a slider sliding
  // toward x + 1 over two unpainted cells.
  b.g.playField[0][0] = common::kSlider;
  b.g.playField[1][0] = b.g.playField[2][0] = common::kUnpainted;
  b.g.aimDX = 1, b.g.aimDY = 0;
  if (!b.g.moveAttempt() || b.g.moveDistance() != 2) {
    state.SkipWithError("the slide is not legal");
    return;
  }
  const rules::PlayState leaving = b.g;
  for (auto _ : state) {
    static_cast<rules::PlayState&>(b.g) = leaving;
    b.g.play.animateMove();
    benchmark::DoNotOptimize(b.g.Pic.image.data());
  }
  state.counters["frame"] = benchmark::Counter(
      6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(moveAnimation)->Unit(benchmark::kMicrosecond);

}  // namespace
