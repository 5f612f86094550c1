// Playing one stage: the play loop with its buttons, the move animation and the
// stage-clear banner.
#pragma once

#include <cstdint>

#include "game/render/field_renderer.h"

namespace game {

struct PlayScreen : FieldRenderer {
  using FieldRenderer::FieldRenderer;

  int16_t curStage = 0;  // stage being played, minus one

  void MainL();
  void animateMove();
  void sclear();
  // GiveUp at the top left, Retry at the top right.
  void drawButtons();
};

}  // namespace game
