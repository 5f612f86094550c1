// Cost of playing, through the play loop itself: one whole play frame (field, marker,
// arrow, buttons, input, the frame wait) against its 100 ms, and one frame of a move
// made by a click against its 50 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "tests/support/game/game_rig.h"
#include "tools/stage_design/stage_text.h"

namespace {

// Stage 1 from rows of the stage grid form's letters; cells left out are empty space.
common::StageSet stage(std::initializer_list<const char*> rows) {
  common::StageSet set;
  stage_design::fillStage(set, 1, {rows.begin(), rows.end()});
  return set;
}

// A game on the windowless host, entered into stage 1 of `set` as the stage select does.
struct Play : testing_support::GameRig {
  explicit Play(const common::StageSet& set) { enter(set, 1); }
  bool moving() const { return g.hasPiece() && !rules::isPiece(g.playField[g.activeX][g.activeY]); }
};

// Every frame after the fade-in, with the pointer resting on the active piece's lower
// right (the arrow shows on half of the frames).
void playFrame(benchmark::State& state, const common::StageSet& set) {
  Play p(set);
  p.frameLimit = SIZE_MAX;
  const auto box = p.g.render.tileBox(p.g.activeX, p.g.activeY);
  p.g.mouseX = static_cast<float>(box.left + 50);
  p.g.mouseY = static_cast<float>(box.top + 30);
  p.onFrame = [&](int) {
    if (p.g.fadeMode != 0) return;
    if (!state.KeepRunning()) throw testing_support::StopRun{};
  };
  p.runMainL();
  state.counters["labels"] = p.g.turnCycle - 2;
  state.SetLabel("period 100 ms");
}

// The stage of the play tests: four pieces, three labels.
BENCHMARK_CAPTURE(playFrame, fourPieces, stage({"ooEo", "o.o#", "JW..", "#S.."}))
    ->Unit(benchmark::kMicrosecond);
// Every other cell a piece: 50 pieces, 49 labels.
BENCHMARK_CAPTURE(playFrame, fiftyPieces,
                  stage({"W.S.E.J.W.", ".J.W.S.E.J", "S.E.J.W.S.", ".W.S.E.J.W", "E.J.W.S.E.",
                         ".S.E.J.W.S", "J.W.S.E.J.", ".E.J.W.S.E", "W.S.E.J.W.", ".J.W.S.E.J"}))
    ->Unit(benchmark::kMicrosecond);

// An eraser and a walker chase each other round a ring of six cells for ever: the walker
// paints, the eraser unpaints behind it, so the stage never clears. The pointer aims each
// piece at the next cell of the ring and clicks; only frames that follow another move
// frame are timed, so each timed span is one 50 ms move frame and its wait.
void moveFrame(benchmark::State& state) {
  // Ring (0,0) (1,0) (2,0) (2,1) (1,1) (0,1) in a field of painted floor and blocks, so
  // every frame draws all 100 tiles. No other piece: each would need a move of its own.
  Play p(stage({"EoW#o#o#o#", "...#o#o#o#", "#o#o#o#o#o", "o#o#o#o#o#", "#o#o#o#o#o", "o#o#o#o#o#",
                "#o#o#o#o#o", "o#o#o#o#o#", "#o#o#o#o#o", "o#o#o#o#o#"}));
  const auto next = [](int x, int y) {
    if (y == 0) return x < 2 ? std::pair{x + 1, 0} : std::pair{2, 1};
    return x > 0 ? std::pair{x - 1, 1} : std::pair{0, 0};
  };
  using Clock = std::chrono::steady_clock;
  Clock::time_point last;
  bool lastMoving = false, pressed = false, running = false;
  int still = 0;  // frames since the last move frame
  p.frameLimit = SIZE_MAX;
  p.onFrame = [&](int) {
    platform::ScriptedHost& h = p.host;
    if (p.g.fadeMode != 0) return;
    const auto now = Clock::now();
    const bool moving = p.moving();
    still = moving ? 0 : still + 1;
    if (still > 20) {
      state.SkipWithError("the pieces stopped moving");
      throw testing_support::StopRun{};
    }
    if (moving && lastMoving) {
      if (running) {
        state.SetIterationTime(std::chrono::duration<double>(now - last).count());
        if (!state.KeepRunning()) throw testing_support::StopRun{};
      } else {
        running = state.KeepRunning();
      }
    }
    last = now;
    lastMoving = moving;
    if (pressed) {
      h.release(1);
      pressed = false;
    } else if (!moving && p.g.animStep == 1) {
      // The coming frame shows the arrow, aims, then takes the press.
      const auto [tx, ty] = next(p.g.activeX, p.g.activeY);
      const int dx = tx - p.g.activeX, dy = ty - p.g.activeY;
      const auto box = p.g.render.tileBox(p.g.activeX, p.g.activeY);
      const double cx = box.left + 32, cy = box.top + 16;
      const bool right = dx == 1 || dy == -1, up = dx == -1 || dy == -1;
      h.move(static_cast<float>(cx + (right ? 20 : -20)), static_cast<float>(cy + (up ? -10 : 10)));
      h.press(1, 0, 0);
      pressed = true;
    }
  };
  p.runMainL();
  state.SetLabel("period 50 ms");
}
BENCHMARK(moveFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
