// One game on the scripted host, set up the way a test needs it, with a log of the frames it
// showed and a script of what the pointer and the keys do, run frame by frame.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "game/shell/game.h"
#include "game/solve/solver.h"
#include "platform/scripted/scripted_host.h"
#include "platform/text_mask.h"
#include "tests/support/folders.h"

namespace testing_support {

// The play surface's font and the picture reader of the tests: the game's own, or where the
// build has no desktop, the stand-ins.
platform::MaskFont& gameFont();
platform::PictureReader& pictureReader();

struct RigOptions {
  const platform::Surface* sheet = nullptr;   // the sprite sheet; the shipped one when null
  bool shippedFiles = true;                   // the program folder holds the shipped files
  std::optional<platform::Rgb> background{};  // Pic's background picture, all one colour
  uint32_t startTick = 1000;                  // the host's clock when the game is made
};

// What a frame left on the screen.
enum class Kind { FadeIn, Play, Move, Banner, FadeOut };

// A frame as it was shown, taken at its first event delivery.
struct Frame {
  Kind kind;
  uint32_t start;
  int fadeStep;
  int animPhase;  // the phase the frame was drawn with
  bool arrow;     // a play frame drawn on an arrow step with a piece to aim
  double viewX, viewY;
  bool leftDown, rightDown;
  uint8_t field[10][10] = {};
  platform::Surface pic;  // kept only when keepPictures says so
};

// Thrown from a frame hook to leave a screen that never returns by itself.
struct StopRun {};

class GameRig {
 public:
  // Returns true when the action is done; the next action then runs in the same delivery.
  using Action = std::function<bool(GameRig&)>;
  static constexpr int kReturned = -1, kStopped = -2;

  explicit GameRig(const RigOptions& options = {});

  TempDir dir;  // the program folder
  platform::ScriptedHost host;
  game::Game g;

  std::vector<Frame> frames;
  std::function<bool(const Frame&)> keepPictures = [](const Frame&) { return false; };
  // A run that shows more frames than this fails and stops.
  size_t frameLimit = 3000;
  // Called once a frame (n = 1 for the first), after the log and the script.
  std::function<void(int n)> onFrame;
  // Called at every delivery, after the log, the script and onFrame.
  std::function<void(GameRig&)> onDelivery;

  // Runs `body` (a screen, or a part of one) with the log, the script and the hooks.
  // Returns the exit status when the process ended, kReturned when `body` returned, and
  // kStopped when the test stopped it (StopRun, the frame limit, a script gone astray).
  int run(const std::function<void()>& body);
  // The play loop, true when it returned; the stage-select screen, calling `each` a frame.
  bool runMainL();
  int runMenu(std::function<void(int n)> each);
  // Closes the window from the next frame wait; returns the exit status.
  int closeWindow();
  // One bare frame of any loop: take the tick, draw nothing, wait.
  void frame(int period = 100);

  // The state in which the stage-select screen calls the play loop: stage s of `set` copied
  // into the field, curStage = s - 1, no fade, back.jpg (or the plain background) behind Pic.
  void enter(const common::StageSet& set, int s);
  // A picture of the program folder as the game reads it.
  platform::Surface picture(const std::string& name);

  void script(std::vector<Action> actions);
  bool scriptDone() const { return next_ >= actions_.size(); }
  bool newFrame() const { return newFrame_; }
  int count(Kind k) const;
  // The centre of the active cell on Pic, exact.
  double centreX() const;
  double centreY() const;

 private:
  void deliver();
  Kind classify() const;
  std::optional<platform::Rgb> background_;
  std::vector<Action> actions_;
  size_t next_ = 0;
  bool newFrame_ = false;
  int lastPhase_ = 0, lastStep_ = 1;
};

// Script actions.
GameRig::Action pointAt(float x, float y);
// Points into the quadrant of the active cell's centre that aims (dx, dy).
GameRig::Action aimToward(int dx, int dy);
// Waits for a frame that began after the action started and showed the arrow.
GameRig::Action afterArrowFrame();
GameRig::Action afterFrames(int n);
// Waits until the next frame will be drawn without the arrow (its step is -1).
GameRig::Action beforeHiddenArrowFrame();
GameRig::Action untilPlaying();
GameRig::Action press(int button);
GameRig::Action release(int button);
GameRig::Action pressKey(platform::Key key);
// Closes the window: the game saves its record and the process ends.
GameRig::Action closeNow();
GameRig::Action check(std::function<void(GameRig&)> f);
// A click held across one frame: press now, release once the next frame has been drawn.
std::vector<GameRig::Action> click();
// Aims the piece at (m.x, m.y) with the pointer on an arrow frame, clicks, and waits for
// the move to finish. Stops the run if another piece has the turn.
std::vector<GameRig::Action> playMove(const solve::Move& m);
std::vector<GameRig::Action> join(std::initializer_list<std::vector<GameRig::Action>> parts);

}  // namespace testing_support
