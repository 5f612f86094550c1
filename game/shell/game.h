// The game object: every owner's state in a plain struct, and the game's procedures.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "common/stage_set.h"
#include "game/play/rules.h"
#include "platform/host.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace game {

// Frame pacing: the tick at the top of the frame and the shared animation phase.
struct PacingState {
  uint32_t frameStart = 0;
  int animPhase = 0;  // 0..2, one step a frame
  int animStep = 1;   // +1 or -1
};

// The background music.
struct MusicState {
  std::string bgmFile;  // relative to the program folder; empty switches music off
  bool bgmPlaying = false;
};

// What the mouse handlers report to the frame loops.
struct PointerState {
  float mouseX = 0, mouseY = 0;
  bool leftDown = false, rightDown = false;
};

// The same streaks on every machine and every run: never seeded from the clock.
class FadeRandom {
 public:
  double next() { return static_cast<double>(gen_()) / 4294967296.0; }  // [0, 1)

 private:
  std::mt19937 gen_;  // default seed
};

// Screen transitions: 0 none, 1 fading out, 2 fading in.
struct FadeState {
  int fadeMode = 0;
  int fadeStep = 0;
  FadeRandom fadeRandom;
};

// Stages and which of them are cleared.
struct ProgressState {
  common::StageSet stageSet;
  bool clearFlag[31] = {};
};

// Scroll offsets of the field, kept from stage to stage.
struct ViewState {
  double viewX = -50, viewY = 30;
};

struct RenderState {
  double labelShade = 0;  // grey of the turn label being drawn
};

struct TitleState {
  int hoverStage = 0;  // stage under the pointer, 0 when none
  int titleWavePhase = 0;
  int titleWaveStep = 1;
  int16_t curStage = 0;  // stage being played, minus one
};

constexpr int kPicWidth = 500, kPicHeight = 350;

struct Game : PacingState,
              MusicState,
              PointerState,
              FadeState,
              ProgressState,
              ViewState,
              rules::PlayState,
              RenderState,
              TitleState,
              platform::WindowEvents {
  Game(platform::Host& host, platform::Font& font, const platform::Surface& chr);

  platform::Host& host;
  platform::Font& font;
  platform::PictureBox Pic;      // the play surface, with its background picture
  platform::PictureBox back;     // the fade mask, white when cleared
  const platform::Surface& chr;  // the sprite sheet

  // Start-up and the master loop; returns only by the process ending.
  void Form_Load();
  // The window is closed: save progress, stop the music, end.
  [[noreturn]] void Form_Unload();
  void waitFrame(int period);
  void bgmControl(int mode);
  void playClick();
  void readClearRecord();
  void writeClearRecord();
  void loadStages();
  // A picture file beside the program, given as "\name.jpg".
  platform::Surface loadPicture(const std::string& backslashName);
  std::string file(const std::string& backslashName);

  void Pic_MouseDown(int button, int shift, float x, float y);
  void Pic_MouseMove(int button, int shift, float x, float y);
  void Pic_MouseUp(int button, int shift, float x, float y);

  void f_out();
  void f_in();
  // One fade-in step; true when it was the 13th and the transition has ended.
  bool fadeInEnded();

  // Field rendering.
  void drawField();
  void printTurnLabel(int value, int x, int y);
  void printOutlined(const std::string& text, int x, int y, platform::Rgb outline,
                     platform::Rgb color);
  // Transparent blit from the sheet: mask with AND, then the picture with XOR.
  void drawSprite(int x, int y, int w, int h, int sx, int sy, int mx, int my);
  void blitChr(int x, int y, int w, int h, int sx, int sy, platform::Rop rop);

  // Play.
  void MainL();
  void animateMove();
  void sclear();

  // Stage select; never returns.
  [[noreturn]] void menu();
  void printStageLabel(const std::string& text, int x, int y);
  void printClearedLabel(const std::string& text, int x, int y);
  void printHoverLabel(const std::string& text, int x, int y);

  // platform::WindowEvents
  void picMouseDown(int button, float x, float y) override { Pic_MouseDown(button, 0, x, y); }
  void picMouseMove(int buttons, float x, float y) override { Pic_MouseMove(buttons, 0, x, y); }
  void picMouseUp(int button, float x, float y) override { Pic_MouseUp(button, 0, x, y); }
  void closeRequested() override { Form_Unload(); }
};

// Whole pixels from fractional positions: the nearest integer, halves to even.
int toPixel(double v);

}  // namespace game
