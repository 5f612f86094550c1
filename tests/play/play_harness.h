// Playing a stage on the scripted host: a game on any sprite sheet, a log of the frames it
// showed, and a pointer script that aims and clicks the way a player does.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/shell/game.h"
#include "platform/scripted/scripted_host.h"
#include "tests/support/game_fixture.h"
#include "tools/solve/solution_text.h"

namespace play_test {

// A sheet whose every picture pixel names its own position on the sheet and whose masks
// are black (opaque), so each pixel of Pic tells which sheet pixel was drawn there. The
// shadow mask at (128, 16) is a checkerboard, black where x + y is even.
const platform::Surface& codedSheet();
// The colour the coded sheet holds at (sx, sy); never black.
platform::Rgb coded(int sx, int sy);
// True when `c` is a coded colour of the sheet rectangle (x, y, w, h).
bool isCodedFrom(platform::Rgb c, int x, int y, int w, int h);

constexpr platform::Rgb kFlat{10, 20, 30};

// Stage `s` of a set from rows of letters (row y, column x): . unpainted, o painted,
// # block, W walker, S slider, E eraser, J jumper, - empty, 8 and 9. Cells left out are
// empty space.
common::StageSet stageFrom(std::initializer_list<const char*> rows, int s = 1);

// One solution move: the cell of the piece whose turn it is, and its direction.
using solve::Move;

enum class Kind { FadeIn, Play, Move, Banner, FadeOut };

// What a frame left on the screen, taken at its first event delivery.
struct Frame {
  Kind kind;
  uint32_t start;
  int fadeMode, fadeStep;
  int animPhase, animStep;  // the values the frame was drawn with
  bool arrow;               // a play frame drawn on an arrow step with a piece to aim
  double viewX, viewY;
  int activeX, activeY;
  int aimDX, aimDY;
  bool leftDown, rightDown;
  uint8_t field[10][10];
  platform::Surface pic;  // kept only when Play::keepPictures says so
};

// Thrown out of a run that went on longer than any test needs.
struct RunAway {};

class Play {
 public:
  // Returns true when the action is done; the next action then runs in the same delivery.
  using Action = std::function<bool(Play&)>;

  explicit Play(const platform::Surface& sheet = codedSheet());

  testing_support::TempDir dir;
  platform::ScriptedHost host;
  game::Game g;
  std::vector<Frame> frames;
  std::function<bool(const Frame&)> keepPictures = [](const Frame&) { return false; };
  size_t frameLimit = 3000;

  // The state in which the stage-select screen calls the play loop: stage s of `set`
  // copied into the field, curStage = s - 1, no transition, back.jpg behind Pic.
  void enter(const common::StageSet& set, int s);
  // A plain background for pixel checks: no coded colour, not black.
  void flatBackground();
  // Runs `body` (the play loop, or one of its parts) with the frame log and the script;
  // true when it returned, false when the process ended or the script stopped it.
  bool run(const std::function<void()>& body);
  bool runMainL();
  // Closes the window from the next frame wait; returns the exit status.
  int closeWindow();

  void script(std::vector<Action> actions);
  bool scriptDone() const { return next_ >= actions_.size(); }
  // Called at every delivery after the frame log and the script.
  std::function<void(Play&)> onDelivery;

  bool newFrame() const { return newFrame_; }
  int count(Kind k) const;
  // The centre of the active cell on Pic, exact.
  double centreX() const;
  double centreY() const;

 private:
  void deliver();
  Kind classify() const;
  std::vector<Action> actions_;
  size_t next_ = 0;
  bool newFrame_ = false;
  int lastPhase_ = 0, lastStep_ = 1;
};

// Script actions.
Play::Action pointAt(float x, float y);
// Points into the quadrant of the active cell's centre that aims (dx, dy).
Play::Action aimToward(int dx, int dy);
// Waits for a frame that began after the action started and showed the arrow.
Play::Action afterArrowFrame();
Play::Action afterFrames(int n);
// Waits until the next frame will be drawn without the arrow (the coming frame's step is -1).
Play::Action beforeHiddenArrowFrame();
Play::Action untilPlaying();
Play::Action press(int button);
Play::Action release(int button);
Play::Action pressKey(platform::Key key);
// Closes the window: the game saves its record and the process ends.
Play::Action closeNow();
// A click held across one frame: press now, release once the next frame has been drawn.
std::vector<Play::Action> click();
// Aims the piece at (m.x, m.y) with the pointer on an arrow frame, clicks, and waits for
// the move to finish. Fails the test if another piece has the turn.
std::vector<Play::Action> playMove(const Move& m);
Play::Action check(std::function<void(Play&)> f);
std::vector<Play::Action> join(std::initializer_list<std::vector<Play::Action>> parts);

}  // namespace play_test
