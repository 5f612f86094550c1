// The stage editor's state and event handlers, free of any window toolkit.
#pragma once

#include <functional>
#include <string>

#include "common/file_error.h"
#include "common/stage_set.h"
#include "platform/raster.h"

namespace editor {

constexpr int kCellPixels = 16;                 // one cell picture, square
constexpr int kPaletteWidth = 8 * kCellPixels;  // pictures for codes 0..7
constexpr int kPaletteHeight = kCellPixels;
constexpr int kEditPixels = common::kFieldSize * kCellPixels;  // 10 x 10 cells
constexpr int kMaxBrush = 4;
constexpr platform::Rgb kFrameColor{255, 0, 0};
// Cleared picture boxes show this before the first redraw; every cell covers it after.
constexpr platform::Rgb kBoxBackColor{212, 208, 200};

// Caption of Label3 for a stage number.
std::string stageCaption(int stage);

// A pointer coordinate of the edit area kept on its border cells: below 2 becomes 0, above
// the last pixel becomes the last pixel.
float clampToEditArea(float v);

// The editor window's data and handlers. The window toolkit forwards its events here
// and shows the two picture boxes and the captions; tests call the handlers directly.
class EditorForm {
 public:
  // Called when the stage file cannot be read or written. In the program it reports the
  // failure and ends the process; if it returns (tests), the handler returns unchanged.
  using FatalHandler = std::function<void(const common::FileError&)>;

  // `palette` is the palette image (128 x 16: codes 0..7 side by side).
  EditorForm(std::string stageFile, const platform::Surface& palette, FatalHandler fatal);

  void Form_Load();
  void map_c_MouseDown(int button, float x);
  void Pic_MouseDown(int button, float x, float y);
  void Pic_MouseMove(float x, float y);
  void Pic_MouseUp(int button);
  void stage_Change();
  void Timer1_Timer() { dsp(); }
  void Command1_Click();  // save
  void Command2_Click();  // load
  void dsp();

  const std::string& stageFile() const { return stageFile_; }

  // Window state, named like the controls it stands for.
  common::StageSet stageSet;
  float selCode = 0;   // code the brush paints: the palette picture last pressed
  float paletteX = 0;  // x of the last palette press; places the selection frame
  bool painting = false;
  int ryo = 1;    // brush size, the vertical scroll bar's value (1..4)
  int stage = 1;  // stage being edited, the horizontal scroll bar's value (1..30)
  std::string Label2;
  std::string Label3 = stageCaption(1);
  platform::PictureBox map_c{kPaletteWidth, kPaletteHeight, kBoxBackColor};
  platform::PictureBox Pic{kEditPixels, kEditPixels, kBoxBackColor};

 private:
  void paintBrush(float x, float y);
  void showCell(float x, float y);
  void drawSelectionFrame(float x);

  std::string stageFile_;
  FatalHandler fatal_;
};

// Draws the stand-in for a code that has no palette picture (8, 9, or anything past the
// palette): a magenta and black hatched square with the code's last digit in white.
void drawCodeWithoutPicture(platform::Surface& s, int left, int top, int code);

}  // namespace editor
