// brackle-web-bake OUT_FOLDER PICTURE.jpg...: writes texts.msk, the masks of every string the
// game draws in the desktop's font, and each picture decoded by the desktop's decoder as a
// bitmap of the same name, so the browser build shows the desktop's very pixels.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/baked/baked_pictures.h"
#include "platform/bmp.h"
#include "platform/sdl/jpeg.h"
#include "platform/sdl/ttf_font.h"
#include "tools/web_bake/bake.h"

namespace {

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error(path + ": cannot write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT_FOLDER PICTURE.jpg...\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    const auto font = platform::TtfFont::openGameFont();
    writeFile((out / "texts.msk").string(), platform::encodeMaskFile(web_bake::bakeTexts(*font)));
    for (int i = 2; i < argc; ++i) {
      const std::string name = std::filesystem::path(argv[i]).filename().string();
      writeFile((out / platform::BakedPictures::bakedPath(name)).string(),
                platform::encodeBmp24(platform::decodeJpegFile(argv[i])));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brackle-web-bake: %s\n", e.what());
    return 1;
  }
  return 0;
}
