// quorlin: the stage editor. Paints the 30 stages and saves stage.stg beside the program.
#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>

#include <exception>
#include <string>

#include "assets/embedded.h"
#include "common/atomic_file.h"
#include "editor/editor_form.h"
#include "editor/editor_window.h"
#include "platform/bmp.h"
#include "platform/icon.h"
#include "common/program_folder.h"

namespace {

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
  // A report ends the editor by unwinding to here, so the window closes before the form.
  try {
    const platform::Surface palette = paletteImage();
    editor::EditorForm form(
        common::inFolder(common::executableFolder(), "\\stage.stg"), palette,
        [](const common::FileError& e) { editor::reportAndExit(e.file(), e.cause()); });
    editor::EditorWindow window(form);
    // The walker standing on earth, from the palette: the editor's face on the desktop.
    const platform::IconImage icon = platform::iconFromSprite(palette, 48, 0, -1, -1, 16, 16, 64);
    Fl_RGB_Image iconImage(icon.rgba.data(), icon.width, icon.height, 4);
    window.icon(&iconImage);
    form.Form_Load();
    window.show();
    return Fl::run();
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  }
}
