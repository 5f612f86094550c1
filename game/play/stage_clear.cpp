// The stage-clear banner over the frozen final field, then the play background again.
#include "game/play/play_screen.h"

namespace game {

void PlayScreen::sclear() {
  Pic.background = Pic.image;
  for (int i = 0; i <= 50; ++i) {
    Pic.clear();
    frameStart = host.tickCount();
    blitChr(130, 110, 128, 32, 64, 256 + 32 * animPhase, platform::Rop::SrcPaint);  // STAGE
    blitChr(278, 110, 96, 32, 224, 128 + 32 * animPhase, platform::Rop::SrcPaint);  // CLEAR
    waitFrame(100);
  }
  Pic.setBackground(loadPicture("\\back.jpg"));
}

}  // namespace game
