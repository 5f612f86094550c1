// Start-up, the title screen's master loop, and the end of the program.
#include "game/shell/game.h"

namespace game {

Game::Game(platform::Host& h, const platform::Surface& sheet)
    : host(h), render(*this, h.font(), sheet) {
  pacing.idleWork = [this] { return hints.workSlice(); };
}

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
    // Enter or Space leave the title as a click does; F1 or ? show the rules card. Other
    // keys are dropped, so the screens after it never inherit them.
    while (const std::optional<platform::Key> key = takeInput ? input.takeKey() : std::nullopt) {
      using platform::Key;
      if (fadeMode == kNoFade && (*key == Key::kEnter || *key == Key::kSpace)) {
        pacing.playClick();
        fadeMode = kFadingOut;
      } else if (fadeMode == kNoFade && (*key == Key::kF1 || *key == Key::kQuestion)) {
        card.show();
      }
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
