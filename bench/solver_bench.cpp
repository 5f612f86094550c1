// The stage solver: states per second, and all shipped stages solved exactly and surveyed.
#include <benchmark/benchmark.h>

#include <string>

#include "common/stage_file.h"
#include "game/solve/solver.h"

namespace {

// Two walkers sharing a 6 x 5 room: about 130 000 states, none of them prunable early.
rules::PlayState twoWalkerRoom() {
  rules::PlayState ps;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      ps.playField[x][y] = x < 6 && y < 5 ? common::kUnpainted : common::kEmpty;
  ps.playField[0][0] = common::kWalker;
  ps.playField[5][4] = common::kWalker;
  ps.numberPieces();
  return ps;
}

void runStatesPerSecond(benchmark::State& state, bool prune) {
  const rules::PlayState start = twoWalkerRoom();
  solve::Options options;
  options.prune = prune;
  uint64_t states = 0;
  for (auto _ : state) {
    const solve::Result r = solve::solve(start, options);
    benchmark::DoNotOptimize(r.moves);
    states += r.statesExplored;
  }
  state.SetItemsProcessed(static_cast<int64_t>(states));
  state.counters["states"] = static_cast<double>(states) / static_cast<double>(state.iterations());
}

void BM_SolverStatesPerSecond(benchmark::State& state) {
  runStatesPerSecond(state, true);
}
BENCHMARK(BM_SolverStatesPerSecond)->Unit(benchmark::kMillisecond);

void BM_SolverStatesPerSecondNoPruning(benchmark::State& state) {
  runStatesPerSecond(state, false);
}
BENCHMARK(BM_SolverStatesPerSecondNoPruning)->Unit(benchmark::kMillisecond);

// Runs `each` on every shipped stage and counts the states it answers with.
template <class Each>
void overShippedStages(benchmark::State& state, Each each) {
  common::StageSet set;
  common::loadStageFile(set, std::string(BRACKLE_SOURCE_DIR) + "/assets/stage.stg");
  uint64_t states = 0;
  for (auto _ : state)
    for (int s = 1; s <= common::kStageCount; ++s) states += each(set, s);
  state.SetItemsProcessed(static_cast<int64_t>(states));
}

// Every shipped stage solved to its fewest moves (the goal: well under a minute).
void BM_SolveAllShippedStages(benchmark::State& state) {
  overShippedStages(state, [&](const common::StageSet& set, int s) {
    const solve::Result r = solve::solveStage(set, s);
    if (r.verdict != solve::Verdict::kSolvable) state.SkipWithError("a stage is not solvable");
    return r.statesExplored;
  });
}
BENCHMARK(BM_SolveAllShippedStages)->Unit(benchmark::kMillisecond);

// What brackle-solve prints for the shipped file: every stage solved, then its whole state graph
// surveyed for the dead share, choices and traps (the goal: a few seconds in all).
void BM_ExamineAllShippedStages(benchmark::State& state) {
  overShippedStages(state, [&](const common::StageSet& set, int s) {
    const solve::StageReport r = solve::examineStage(set, s);
    if (!r.depth.complete) state.SkipWithError("a survey hit the state limit");
    return r.depth.reachable;
  });
}
BENCHMARK(BM_ExamineAllShippedStages)->Unit(benchmark::kMillisecond);

// The hardest shipped stage for the search, alone.
void BM_SolveShippedStage30(benchmark::State& state) {
  common::StageSet set;
  common::loadStageFile(set, std::string(BRACKLE_SOURCE_DIR) + "/assets/stage.stg");
  for (auto _ : state) benchmark::DoNotOptimize(solve::solveStage(set, 30).moves);
}
BENCHMARK(BM_SolveShippedStage30)->Unit(benchmark::kMillisecond);

}  // namespace
