// Playing one stage: the play loop with its buttons, the move animation, the stage-clear
// banner, the history of moves, and the help beside the field.
#pragma once

#include <vector>

#include "game/base/fades.h"
#include "game/base/game_files.h"
#include "game/base/game_state.h"
#include "game/base/input.h"
#include "game/base/pacing.h"
#include "game/help/help_card.h"
#include "game/help/hints.h"
#include "game/render/field_renderer.h"
#include "platform/host.h"

namespace game {

class PlayScreen {
 public:
  PlayScreen(GameState& g, platform::Host& host, Pacing& pacing, Fades& fades, Input& input,
             GameFiles& files, FieldRenderer& render, HelpCard& card, Hints& hints)
      : g(g),
        host(host),
        pacing(pacing),
        fades(fades),
        input(input),
        files(files),
        render(render),
        card(card),
        hints(hints) {}

  void MainL();
  void animateMove();
  void sclear();
  // GiveUp at the top left, Retry at the top right.
  void drawButtons();
  // Takes back the last move or retry: the field, the pieces and the turn as they were.
  void undoMove();
  // Makes again the last move or retry taken back.
  void redoMove();

 private:
  // Takes the last position of `from` back onto the field, keeping the one it replaces in
  // `to`: undo and redo, each the other's way back.
  void stepBack(std::vector<PlayStep>& from, std::vector<PlayStep>& to);
  // The position changed: what was said about the old one goes.
  void positionChanged();
  // Asks the searches what the help needs and takes their answers.
  void followHints();
  // The hint, the assist view's count and what play says about the position.
  void drawHelp();

  GameState& g;
  platform::Host& host;
  Pacing& pacing;
  Fades& fades;
  Input& input;
  GameFiles& files;
  FieldRenderer& render;
  HelpCard& card;
  Hints& hints;
};

}  // namespace game
