// The stage editor's state and event handlers, free of any window toolkit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/file_error.h"
#include "common/stage_set.h"
#include "editor/edit_history.h"
#include "editor/stage_proof.h"
#include "editor/stage_trial.h"
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
// The outline of the piece whose turn it is while a stage is tried.
constexpr platform::Rgb kActiveColor{255, 255, 0};

// The keys the editor acts on, as the window reads them.
enum class Key {
  kUndo,       // Ctrl+Z
  kRedo,       // Ctrl+Y, Ctrl+Shift+Z
  kTry,        // F5
  kTurnOrder,  // T
  kRight,      // the arrows and the keypad's 3, 1, 7 and 9, as in play
  kDown,
  kLeft,
  kUp,
  kTakeBack,  // Backspace, Z, U: a stroke back, or in a try a move
  kEscape,
};

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

  // In the background the status is proved on a thread of its own; when asked, only in
  // finishProof().
  using Proving = ProofWorker::Mode;

  // `palette` is the palette image (128 x 16: codes 0..7 side by side).
  EditorForm(std::string stageFile, const platform::Surface& palette, FatalHandler fatal,
             Proving proving = Proving::kInBackground);

  void Form_Load();
  void map_c_MouseDown(int button, float x);
  void Pic_MouseDown(int button, float x, float y);
  void Pic_MouseMove(float x, float y);
  void Pic_MouseUp(int button);
  void stage_Change();
  // Takes the proof that has come back for the cells shown, then redraws.
  void Timer1_Timer();
  void Command1_Click();  // save
  void Command2_Click();  // load; a step that can be taken back
  void dsp();
  // Acts on a key; false when it means nothing now, so the window may use it as before.
  bool Form_KeyDown(Key key);

  const std::string& stageFile() const { return stageFile_; }
  // Whether any stage differs from the stage file as last loaded or saved.
  bool unsaved() const;
  bool trying() const { return trying_; }
  const StageTrial& trial() const { return trial_; }
  // Returns once the proof asked for last is ready (worked out now when proving is asked
  // for); the next timer tick shows it.
  void finishProof() { proofs_.finish(); }
  // Whether the status shows the whole proof of the cells shown, figures and all.
  bool proofSettled() const { return proofSettled_; }

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
  // The status under the controls, four lines: what the stage shown is (or how its try
  // stands), two lines of figures or keys, then whether the stages are saved.
  std::string Label4;
  bool turnOrderShown = false;  // T: each piece's place in the turn cycle over it

 private:
  bool load();
  void paintBrush(float x, float y);
  void showCell(float x, float y);
  void drawSelectionFrame(float x);
  void edited();
  void requestProof();
  void stepHistory(bool forward);
  bool trialKey(Key key);
  void updateStatus();

  std::string stageFile_;
  FatalHandler fatal_;
  common::StageSet savedSet_;    // the cells as the stage file holds them
  common::StageSet strokeFrom_;  // the cells before the stroke under way
  EditHistory history_;
  uint64_t edits_ = 0;  // cell changes so far: a proof of older cells is dropped
  ProofLines proofLines_ = provingLines();
  bool proofSettled_ = false;
  bool trying_ = false;
  StageTrial trial_;
  ProofWorker proofs_;  // last: its thread ends before the rest goes
};

// Draws the stand-in for a code that has no palette picture (8, 9, or anything past the
// palette): a magenta and black hatched square with the code's last digit in white.
void drawCodeWithoutPicture(platform::Surface& s, int left, int top, int code);

// Draws a piece's place in the turn cycle, white on black, in the top left corner of the
// cell at (left, top).
void drawTurnPlace(platform::Surface& s, int left, int top, int place);

}  // namespace editor
