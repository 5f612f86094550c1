// The stage-select screen: the list of the 30 stages, their preview, and starting one.
#pragma once

#include <string>

#include "game/base/fades.h"
#include "game/base/game_state.h"
#include "game/base/input.h"
#include "game/base/pacing.h"
#include "game/play/play_screen.h"
#include "game/render/field_renderer.h"
#include "platform/host.h"

namespace game {

class StageSelect {
 public:
  StageSelect(GameState& g, platform::Host& host, Pacing& pacing, Fades& fades, Input& input,
              FieldRenderer& render, PlayScreen& play)
      : g(g), host(host), pacing(pacing), fades(fades), input(input), render(render), play(play) {}

  // Never returns: play runs inside one of its frames.
  [[noreturn]] void menu();
  void printStageLabel(const std::string& text, int x, int y);
  void printClearedLabel(const std::string& text, int x, int y);
  void printHoverLabel(const std::string& text, int x, int y);

 private:
  GameState& g;
  platform::Host& host;
  Pacing& pacing;
  Fades& fades;
  Input& input;
  FieldRenderer& render;
  PlayScreen& play;
};

}  // namespace game
