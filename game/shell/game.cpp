// The game object: surfaces and the files beside the program.
#include "game/shell/game.h"

#include <cmath>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/stage_file.h"
#include "game/shell/clear_record.h"

namespace game {

Game::Game(platform::Host& h, platform::Font& f, const platform::Surface& sheet)
    : host(h),
      font(f),
      Pic(kPicWidth, kPicHeight, platform::kBlack),
      back(kPicWidth, kPicHeight, platform::kWhite),
      chr(sheet) {}

int toPixel(double v) {
  return static_cast<int>(std::nearbyint(v));
}

std::string Game::file(const std::string& backslashName) {
  return common::inFolder(host.programFolder(), backslashName);
}

platform::Surface Game::loadPicture(const std::string& backslashName) {
  return host.loadJpeg(file(backslashName));
}

void Game::loadStages() {
  try {
    common::loadStageFile(stageSet, file("\\stage.stg"));
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void Game::readClearRecord() {
  // Every failure here is absorbed: flags read so far stay, the rest stay false.
  try {
    parseClearRecord(common::readWholeFile(file("\\clear.sav")), clearFlag);
  } catch (const common::FileError&) {
  }
}

void Game::writeClearRecord() {
  try {
    common::replaceFileAtomically(file("\\clear.sav"), formatClearRecord(clearFlag));
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void Game::playClick() {
  host.playWave(file("\\CLICK.WAV"));
}

}  // namespace game
