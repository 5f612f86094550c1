// Writes the game's title and background pictures, its tune and its click into a folder.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/make_media/click.h"
#include "tools/make_media/pictures.h"
#include "tools/make_media/tune.h"

namespace {

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error(path + ": cannot write");
}

void writeJpeg(const std::string& path, const platform::Surface& picture) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(picture.data()),
                                                      picture.width(), picture.height(), 24,
                                                      picture.width() * 3, SDL_PIXELFORMAT_RGB24);
  if (!s) throw std::runtime_error(SDL_GetError());
  const int failed = IMG_SaveJPG(s, path.c_str(), 92);
  SDL_FreeSurface(s);
  if (failed) throw std::runtime_error(path + ": " + IMG_GetError());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  try {
    writeJpeg(dir + "/title.jpg", make_media::paintTitle(make_media::findTitleFonts()));
    writeJpeg(dir + "/back.jpg", make_media::paintBackground());
    writeBytes(dir + "/run.mid", make_media::composeTune());
    writeBytes(dir + "/CLICK.WAV",
               make_media::waveFile(make_media::clickSamples(), make_media::kClickRate));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_media: %s\n", e.what());
    return 1;
  }
  return 0;
}
