// The stage-select screen: the list of the 30 stages, their preview, and starting one.
#pragma once

#include <string>

#include "game/play/play_screen.h"

namespace game {

struct StageSelect : PlayScreen {
  using PlayScreen::PlayScreen;

  int hoverStage = 0;  // stage under the pointer, 0 when none
  int titleWavePhase = 0;
  int titleWaveStep = 1;

  // Never returns: play runs inside one of its frames.
  [[noreturn]] void menu();
  void printStageLabel(const std::string& text, int x, int y);
  void printClearedLabel(const std::string& text, int x, int y);
  void printHoverLabel(const std::string& text, int x, int y);
};

}  // namespace game
