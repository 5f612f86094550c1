// Writes the launcher icons of the game and the editor, drawn from the sprite sheet.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <string>

#include "assets/embedded.h"
#include "game/render/sprite_sheet.h"
#include "platform/bmp.h"
#include "platform/icon.h"

namespace {

bool savePng(const platform::IconImage& icon, const std::string& path) {
  SDL_Surface* s =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon.rgba.data()), icon.width,
                                         icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_RGBA32);
  const bool ok = s && IMG_SavePNG(s, path.c_str()) == 0;
  if (!ok) std::fprintf(stderr, "%s: %s\n", path.c_str(), SDL_GetError());
  SDL_FreeSurface(s);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  const auto paletteBytes = assets::paletteBmp();
  const auto palette = platform::decodeBmp(paletteBytes.data(), paletteBytes.size());
  // The same pictures as the windows' icons: the walker standing for the game, the
  // editor's palette square of the walker on earth for the editor.
  const bool ok =
      savePng(game::gameIcon(), out + "/brackle.png") &&
      savePng(platform::iconFromSprite(palette, 48, 0, -1, -1, 16, 16, 64), out + "/quorlin.png");
  return ok ? 0 : 1;
}
