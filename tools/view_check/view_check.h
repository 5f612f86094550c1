// What a player sees of a stage at its start: every box the play screen draws for it, held
// against the play surface and its two buttons.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/stage_set.h"

namespace view_check {

// A rectangle of surface pixels: left and top included, right and bottom excluded.
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool overlaps(const Box& o) const {
    return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
  }
  bool operator==(const Box&) const = default;
};

// The 64 x 32 tile box of cell (x, y) at the start offsets.
Box tileBox(int x, int y);
// The picture of a piece of `code` standing on cell (x, y); an empty box for other codes.
Box pieceBox(uint8_t code, int x, int y);
// The turn marker over the active piece of `code` on cell (x, y).
Box markerBox(uint8_t code, int x, int y);

// The pixels a turn label showing `value` colours, relative to the position it is printed at.
using LabelInk = std::function<Box(int value)>;

// Everything of stage s that lies outside the surface or under a button at the start, one
// line each (for example "slider at 1,0: picture above the top edge"); empty when all is in
// view. Checked: every floor, block and piece tile, every piece picture and turn label, the
// turn marker of the piece that moves first, and no picture or label under a button.
std::vector<std::string> problems(const common::StageSet& set, int s, const LabelInk& labelInk);

}  // namespace view_check
