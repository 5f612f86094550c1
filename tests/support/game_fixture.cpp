// A whole game on the scripted host, in a fresh program folder with the shipped files.
#include "tests/support/game_fixture.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir(const std::string& tag) {
  std::string pattern = (fs::temp_directory_path() / (tag + " XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::vector<std::string> runtimeFiles() {
  std::vector<std::string> names;
  std::istringstream list(BRACKLE_RUNTIME_FILES);
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

void copyRuntimeFiles(const std::string& folder) {
  for (const std::string& name : runtimeFiles())
    fs::copy_file(fs::path(BRACKLE_SOURCE_DIR) / "assets" / name, fs::path(folder) / name,
                  fs::copy_options::overwrite_existing);
}

platform::TtfFont& gameFont() {
  static std::unique_ptr<platform::TtfFont> font = platform::TtfFont::openGameFont();
  return *font;
}

platform::PictureReader& pictureReader() {
  static platform::JpegReader reader;
  return reader;
}

GameRun::GameRun()
    : dir("brackle game"),
      host(dir.path(), gameFont(), pictureReader()),
      g(host, game::spriteSheet()) {
  copyRuntimeFiles(dir.path());
}

}  // namespace testing_support
