// The editor's proof: from a stroke to the status line for each shipped stage, on its timer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "editor/editor_form.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(100);  // the window's timer

std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

// A cell of stage s that holds a block or empty space: both stop every piece and never change,
// so repainting one as the other leaves the puzzle as it was.
bool inertCell(const common::StageSet& set, int s, int* x, int* y) {
  for (*y = 0; *y < 10; ++*y)
    for (*x = 0; *x < 10; ++*x)
      if (set(*x, *y, s) == common::kBlock || set(*x, *y, s) == common::kEmpty) return true;
  return false;
}

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The form as the window drives it: a stroke, then a tick every 100 ms until the status holds
// the whole proof (the time measured), noting when its verdict showed. Every tick is timed,
// and how late it started against its schedule.
void runStrokeToStatus(benchmark::State& state, editor::EditorForm& form, int x, int y,
                       uint8_t code, uint8_t other) {
  double late = 0, longestTick = 0, verdict = 0;
  const float px = 16.0f * x + 8, py = 16.0f * y + 8;
  auto stroke = [&](uint8_t c) {
    form.selCode = c;
    form.Pic_MouseDown(1, px, py);
    form.Pic_MouseUp(1);
  };
  for (auto _ : state) {
    // Off the clock: the cell as the other kind, its proof shown.
    stroke(other);
    form.finishProof();
    form.Timer1_Timer();
    // The stroke that gives the stage back, just after a tick: the longest wait for the next.
    const Clock::time_point start = Clock::now();
    stroke(code);
    Clock::time_point next = start + kTick;
    bool shown = false;
    for (;;) {
      std::this_thread::sleep_until(next);
      const Clock::time_point woke = Clock::now();
      late = std::max(late, ms(woke - next));
      form.Timer1_Timer();
      longestTick = std::max(longestTick, ms(Clock::now() - woke));
      if (!shown && firstLine(form.Label4) != editor::provingLines().front()) {
        shown = true;
        verdict = std::max(verdict, ms(Clock::now() - start));
      }
      if (form.proofSettled()) break;
      next += kTick;
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.counters["verdict_ms"] = verdict;  // the longest wait for the first line
  state.counters["late_ms"] = late;
  state.counters["tick_ms"] = longestTick;
  state.SetLabel(firstLine(form.Label4));
}

void fail(const common::FileError&) {}

// Each shipped stage (goal: under 1 s, no tick later than one period).
void BM_StrokeToStatus(benchmark::State& state) {
  const int s = static_cast<int>(state.range(0));
  const platform::Surface palette(editor::kPaletteWidth, editor::kPaletteHeight);
  editor::EditorForm form(BRACKLE_SOURCE_DIR "/assets/stage.stg", palette, fail);
  form.Form_Load();
  form.stage = s;
  form.stage_Change();
  int x, y;
  if (!inertCell(form.stageSet, s, &x, &y)) {
    state.SkipWithError("no block or empty space to repaint");
    return;
  }
  const uint8_t code = form.stageSet(x, y, s);
  runStrokeToStatus(state, form, x, y, code,
                    code == common::kBlock ? common::kEmpty : common::kBlock);
}
BENCHMARK(BM_StrokeToStatus)
    ->DenseRange(1, common::kStageCount)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A stage far too open to prove: two walkers, a slider and a jumper on a field of grass. The
// state bound decides how long it takes to say so.
void BM_StrokeToStatusTooBig(benchmark::State& state) {
  const platform::Surface palette(editor::kPaletteWidth, editor::kPaletteHeight);
  editor::EditorForm form(BRACKLE_SOURCE_DIR "/assets/stage.stg", palette, fail);
  form.Form_Load();
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) form.stageSet(x, y, 1) = common::kUnpainted;
  form.stageSet(0, 0, 1) = common::kWalker;
  form.stageSet(9, 9, 1) = common::kWalker;
  form.stageSet(9, 0, 1) = common::kSlider;
  form.stageSet(0, 9, 1) = common::kJumper;
  form.stageSet(5, 9, 1) = common::kBlock;
  runStrokeToStatus(state, form, 5, 9, common::kBlock, common::kEmpty);
}
BENCHMARK(BM_StrokeToStatusTooBig)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
