// Start-up, the title screen's master loop, and the end of the program.
#include <cstdlib>

#include "game/shell/game.h"

namespace game {

void Game::Form_Load() {
  host.showWindow(Pic.image, *this);
  animStep = 1;
  animPhase = 0;
  viewX = -50;
  viewY = 30;
  Pic.setBackground(loadPicture("\\title.jpg"));
  titleWavePhase = 0;
  titleWaveStep = 1;
  bgmFile = "run.mid";
  bgmControl(0);
  fadeStep = 0;
  fadeMode = 0;
  readClearRecord();
  loadStages();

  for (;;) {
    frameStart = host.tickCount();
    Pic.clear();
    bool takeInput = true;
    if (fadeMode == 1) {
      f_out();
      if (fadeStep >= 23) {
        fadeStep = 0;
        fadeMode = 0;
        Pic.setBackground(loadPicture("\\back.jpg"));
        menu();
      }
      takeInput = false;
    }
    if (takeInput && leftDown) {
      playClick();
      leftDown = false;
      fadeMode = 1;
    }
    waitFrame(100);
  }
}

void Game::Form_Unload() {
  writeClearRecord();
  bgmControl(1);
  host.endProcess();
  std::abort();  // not reached: the host ends the process
}

}  // namespace game
