// The game's entry in a browser page: the web host over the packaged program folder.
#include "game/render/sprite_sheet.h"
#include "game/shell/game.h"
#include "platform/web/web_host.h"

int main() {
  // The frame loops nest as on the desktop; the host's wait yields to the page.
  try {
    platform::WebHost host("Skelmora", "/brackle");
    game::Game g(host, game::spriteSheet());
    g.Form_Load();
  } catch (const platform::ProcessEnded& e) {
    return e.status;
  }
  return 0;
}
