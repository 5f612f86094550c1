// Cost of a title frame (idle and fading out) against its 100 ms, and of reading the files.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "game/base/clear_record.h"
#include "tests/support/game/game_rig.h"

namespace {

// The master loop on the windowless host, from the shipped files, one iteration a frame.
void titleFrame(benchmark::State& state) {
  const bool fading = state.range(0) != 0;
  testing_support::GameRig r;
  game::Game& g = r.g;
  r.frameLimit = SIZE_MAX;
  r.onFrame = [&](int) {
    if (fading) {
      g.fadeMode = game::kFadingOut;  // keep the fade going: every frame draws one more step
      g.fadeStep = 1;
    }
    if (!state.KeepRunning()) throw testing_support::StopRun{};
  };
  r.run([&] { g.Form_Load(); });
}
BENCHMARK(titleFrame)->ArgName("fading")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void parseStageFile(benchmark::State& state) {
  const std::string text = common::readWholeFile(BRACKLE_SOURCE_DIR "/assets/stage.stg");
  common::StageSet set;
  for (auto _ : state) benchmark::DoNotOptimize(common::parseStageText(set, text));
}
BENCHMARK(parseStageFile);

void clearRecordRoundTrip(benchmark::State& state) {
  bool flags[31] = {};
  for (int i = 0; i < 31; i += 3) flags[i] = true;
  for (auto _ : state) {
    const std::string text = game::formatClearRecord(flags);
    benchmark::DoNotOptimize(game::parseClearRecord(text, flags));
  }
}
BENCHMARK(clearRecordRoundTrip);

}  // namespace
