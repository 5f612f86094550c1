// The game's entry: the real window with its sound, font and pictures, and the sprite sheet.
#include "game/render/sprite_sheet.h"
#include "game/shell/game.h"
#include "platform/sdl/sdl_host.h"

int main() {
  // The process ends by unwinding to here, so the game and then the window, its font and
  // the sound device are closed in order.
  try {
    platform::SdlHost host("Skelmora", 501, 351);
    host.setIcon(game::gameIcon());
    game::Game g(host, game::spriteSheet());
    g.Form_Load();
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  }
  return 0;
}
