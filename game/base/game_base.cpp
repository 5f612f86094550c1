// The game's surfaces and the files beside the program.
#include "game/base/game_base.h"

#include <cmath>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/stage_file.h"
#include "game/base/clear_record.h"

namespace game {

GameBase::GameBase(platform::Host& h)
    : host(h),
      Pic(kPicWidth, kPicHeight, platform::kBlack),
      back(kPicWidth, kPicHeight, platform::kWhite) {}

int toPixel(double v) {
  return static_cast<int>(std::nearbyint(v));
}

std::string GameBase::file(const std::string& backslashName) {
  return common::inFolder(host.programFolder(), backslashName);
}

platform::Surface GameBase::loadPicture(const std::string& backslashName) {
  try {
    return host.pictures().readPicture(file(backslashName));
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void GameBase::loadStages() {
  try {
    common::loadStageFile(stageSet, file("\\stage.stg"));
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void GameBase::readClearRecord() {
  // Every failure here is absorbed: flags read so far stay, the rest stay false.
  try {
    parseClearRecord(common::readWholeFile(file("\\clear.sav")), clearFlag);
  } catch (const common::FileError&) {
  }
}

void GameBase::writeClearRecord() {
  try {
    const std::string path = file("\\clear.sav");
    common::replaceFileAtomically(path, formatClearRecord(clearFlag));
    host.fileWritten(path);
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void GameBase::playClick() {
  host.sound().playWave(file("\\CLICK.WAV"));
}

}  // namespace game
