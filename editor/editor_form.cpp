// The stage editor's state and event handlers, free of any window toolkit.
#include "editor/editor_form.h"

#include <cmath>
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

}  // namespace

std::string stageCaption(int stage) {
  return "編集ステージ " + std::to_string(stage);
}

float clampToEditArea(float v) {
  if (v < 2) return 0;
  if (v > kEditPixels - 1) return kEditPixels - 1;
  return v;
}

void drawCodeWithoutPicture(platform::Surface& s, int left, int top, int code) {
  constexpr platform::Rgb kMagenta{255, 0, 255};
  for (int j = 0; j < kCellPixels; ++j)
    for (int i = 0; i < kCellPixels; ++i)
      if (s.contains(left + i, top + j))
        s.setPixel(left + i, top + j, (i + j) % 4 < 2 ? kMagenta : platform::kBlack);
  platform::fillRect(s, left + 4, top + 2, 8, 12, platform::kBlack);
  const uint8_t* glyph = kDigits[((code % 10) + 10) % 10];
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 3; ++col)
      if (glyph[row] & (4 >> col))
        platform::fillRect(s, left + 5 + 2 * col, top + 3 + 2 * row, 2, 2, platform::kWhite);
}

EditorForm::EditorForm(std::string stageFile, const platform::Surface& palette, FatalHandler fatal)
    : stageFile_(std::move(stageFile)), fatal_(std::move(fatal)) {
  map_c.setBackground(palette);
  map_c.clear();
}

void EditorForm::Form_Load() {
  Command2_Click();
}

void EditorForm::map_c_MouseDown(int /*button*/, float x) {
  selCode = std::floor(x / kCellPixels);
  paletteX = x;
  drawSelectionFrame(x);
}

void EditorForm::Pic_MouseDown(int /*button*/, float x, float y) {
  painting = true;
  paintBrush(x, y);
  showCell(x, y);
}

void EditorForm::Pic_MouseMove(float x, float y) {
  // The area keeps receiving moves while a button is held outside it; clamping keeps
  // such a drag on the border cells.
  x = clampToEditArea(x);
  y = clampToEditArea(y);
  if (painting) paintBrush(x, y);
  showCell(x, y);
}

void EditorForm::Pic_MouseUp(int /*button*/) {
  painting = false;
}

void EditorForm::stage_Change() {
  Label3 = stageCaption(stage);
}

void EditorForm::Command1_Click() {
  try {
    common::saveStageFile(stageSet, stageFile_);
  } catch (const common::FileError& e) {
    fatal_(e);
  }
}

void EditorForm::Command2_Click() {
  // Load into a copy: a failed load must not leave half a file in the editor, and
  // stage 0 and index 10 keep what they held.
  common::StageSet loaded = stageSet;
  try {
    common::loadStageFile(loaded, stageFile_);
  } catch (const common::FileError& e) {
    fatal_(e);
    return;
  }
  stageSet = loaded;
}

void EditorForm::dsp() {
  Pic.clear();
  map_c.clear();
  const platform::Surface& palette = map_c.image;
  for (int y = 0; y < common::kFieldSize; ++y) {
    for (int x = 0; x < common::kFieldSize; ++x) {
      const int c = stageSet(x, y, stage);
      const int sx = kCellPixels * (c % 16), sy = kCellPixels * (c / 16);
      if (sx + kCellPixels <= palette.width() && sy + kCellPixels <= palette.height()) {
        platform::bitBlt(Pic.image, kCellPixels * x, kCellPixels * y, kCellPixels, kCellPixels,
                         palette, sx, sy, platform::Rop::SrcCopy);
      } else {
        drawCodeWithoutPicture(Pic.image, kCellPixels * x, kCellPixels * y, c);
      }
    }
  }
  // After the copies, so the frame never reaches the edit area.
  drawSelectionFrame(paletteX);
}

void EditorForm::paintBrush(float x, float y) {
  const int n = ryo, cx = cellOf(x), cy = cellOf(y), s = stage;
  const auto code = static_cast<uint8_t>(static_cast<int>(selCode));
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      const int px = cx + a, py = cy + b;
      // The lower bound only matters for positions no window delivers; it keeps a
      // direct call from writing outside the set.
      if (px <= 9 && py <= 9 && px >= 0 && py >= 0) stageSet(px, py, s) = code;
    }
  }
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
