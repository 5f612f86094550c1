// The rules card: the goal, each piece's rule beside its picture, and the keys, over
// whatever screen is showing, until a key or a click.
#pragma once

#include "game/base/game_state.h"
#include "game/base/input.h"
#include "game/base/pacing.h"
#include "game/render/field_renderer.h"
#include "platform/host.h"

namespace game {

class HelpCard {
 public:
  HelpCard(GameState& g, platform::Host& host, Pacing& pacing, Input& input, FieldRenderer& render)
      : g(g), host(host), pacing(pacing), input(input), render(render) {}

  // Shows the card over the picture now on Pic, frame by frame, until a key (M aside) or a
  // press of a button; the screen under it waits, and the press acts on nothing else.
  void show();
  // Draws the card onto Pic.
  void drawCard();

 private:
  GameState& g;
  platform::Host& host;
  Pacing& pacing;
  Input& input;
  FieldRenderer& render;
};

}  // namespace game
