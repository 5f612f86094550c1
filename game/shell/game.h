// The game: start-up, the title's master loop, and the window that ends it all.
#pragma once

#include "game/title/stage_select.h"
#include "platform/host.h"

namespace game {

struct Game : StageSelect, platform::WindowEvents {
  using StageSelect::StageSelect;

  // Start-up and the master loop; returns only by the process ending.
  void Form_Load();
  // The window is closed: save progress, stop the music, end.
  [[noreturn]] void Form_Unload();

  // platform::WindowEvents
  void picMouseDown(int button, float x, float y) override { Pic_MouseDown(button, 0, x, y); }
  void picMouseMove(int buttons, float x, float y) override { Pic_MouseMove(buttons, 0, x, y); }
  void picMouseUp(int button, float x, float y) override { Pic_MouseUp(button, 0, x, y); }
  void keyDown(platform::Key key) override { Form_KeyDown(key); }
  void closeRequested() override { Form_Unload(); }
};

}  // namespace game
