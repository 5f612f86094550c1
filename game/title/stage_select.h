// The stage-select screen: the list of the 30 stages, their preview, and starting one.
#pragma once

#include <string>

#include "game/base/fades.h"
#include "game/base/game_state.h"
#include "game/base/input.h"
#include "game/base/pacing.h"
#include "game/help/help_card.h"
#include "game/play/play_screen.h"
#include "game/render/field_renderer.h"
#include "platform/host.h"

namespace game {

class StageSelect {
 public:
  StageSelect(GameState& g, platform::Host& host, Pacing& pacing, Fades& fades, Input& input,
              FieldRenderer& render, HelpCard& card, PlayScreen& play)
      : g(g),
        host(host),
        pacing(pacing),
        fades(fades),
        input(input),
        render(render),
        card(card),
        play(play) {}

  // Never returns: play runs inside one of its frames.
  [[noreturn]] void menu();
  void printStageLabel(const std::string& text, int x, int y);
  void printClearedLabel(const std::string& text, int x, int y);
  void printHoverLabel(const std::string& text, int x, int y);

 private:
  // The list's keys: arrows move the highlight, Enter or Space starts its stage, F1 or ?
  // shows the rules card; any other key is dropped.
  void takeListKey(platform::Key key);
  void startStage(int stage);

  GameState& g;
  platform::Host& host;
  Pacing& pacing;
  Fades& fades;
  Input& input;
  FieldRenderer& render;
  HelpCard& card;
  PlayScreen& play;
};

}  // namespace game
