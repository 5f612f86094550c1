// Cost of a title frame (idle and fading out) against its 100 ms, and of reading the files.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "common/atomic_file.h"
#include "common/stage_file.h"
#include "game/base/clear_record.h"
#include "game/render/sprite_sheet.h"
#include "game/shell/game.h"
#include "platform/scripted/scripted_host.h"
#include "platform/sdl/ttf_font.h"
#include "tests/support/frame_hook.h"
#include "tests/support/game_fixture.h"

namespace {

// The master loop on the windowless host, from the shipped files, one iteration a frame.
// The run is stopped before it closes, so nothing is written beside the assets.
void titleFrame(benchmark::State& state) {
  const bool fading = state.range(0) != 0;
  platform::ScriptedHost host(BRACKLE_SOURCE_DIR "/assets", testing_support::gameFont(),
                              testing_support::pictureReader());
  game::Game g(host, game::spriteSheet());
  host.onDeliver = testing_support::onEachFrame(g, [&](platform::ScriptedHost&, int) {
    if (fading) {
      g.fadeMode = game::kFadingOut;  // keep the fade going: every frame draws one more step
      g.fadeStep = 1;
    }
    if (!state.KeepRunning()) throw testing_support::StopRun{};
  });
  try {
    g.Form_Load();
  } catch (const testing_support::StopRun&) {
  }
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
