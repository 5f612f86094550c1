// The files beside the program: the stages, the cleared record and the pictures.
#include "game/base/game_files.h"

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/stage_file.h"
#include "game/base/clear_record.h"

namespace game {

std::string GameFiles::file(const std::string& backslashName) {
  return common::inFolder(host.programFolder(), backslashName);
}

platform::Surface GameFiles::loadPicture(const std::string& backslashName) {
  try {
    return host.pictures().readPicture(file(backslashName));
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void GameFiles::loadStages() {
  try {
    common::loadStageFile(g.stageSet, file("\\stage.stg"));
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

void GameFiles::readClearRecord() {
  try {
    parseClearRecord(common::readWholeFile(file("\\clear.sav")), g.clearFlag);
  } catch (const common::FileError&) {
  }
}

void GameFiles::writeClearRecord() {
  try {
    const std::string path = file("\\clear.sav");
    common::replaceFileAtomically(path, formatClearRecord(g.clearFlag));
    host.fileWritten(path);
  } catch (const common::FileError& e) {
    host.runtimeError(e.file(), e.cause());
  }
}

}  // namespace game
