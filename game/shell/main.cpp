// The game's entry: the real window, the play surface's font, the sprite sheet.
#include <exception>
#include <memory>

#include "game/render/sprite_sheet.h"
#include "game/shell/game.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/text.h"

int main() {
  // The process ends by unwinding to here, so the game, its font and then the window and
  // the sound device are closed in order.
  try {
    platform::SdlHost host("Skelmora", 501, 351);
    host.setIcon(game::gameIcon());
    std::unique_ptr<platform::Font> font;
    try {
      font = platform::Font::openGameFont();
    } catch (const std::exception& e) {
      host.runtimeError("font", e.what());
    }
    game::Game g(host, *font, game::spriteSheet());
    g.Form_Load();
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  }
  return 0;
}
