// Playing one stage: the play loop with its buttons, the move animation and the
// stage-clear banner.
#pragma once

#include <cstdint>
#include <vector>

#include "game/render/field_renderer.h"

namespace game {

struct PlayScreen : FieldRenderer {
  using FieldRenderer::FieldRenderer;

  int16_t curStage = 0;  // stage being played, minus one
  // The play state before each move since the stage's start, to take moves back.
  std::vector<rules::PlayState> moveHistory;

  void MainL();
  void animateMove();
  void sclear();
  // GiveUp at the top left, Retry at the top right.
  void drawButtons();
  // Takes back the last move: the field, the pieces and the turn as they were before it.
  void undoMove();
};

}  // namespace game
