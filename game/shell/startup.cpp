// Start-up, the title screen's master loop, and the end of the program.
#include "game/shell/game.h"

namespace game {

void Game::Form_Load() {
  host.showWindow(Pic.image, *this);
  animStep = 1;
  animPhase = 0;
  viewX = layout::kStartViewX;
  viewY = layout::kStartViewY;
  Pic.setBackground(loadPicture("\\title.jpg"));
  titleWavePhase = 0;
  titleWaveStep = 1;
  bgmFile = "run.mid";
  bgmControl(kBgmStart);
  fadeStep = 0;
  fadeMode = kNoFade;
  readClearRecord();
  loadStages();

  for (;;) {
    frameStart = host.tickCount();
    Pic.clear();
    bool takeInput = true;
    if (fadeMode == kFadingOut) {
      if (fadeOutEnded()) {
        Pic.setBackground(loadPicture("\\back.jpg"));
        menu();
      }
      takeInput = false;
    }
    if (takeInput && leftDown) {
      playClick();
      leftDown = false;
      fadeMode = kFadingOut;
    }
    // The title has no keys of its own; the screens after it must not inherit them.
    while (takeInput && takeKey()) {
    }
    waitFrame(100);
  }
}

void Game::Form_Unload() {
  writeClearRecord();
  bgmControl(kBgmStop);
  host.endProcess();
}

}  // namespace game
