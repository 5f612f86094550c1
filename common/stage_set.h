// The 30 stages as cell codes, indexed (x, y, s) like the stage file lays them out.
#pragma once

#include <cstdint>
#include <cstring>

namespace common {

constexpr int kStageCount = 30;
constexpr int kFieldSize = 10;

// Cell codes; 8 and 9 are pieces that move like walkers and have no picture.
enum CellCode : uint8_t {
  kUnpainted = 0,
  kPainted = 1,
  kBlock = 2,
  kWalker = 3,
  kSlider = 4,
  kEraser = 5,
  kJumper = 6,
  kEmpty = 7,
};

// What a cell code is called in messages; 8 and 9 are pieces without a name of their own.
constexpr const char* cellName(uint8_t code) {
  constexpr const char* kNames[] = {"floor",  "floor",  "block",  "walker",
                                    "slider", "eraser", "jumper", "empty space"};
  return code < 8 ? kNames[code] : "piece";
}

// Declared 0..10 on every index, one more than the field and the stages need; stage 0
// and index 10 are never filled from the file and stay 0.
struct StageSet {
  uint8_t cells[11][11][31];

  StageSet() { std::memset(cells, 0, sizeof cells); }
  uint8_t& operator()(int x, int y, int s) { return cells[x][y][s]; }
  uint8_t operator()(int x, int y, int s) const { return cells[x][y][s]; }
  bool operator==(const StageSet& o) const {
    return std::memcmp(cells, o.cells, sizeof cells) == 0;
  }
};

}  // namespace common
