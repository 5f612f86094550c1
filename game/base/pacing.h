// The frame wait and the sound: the pace of every screen, the looping music, M, the click.
#pragma once

#include <functional>

#include "game/base/game_state.h"
#include "platform/host.h"

namespace game {

class Pacing {
 public:
  Pacing(GameState& g, platform::Host& host) : g(g), host(host) {}

  // Ends a frame: steps the animation phase, ends a quick click the frame has seen, takes
  // M, keeps the music looping and delivers events until `period` milliseconds have passed
  // since frameStart, doing background work meanwhile.
  void waitFrame(int period);
  void bgmControl(BgmMode mode);
  // M, acted on in every frame of every screen: pauses the music or plays it on.
  void muteKeys();
  void playClick();

  // A slice of background work (a hint being searched); true while more remains. It runs
  // in the frame wait instead of sleeping, so a frame is never late for it.
  std::function<bool()> idleWork;

 private:
  GameState& g;
  platform::Host& host;
};

}  // namespace game
