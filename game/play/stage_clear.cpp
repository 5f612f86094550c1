// The stage-clear banner over the frozen final field, then the play background again.
#include "game/play/play_screen.h"

namespace game {

void PlayScreen::sclear() {
  Pic.background = Pic.image;
  for (int i = 0; i <= 50; ++i) {
    Pic.clear();
    frameStart = host.tickCount();
    blitChr(layout::kStageWordAt.dx, layout::kStageWordAt.dy, layout::stageWord(animPhase),
            platform::Rop::SrcPaint);
    blitChr(layout::kClearWordAt.dx, layout::kClearWordAt.dy, layout::clearWord(animPhase),
            platform::Rop::SrcPaint);
    waitFrame(100);
  }
  Pic.setBackground(loadPicture("\\back.jpg"));
}

}  // namespace game
