// The stage-clear banner over the frozen final field, then the play background again.
#include "game/play/play_screen.h"

namespace game {

void PlayScreen::sclear() {
  g.Pic.background = g.Pic.image;
  for (int i = 0; i <= 50; ++i) {
    g.Pic.clear();
    g.frameStart = host.tickCount();
    render.blitChr(layout::kStageWordAt.dx, layout::kStageWordAt.dy, layout::stageWord(g.animPhase),
                   platform::Rop::SrcPaint);
    render.blitChr(layout::kClearWordAt.dx, layout::kClearWordAt.dy, layout::clearWord(g.animPhase),
                   platform::Rop::SrcPaint);
    pacing.waitFrame(100);
  }
  g.Pic.setBackground(files.loadPicture("\\back.jpg"));
}

}  // namespace game
