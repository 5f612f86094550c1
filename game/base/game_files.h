// The files beside the program: the stages, the cleared record and the pictures.
#pragma once

#include <string>

#include "game/base/game_state.h"
#include "platform/host.h"

namespace game {

class GameFiles {
 public:
  GameFiles(GameState& g, platform::Host& host) : g(g), host(host) {}

  // The stage file; one that cannot be read gives the run-time error report.
  void loadStages();
  // Every failure is absorbed: flags read so far stay, the rest stay false.
  void readClearRecord();
  void writeClearRecord();
  // A picture file beside the program, given as "\name.jpg"; one that cannot be read
  // gives the run-time error report.
  platform::Surface loadPicture(const std::string& backslashName);
  std::string file(const std::string& backslashName);

 private:
  GameState& g;
  platform::Host& host;
};

}  // namespace game
