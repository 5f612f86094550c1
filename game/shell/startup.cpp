// Start-up, the title screen's master loop, and the end of the program.
#include "game/shell/game.h"

namespace game {

Game::Game(platform::Host& h, const platform::Surface& sheet)
    : host(h), render(*this, h.font(), sheet) {}

void Game::Form_Load() {
  host.showWindow(Pic.image, *this);
  animStep = 1;
  animPhase = 0;
  viewX = kStartViewX;
  viewY = kStartViewY;
  Pic.setBackground(files.loadPicture("\\title.jpg"));
  titleWavePhase = 0;
  titleWaveStep = 1;
  bgmFile = "run.mid";
  pacing.bgmControl(kBgmStart);
  fadeStep = 0;
  fadeMode = kNoFade;
  files.readClearRecord();
  files.loadStages();

  for (;;) {
    frameStart = host.tickCount();
    Pic.clear();
    bool takeInput = true;
    if (fadeMode == kFadingOut) {
      if (fades.fadeOutEnded()) {
        Pic.setBackground(files.loadPicture("\\back.jpg"));
        select.menu();
      }
      takeInput = false;
    }
    if (takeInput && leftDown) {
      pacing.playClick();
      leftDown = false;
      fadeMode = kFadingOut;
    }
    // The title has no keys of its own; the screens after it must not inherit them.
    while (takeInput && input.takeKey()) {
    }
    pacing.waitFrame(100);
  }
}

void Game::Form_Unload() {
  files.writeClearRecord();
  pacing.bgmControl(kBgmStop);
  host.endProcess();
}

}  // namespace game
