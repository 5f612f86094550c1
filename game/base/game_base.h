// What every screen of the game uses: the frame wait, the music, the pointer, the fades,
// the stages and the cleared record, and the files beside the program.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>

#include "common/stage_set.h"
#include "platform/host.h"
#include "platform/raster.h"

namespace game {

// Frame pacing: the tick at the top of the frame and the shared animation phase.
struct PacingState {
  uint32_t frameStart = 0;
  int animPhase = 0;  // 0..2, one step a frame
  int animStep = 1;   // +1 or -1
};

// What bgmControl does.
enum BgmMode : int {
  kBgmStart = 0,        // open the music and start it
  kBgmStop = 1,         // stop it and close it
  kBgmKeepPlaying = 2,  // start it again from the beginning if it has stopped
};

// The background music.
struct MusicState {
  std::string bgmFile;  // relative to the program folder; empty switches music off
  bool bgmPlaying = false;
  bool musicMuted = false;  // the player turned it off with M; it stays paused
};

// What the mouse and key handlers report to the frame loops.
struct PointerState {
  float mouseX = 0, mouseY = 0;
  bool leftDown = false, rightDown = false;
  std::deque<platform::Key> pendingKeys;  // pressed and not yet acted on, oldest first
};

// The same streaks on every machine and every run: never seeded from the clock.
class FadeRandom {
 public:
  double next() { return static_cast<double>(gen_()) / 4294967296.0; }  // [0, 1)

 private:
  std::mt19937 gen_;  // default seed
};

// Screen transitions.
enum FadeMode : int {
  kNoFade = 0,
  kFadingOut = 1,
  kFadingIn = 2,
};

struct FadeState {
  FadeMode fadeMode = kNoFade;
  int fadeStep = 0;
  FadeRandom fadeRandom;
};

// Stages and which of them are cleared.
struct ProgressState {
  common::StageSet stageSet;
  bool clearFlag[31] = {};
};

constexpr int kPicWidth = 500, kPicHeight = 350;

struct GameBase : PacingState, MusicState, PointerState, FadeState, ProgressState {
  explicit GameBase(platform::Host& host);

  platform::Host& host;
  platform::PictureBox Pic;   // the play surface, with its background picture
  platform::PictureBox back;  // the fade mask, white when cleared

  void waitFrame(int period);
  void bgmControl(BgmMode mode);
  void playClick();
  void readClearRecord();
  void writeClearRecord();
  void loadStages();
  // A picture file beside the program, given as "\name.jpg"; one that cannot be read
  // gives the run-time error report.
  platform::Surface loadPicture(const std::string& backslashName);
  std::string file(const std::string& backslashName);

  void Pic_MouseDown(int button, int shift, float x, float y);
  void Pic_MouseMove(int button, int shift, float x, float y);
  void Pic_MouseUp(int button, int shift, float x, float y);
  void Form_KeyDown(platform::Key key);
  // The oldest key not yet acted on, taken from the queue; M is left to the frame wait.
  std::optional<platform::Key> takeKey();
  // M, acted on in every frame of every screen: pauses the music or plays it on.
  void muteKeys();

  void f_out();
  void f_in();
  // One fade-in step; true when it was the 13th and the transition has ended.
  bool fadeInEnded();
  // One fade-out step; true when it was the 23rd and the transition has ended.
  bool fadeOutEnded();
};

// Whole pixels from fractional positions: the nearest integer, halves to even.
int toPixel(double v);

}  // namespace game
