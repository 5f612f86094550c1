// quorlin: the stage editor. Paints the 30 stages and saves stage.stg beside the program.
#include <FL/Fl.H>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <string>

#include "assets/embedded.h"
#include "common/atomic_file.h"
#include "editor/editor_form.h"
#include "editor/editor_window.h"
#include "platform/bmp.h"

namespace {

// The folder that holds the running program, without a trailing separator.
std::string programFolder() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<size_t>(n) >= path.size())
    editor::reportAndExit("/proc/self/exe", std::strerror(n < 0 ? errno : ENAMETOOLONG));
  path.resize(static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

platform::Surface paletteImage() {
  const auto bytes = assets::paletteBmp();
  try {
    return platform::decodeBmp(bytes.data(), bytes.size());
  } catch (const std::exception& e) {
    editor::reportAndExit("map_c.bmp (built in)", e.what());
  }
}

}  // namespace

int main() {
  editor::EditorForm form(
      common::inFolder(programFolder(), "\\stage.stg"), paletteImage(),
      [](const common::FileError& e) { editor::reportAndExit(e.file(), e.cause()); });
  editor::EditorWindow window(form);
  form.Form_Load();
  window.show();
  return Fl::run();
}
