// Telling frames apart on the scripted host: a frame delivers events more than once, and
// is known by its new start tick.
#pragma once

#include <cstdint>
#include <functional>

#include "game/shell/game.h"
#include "platform/scripted/scripted_host.h"

namespace testing_support {

// Thrown from a frame hook to leave a screen that never returns by itself.
struct StopRun {};

// A delivery hook that calls `onFrame`(host, n) once per frame of `g`, n = 1 for the
// first, at the frame's first event delivery (after the frame was drawn).
inline std::function<void(platform::ScriptedHost&)> onEachFrame(
    const game::Game& g, std::function<void(platform::ScriptedHost&, int)> onFrame) {
  return [&g, onFrame = std::move(onFrame), frames = 0,
          last = uint32_t{0}](platform::ScriptedHost& h) mutable {
    if (frames > 0 && g.frameStart == last) return;
    last = g.frameStart;
    onFrame(h, ++frames);
  };
}

}  // namespace testing_support
