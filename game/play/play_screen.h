// Playing one stage: the play loop with its buttons, the move animation and the
// stage-clear banner.
#pragma once

#include "game/base/fades.h"
#include "game/base/game_files.h"
#include "game/base/game_state.h"
#include "game/base/input.h"
#include "game/base/pacing.h"
#include "game/render/field_renderer.h"
#include "platform/host.h"

namespace game {

class PlayScreen {
 public:
  PlayScreen(GameState& g, platform::Host& host, Pacing& pacing, Fades& fades, Input& input,
             GameFiles& files, FieldRenderer& render)
      : g(g),
        host(host),
        pacing(pacing),
        fades(fades),
        input(input),
        files(files),
        render(render) {}

  void MainL();
  void animateMove();
  void sclear();
  // GiveUp at the top left, Retry at the top right.
  void drawButtons();
  // Takes back the last move: the field, the pieces and the turn as they were before it.
  void undoMove();

 private:
  GameState& g;
  platform::Host& host;
  Pacing& pacing;
  Fades& fades;
  Input& input;
  GameFiles& files;
  FieldRenderer& render;
};

}  // namespace game
