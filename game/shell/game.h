// The game: its state, the screens and services that share it, start-up, the title's
// master loop, and the window that ends it all.
#pragma once

#include "game/base/fades.h"
#include "game/base/game_files.h"
#include "game/base/game_state.h"
#include "game/base/input.h"
#include "game/base/pacing.h"
#include "game/help/help_card.h"
#include "game/help/hints.h"
#include "game/play/play_screen.h"
#include "game/render/field_renderer.h"
#include "game/title/stage_select.h"
#include "platform/host.h"

namespace game {

struct Game : GameState, platform::WindowEvents {
  // `sheet` is the sprite sheet; the font and the pictures come from the host.
  Game(platform::Host& host, const platform::Surface& sheet);

  platform::Host& host;
  Pacing pacing{*this, host};
  Fades fades{*this};
  Input input{*this};
  GameFiles files{*this, host};
  FieldRenderer render;
  HelpCard card{*this, host, pacing, input, render};
  Hints hints{*this};
  PlayScreen play{*this, host, pacing, fades, input, files, render, card, hints};
  StageSelect select{*this, host, pacing, fades, input, render, card, play};

  // Start-up and the master loop; returns only by the process ending.
  void Form_Load();
  // The window is closed: save progress, stop the music, end.
  [[noreturn]] void Form_Unload();

  // platform::WindowEvents
  void picMouseDown(int button, float x, float y) override { input.Pic_MouseDown(button, 0, x, y); }
  void picMouseMove(int buttons, float x, float y) override {
    input.Pic_MouseMove(buttons, 0, x, y);
  }
  void picMouseUp(int button, float x, float y) override { input.Pic_MouseUp(button, 0, x, y); }
  void keyDown(platform::Key key) override { input.Form_KeyDown(key); }
  void closeRequested() override { Form_Unload(); }
};

}  // namespace game
