// The stage editor's state and event handlers, free of any window toolkit.
#include "editor/editor_form.h"

#include <cmath>
#include <optional>
#include <utility>

#include "common/stage_file.h"

namespace editor {

namespace {

int cellOf(float pixel) {
  return static_cast<int>(std::floor(pixel / kCellPixels));
}

// 3 x 5 digit shapes, one row a byte, the leftmost column in bit 2.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

// A digit of kDigits in white, each of its dots `scale` pixels square.
void drawDigit(platform::Surface& s, int left, int top, int digit, int scale) {
  const uint8_t* glyph = kDigits[digit];
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 3; ++col)
      if (glyph[row] & (4 >> col))
        platform::fillRect(s, left + scale * col, top + scale * row, scale, scale,
                           platform::kWhite);
}

}  // namespace

std::string stageCaption(int stage) {
  return "編集ステージ " + std::to_string(stage);
}

float clampToEditArea(float v) {
  if (v < 2) return 0;
  if (v > kEditPixels - 1) return kEditPixels - 1;
  return v;
}

void drawTurnPlace(platform::Surface& s, int left, int top, int place) {
  const std::string digits = std::to_string(place);
  const int n = static_cast<int>(digits.size());
  // One digit large, more small, so the piece beside the number stays in sight.
  const int scale = n == 1 ? 2 : 1;
  const int w = n * 3 * scale + (n - 1) * scale, h = 5 * scale;
  const int x = left + 1, y = top + 1;
  platform::fillRect(s, x - 1, y - 1, w + 2, h + 2, platform::kBlack);
  for (int i = 0; i < n; ++i) drawDigit(s, x + i * 4 * scale, y, digits[i] - '0', scale);
}

void drawCodeWithoutPicture(platform::Surface& s, int left, int top, int code) {
  constexpr platform::Rgb kMagenta{255, 0, 255};
  for (int j = 0; j < kCellPixels; ++j)
    for (int i = 0; i < kCellPixels; ++i)
      if (s.contains(left + i, top + j))
        s.setPixel(left + i, top + j, (i + j) % 4 < 2 ? kMagenta : platform::kBlack);
  platform::fillRect(s, left + 4, top + 2, 8, 12, platform::kBlack);
  drawDigit(s, left + 5, top + 3, ((code % 10) + 10) % 10, 2);
}

EditorForm::EditorForm(std::string stageFile, const platform::Surface& palette, FatalHandler fatal,
                       Proving proving)
    : stageFile_(std::move(stageFile)), fatal_(std::move(fatal)), proofs_(proving) {
  map_c.setBackground(palette);
  map_c.clear();
  requestProof();
  updateStatus();
}

void EditorForm::Form_Load() {
  // The start of the history: the file as it is.
  load();
}

void EditorForm::map_c_MouseDown(int /*button*/, float x) {
  selCode = std::floor(x / kCellPixels);
  paletteX = x;
  drawSelectionFrame(x);
}

void EditorForm::Pic_MouseDown(int /*button*/, float x, float y) {
  // A try shows a copy of the stage; nothing paints the stage under it.
  if (!trying_) {
    if (!painting) strokeFrom_ = stageSet;
    painting = true;
    paintBrush(x, y);
  }
  showCell(x, y);
  updateStatus();
}

void EditorForm::Pic_MouseMove(float x, float y) {
  // The area keeps receiving moves while a button is held outside it; clamping keeps
  // such a drag on the border cells.
  x = clampToEditArea(x);
  y = clampToEditArea(y);
  if (painting) paintBrush(x, y);
  showCell(x, y);
  updateStatus();
}

void EditorForm::Pic_MouseUp(int /*button*/) {
  // Press to release is one step of the history.
  if (painting) history_.record(strokeFrom_, stageSet, stage);
  painting = false;
  updateStatus();
}

void EditorForm::stage_Change() {
  Label3 = stageCaption(stage);
  trying_ = false;  // the stage tried is no longer shown
  requestProof();
  updateStatus();
}

void EditorForm::Timer1_Timer() {
  if (std::optional<Proof> proof = proofs_.take()) {
    // A proof of another stage, or of cells changed since, says nothing of what is shown.
    if (proof->tag == ProofTag{stage, edits_}) {
      proofLines_ = std::move(proof->lines);
      proofSettled_ = proof->settled;
    }
  }
  updateStatus();
  dsp();
}

void EditorForm::Command1_Click() {
  try {
    common::saveStageFile(stageSet, stageFile_);
  } catch (const common::FileError& e) {
    fatal_(e);
    updateStatus();
    return;
  }
  savedSet_ = stageSet;
  updateStatus();
}

void EditorForm::Command2_Click() {
  const common::StageSet before = stageSet;
  if (!load()) return;
  // Work the load discarded comes back with one undo.
  history_.record(before, stageSet, stage);
  trying_ = false;
  updateStatus();
}

bool EditorForm::load() {
  // Load into a copy: a failed load must not leave half a file in the editor, and
  // stage 0 and index 10 keep what they held.
  common::StageSet loaded = stageSet;
  try {
    common::loadStageFile(loaded, stageFile_);
  } catch (const common::FileError& e) {
    fatal_(e);
    return false;
  }
  stageSet = loaded;
  savedSet_ = loaded;
  edited();
  return true;
}

bool EditorForm::unsaved() const {
  for (int s = 1; s <= common::kStageCount; ++s)
    for (int y = 0; y < common::kFieldSize; ++y)
      for (int x = 0; x < common::kFieldSize; ++x)
        if (stageSet(x, y, s) != savedSet_(x, y, s)) return true;
  return false;
}

bool EditorForm::Form_KeyDown(Key key) {
  if (trying_) return trialKey(key);
  switch (key) {
    case Key::kUndo:
    case Key::kTakeBack:  // the game's keys for taking back, too
    case Key::kRedo:
      // A stroke under way is not a step yet.
      if (!painting) stepHistory(key == Key::kRedo);
      break;
    case Key::kTry:
      if (painting) break;
      trial_.start(stageSet, stage);
      trying_ = true;
      break;
    case Key::kTurnOrder:
      turnOrderShown = !turnOrderShown;
      break;
    default:
      return false;  // the arrows and Escape keep the toolkit's meaning
  }
  updateStatus();
  dsp();
  return true;
}

bool EditorForm::trialKey(Key key) {
  switch (key) {
    case Key::kRight:
      trial_.move(1, 0);
      break;
    case Key::kDown:
      trial_.move(0, 1);
      break;
    case Key::kLeft:
      trial_.move(-1, 0);
      break;
    case Key::kUp:
      trial_.move(0, -1);
      break;
    case Key::kTakeBack:
    case Key::kUndo:
      trial_.takeBack();
      break;
    case Key::kTry:
      trial_.start(stageSet, stage);  // from the start again
      break;
    case Key::kEscape:
      trying_ = false;
      break;
    case Key::kTurnOrder:
      turnOrderShown = !turnOrderShown;
      break;
    case Key::kRedo:
      break;
  }
  updateStatus();
  dsp();
  return true;
}

void EditorForm::stepHistory(bool forward) {
  const int s = forward ? history_.redo(stageSet) : history_.undo(stageSet);
  if (s == 0) return;
  // The step is shown where it was made.
  if (s != stage) {
    stage = s;
    Label3 = stageCaption(stage);
  }
  edited();
}

void EditorForm::edited() {
  ++edits_;
  requestProof();
}

void EditorForm::requestProof() {
  proofLines_ = provingLines();
  proofSettled_ = false;
  proofs_.request({stage, edits_}, stageSet);
}

void EditorForm::updateStatus() {
  ProofLines lines = proofLines_;
  if (trying_) {
    const int n = trial_.moves();
    const std::string moves = std::to_string(n) + (n == 1 ? " move" : " moves");
    if (trial_.cleared())
      lines = {"cleared in " + moves, "Backspace takes a move back", "Escape ends, F5 starts over"};
    else if (!trial_.state().hasPiece())
      lines = {"no piece to move", "", "Escape ends the try"};
    else
      lines = {(trial_.stuck() ? "stuck after " : "trying: ") + moves,
               "arrows move, Backspace undoes", "Escape ends, F5 starts over"};
  }
  lines.push_back(unsaved() ? "unsaved changes" : "saved");
  Label4.clear();
  for (size_t i = 0; i < lines.size(); ++i) Label4 += (i ? "\n" : "") + lines[i];
}

void EditorForm::dsp() {
  Pic.clear();
  map_c.clear();
  const platform::Surface& palette = map_c.image;
  // A try shows its own copy of the field; the stage's cells stay as they are.
  const rules::PlayState& tried = trial_.state();
  for (int y = 0; y < common::kFieldSize; ++y) {
    for (int x = 0; x < common::kFieldSize; ++x) {
      const int c = trying_ ? tried.playField[x][y] : stageSet(x, y, stage);
      const int sx = kCellPixels * (c % 16), sy = kCellPixels * (c / 16);
      if (sx + kCellPixels <= palette.width() && sy + kCellPixels <= palette.height()) {
        platform::bitBlt(Pic.image, kCellPixels * x, kCellPixels * y, kCellPixels, kCellPixels,
                         palette, sx, sy, platform::Rop::SrcCopy);
      } else {
        drawCodeWithoutPicture(Pic.image, kCellPixels * x, kCellPixels * y, c);
      }
    }
  }
  if (trying_ && !trial_.cleared() && tried.hasPiece()) {
    const int left = kCellPixels * tried.activeX, top = kCellPixels * tried.activeY;
    for (int i = 0; i < 2; ++i)
      platform::drawRectOutline(Pic.image, left + i, top + i, left + kCellPixels - 1 - i,
                                top + kCellPixels - 1 - i, kActiveColor);
  }
  if (turnOrderShown) {
    rules::PlayState order = tried;
    if (!trying_) {
      // The order the stage starts with: its pieces' places on the field, row by row.
      order = rules::PlayState();
      order.loadStage(stageSet, stage);
      order.numberPieces();
      order.turnPass();
    }
    for (int y = 0; y < common::kFieldSize; ++y)
      for (int x = 0; x < common::kFieldSize; ++x)
        if (const int place = turnPlace(order, x, y))
          drawTurnPlace(Pic.image, kCellPixels * x, kCellPixels * y, place);
  }
  // After the copies, so the frame never reaches the edit area.
  drawSelectionFrame(paletteX);
}

void EditorForm::paintBrush(float x, float y) {
  const int n = ryo, cx = cellOf(x), cy = cellOf(y), s = stage;
  const auto code = static_cast<uint8_t>(static_cast<int>(selCode));
  bool changed = false;
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      const int px = cx + a, py = cy + b;
      // The lower bound only matters for positions no window delivers; it keeps a
      // direct call from writing outside the set.
      if (px <= 9 && py <= 9 && px >= 0 && py >= 0 && stageSet(px, py, s) != code) {
        stageSet(px, py, s) = code;
        changed = true;
      }
    }
  }
  if (changed) edited();
}

void EditorForm::showCell(float x, float y) {
  Label2 = "x=" + std::to_string(cellOf(x)) + ": y=" + std::to_string(cellOf(y));
}

void EditorForm::drawSelectionFrame(float x) {
  const int left = kCellPixels * cellOf(x);
  platform::drawRectOutline(map_c.image, left, 0, left + kCellPixels - 1, kCellPixels - 1,
                            kFrameColor);
}

}  // namespace editor
