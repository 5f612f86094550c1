// The hint's answer time, as the game searches it in slices, from every position along a
// fewest-move solution of each shipped stage and from random playouts of it; and the
// memory its search takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "common/stage_file.h"
#include "game/base/game_state.h"
#include "game/help/hints.h"
#include "game/solve/solver.h"

namespace {

constexpr int kPlayouts = 1000;

struct Answer {
  double ms;
  uint64_t bytes;
};

Answer answerTime(game::Hints& hints, const rules::PlayState& position) {
  const auto start = std::chrono::steady_clock::now();
  hints.ask(position);
  while (!hints.answerFor(position)) hints.workSlice();
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  return {took.count(), hints.answerFor(position)->bytesUsed};
}

// One move by the play loop's rules; false when it is refused or clears the field.
bool step(rules::PlayState& ps, const solve::Move& aim) {
  rules::PlayState next = ps;
  next.aimDX = static_cast<int16_t>(aim.dx), next.aimDY = static_cast<int16_t>(aim.dy);
  if (!next.moveAttempt()) return false;
  next.arrive(next.moveDistance());
  if (next.isCleared()) return false;
  next.turnPass();
  ps = next;
  return true;
}

void BM_HintAnswerTimes(benchmark::State& state) {
  common::StageSet set;
  common::loadStageFile(set, std::string(BRACKLE_SOURCE_DIR) + "/assets/stage.stg");
  std::vector<double> times;
  uint64_t peakBytes = 0;
  int peakStage = 0;
  for (auto _ : state) {
    std::mt19937 random(20261209);
    for (int s = 1; s <= common::kStageCount; ++s) {
      game::GameState g;
      g.stageSet = set;
      game::Hints hints(g);
      rules::PlayState start;
      start.loadStage(set, s);
      start.numberPieces();
      start.turnPass();
      const auto measure = [&](const rules::PlayState& ps) {
        const Answer a = answerTime(hints, ps);
        times.push_back(a.ms);
        if (a.bytes > peakBytes) peakBytes = a.bytes, peakStage = s;
      };
      const solve::Result fewest = solve::solveFrom(start);
      rules::PlayState along = start;
      measure(along);
      for (size_t i = 0; i + 1 < fewest.solution.size(); ++i) {
        step(along, fewest.solution[i]);
        measure(along);
      }
      for (int p = 0; p < kPlayouts; ++p) {
        rules::PlayState ps = start;
        const int moves = static_cast<int>(random() % (2 * fewest.moves + 1));
        for (int m = 0; m < moves; ++m) {
          std::vector<solve::Move> legal;
          for (const solve::Move& aim : solve::kAims)
            if (ps.canMove(aim.dx, aim.dy)) legal.push_back(aim);
          if (legal.empty() || !step(ps, legal[random() % legal.size()])) break;
        }
        measure(ps);
      }
    }
  }
  std::sort(times.begin(), times.end());
  const auto at = [&](double q) { return times[static_cast<size_t>(q * (times.size() - 1))]; };
  state.counters["positions"] = static_cast<double>(times.size());
  state.counters["median_ms"] = at(0.5);
  state.counters["p99_ms"] = at(0.99);
  state.counters["max_ms"] = times.back();
  state.counters["peak_MB"] = static_cast<double>(peakBytes) / (1 << 20);
  state.counters["peak_stage"] = peakStage;
}
BENCHMARK(BM_HintAnswerTimes)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
