// The game's state: every variable of the game, grouped by the part of the game that owns
// it, in one plain struct that the screens and services share.
#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "common/stage_set.h"
#include "game/rules/rules.h"
#include "platform/host.h"
#include "platform/raster.h"

namespace game {

constexpr int kPicWidth = 500, kPicHeight = 350;
// The scroll offsets every run starts with.
constexpr double kStartViewX = -50, kStartViewY = 30;

// The window's two surfaces.
struct SurfaceState {
  platform::PictureBox Pic{kPicWidth, kPicHeight, platform::kBlack};   // the play surface
  platform::PictureBox back{kPicWidth, kPicHeight, platform::kWhite};  // the fade mask
};

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
  bool pressedInWait = false;             // a press came during the frame wait now running
  bool releaseWaits = false;              // its release came too: it ends after the next frame
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

// The field's scroll offsets, kept from stage to stage, and the grey of the turn label
// being drawn.
struct ViewState {
  double viewX = kStartViewX, viewY = kStartViewY;
  double labelShade = 0;
};

// A position of play as the history keeps it: the field, the pieces, the turn, and how
// many moves it took from the stage's start.
struct PlayStep {
  rules::PlayState position;
  int movesMade = 0;
};

// The stage being played, the positions before each of its moves and retries, and those
// taken back, to make again.
struct StageState {
  int16_t curStage = 0;  // stage being played, minus one
  int movesMade = 0;
  std::vector<PlayStep> moveHistory;
  std::vector<PlayStep> redoHistory;
};

// What the play screen says about the position, beside the field.
enum class PlayNote { kNone, kNoWay, kStuck, kNoAnswer };

// Help for a stuck player: the hint, the assist view (kept for the run) and the fewest
// moves of each stage, once a search has found them.
struct AssistState {
  bool assistOn = false;
  bool hintAsked = false;  // H was pressed; the hint shows once the search answers
  bool hintShown = false;
  int hintX = 0, hintY = 0, hintDX = 0, hintDY = 0;  // the move the hint shows
  PlayNote note = PlayNote::kNone;
  bool fewestKnown[31] = {};
  int fewestMoves[31] = {};  // -1 when the stage cannot be cleared from its start
};

// The stage-select screen.
struct SelectState {
  int hoverStage = 0;  // stage under the pointer, 0 when none
  int titleWavePhase = 0;
  int titleWaveStep = 1;
  int keyStage = 0;  // the stage the arrow keys highlight; 0 while the pointer leads
};

struct GameState : SurfaceState,
                   PacingState,
                   MusicState,
                   PointerState,
                   FadeState,
                   ProgressState,
                   rules::PlayState,
                   ViewState,
                   StageState,
                   AssistState,
                   SelectState {
  // The position of play, apart from everything else: what undo and retry assign.
  rules::PlayState& playState() { return *this; }
};

}  // namespace game
