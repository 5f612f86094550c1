// The stage-select screen on the scripted host, frame by frame, over a chosen sprite sheet.
#pragma once

#include <functional>
#include <string>

#include "common/stage_set.h"
#include "game/shell/game.h"
#include "platform/raster.h"
#include "platform/scripted/scripted_host.h"
#include "tests/support/frame_hook.h"
#include "tests/support/game_fixture.h"

namespace title_test {

using platform::Rgb;
using platform::Surface;

// Colours of the synthetic sheet, chosen to differ from every label colour and from
// the plain background the tests use.
constexpr Rgb kBackground{40, 60, 40};
constexpr Rgb kWaveColour{30, 170, 60};
Rgb headingColour(int frame);  // the heading's three frames
Rgb previewColour(int code);   // the preview cell of codes 0..9

struct SheetOptions {
  bool wave = false;     // tiles drawn as solid rectangles of kWaveColour, else invisible
  bool heading = false;  // frames drawn as solid headingColour(k), else invisible
  bool preview = true;   // preview cells as solid previewColour(c), else black
};

// A 320 x 416 sheet where only the menu's pictures are set; everything else is black.
Surface syntheticSheet(const SheetOptions& options);

// The label colours.
constexpr Rgb kBlueOutline{0, 20, 140};
constexpr Rgb kPurpleOutline{90, 20, 140};
constexpr Rgb kGreyText{128, 128, 128};
constexpr Rgb kWhiteText{255, 255, 255};

// Where stage n's label is drawn.
int labelX(int stage);
int labelY(int stage);
std::string labelText(int stage);

// Draws one outlined label the documented way into `s` (reference pictures).
void drawReferenceLabel(Surface& s, int stage, Rgb outline, Rgb text);

// What a test sees of one frame, taken at the frame's first event delivery, that is
// after the frame was drawn and before any event of the following wait ran.
struct FrameView {
  int index;  // 1 for the first frame
  game::Game& g;
  platform::ScriptedHost& host;
};

using testing_support::StopRun;

// Calls `onFrame` once per frame of whatever screen runs, at the frame's first event
// delivery; fails the test and stops after `maxFrames`. Returns the frames seen so far
// through `frames`, which stays valid while the game runs.
void watchFrames(platform::ScriptedHost& host, game::Game& g,
                 std::function<void(FrameView&)> onFrame, int& frames, int maxFrames);

// A game whose stage-select screen runs directly (no title) on a plain background.
class MenuRun {
 public:
  explicit MenuRun(const SheetOptions& options = {});

  testing_support::TempDir dir;
  platform::ScriptedHost host;
  Surface sheet;
  game::Game g;

  // Runs `menu` and calls `onFrame` once per frame until it throws StopRun, the game
  // ends the process, or `maxFrames` pass (a failure). Returns the frames seen.
  int run(const std::function<void(FrameView&)>& onFrame, int maxFrames = 2000);

  // Every stage filled with a pattern that holds each of the codes 0..9.
  void fillStagesWithAllCodes();
};

// Counts the pixels of colour `c` inside the rectangle.
int countColour(const Surface& s, int x, int y, int w, int h, Rgb c);

// The smallest box around stage n's label with its outline, from the font's glyphs.
struct Box {
  int x, y, w, h;
};
Box labelBox(int stage);
// Pixels of colour `c` inside stage n's label box.
int countInLabel(const Surface& s, int stage, Rgb c);

}  // namespace title_test
