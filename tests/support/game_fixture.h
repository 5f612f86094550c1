// A whole game on the scripted host, in a fresh program folder with the shipped files.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/render/sprite_sheet.h"
#include "game/shell/game.h"
#include "platform/scripted/scripted_host.h"
#include "platform/sdl/jpeg.h"
#include "platform/sdl/ttf_font.h"
#include "tests/support/file_text.h"

namespace testing_support {

// A temporary folder removed with the object.
class TempDir {
 public:
  explicit TempDir(const std::string& tag = "brackle test");
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The names of the files the programs read from their folder (stage.stg, pictures, sounds).
std::vector<std::string> runtimeFiles();
// Copies those files, as shipped, into `folder`.
void copyRuntimeFiles(const std::string& folder);

// The game's font, opened once for the whole test program.
platform::TtfFont& gameFont();
// The reader of the game's JPEG pictures.
platform::PictureReader& pictureReader();

struct GameRun {
  TempDir dir;
  platform::ScriptedHost host;
  game::Game g;

  // A program folder whose path holds a blank, with the shipped files in it.
  GameRun();
  // Runs `body` until the game ends the process; returns the exit status, or -1
  // when `body` returned without the process ending.
  template <class F>
  int run(F body) {
    try {
      body();
    } catch (const platform::ProcessEnded& e) {
      return e.status;
    }
    return -1;
  }
};

}  // namespace testing_support
