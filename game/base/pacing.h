// The frame wait and the sound: the pace of every screen, the looping music, M, the click.
#pragma once

#include "game/base/game_state.h"
#include "platform/host.h"

namespace game {

class Pacing {
 public:
  Pacing(GameState& g, platform::Host& host) : g(g), host(host) {}

  // Ends a frame: steps the animation phase, takes M, keeps the music looping and delivers
  // events until `period` milliseconds have passed since frameStart.
  void waitFrame(int period);
  void bgmControl(BgmMode mode);
  // M, acted on in every frame of every screen: pauses the music or plays it on.
  void muteKeys();
  void playClick();

 private:
  GameState& g;
  platform::Host& host;
};

}  // namespace game
