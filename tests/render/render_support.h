// What the field renderer tests share: a field to draw on, and the expected looks of floors
// and turn labels.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/shell/game.h"
#include "platform/raster.h"
#include "tests/support/coded_pictures.h"
#include "tests/support/game/game_rig.h"
#include "tests/support/pixels.h"

namespace render_test {

// The coded sheet with shaped masks: a blit from the wrong place or through the wrong mask
// shows, and no picture pixel is black, grey or of blue 140.
inline const platform::Surface& shapedSheet() {
  return testing_support::codedSheet({.shapedMasks = true});
}

// A game without program files whose Pic holds a pattern unlike anything on the sheets, over
// a plain background picture (so a stray clear shows), and whose field is all empty space.
struct Field {
  explicit Field(const platform::Surface& sheet);
  void fill(uint8_t code);
  void put(int x, int y, uint8_t code, uint8_t rank = 0);
  // The pieces numbered and the first turn passed, as at the start of a stage.
  void startTurns();

  testing_support::GameRig rig;
  game::Game& g;
  const platform::Surface before;  // Pic before anything is drawn
};

// Compares a field of floors only (codes 0, 1, 2; anything else draws nothing) with
// what it must look like: every pixel shows the tile picture of the last cell, in
// drawing order (y outer, x inner), whose diamond covers it, and `before` where no
// diamond does. Cell (x, y)'s tile box is at (originX + 32 (x - y), originY + 16 (x + y)).
// Returns the number of wrong pixels and describes the first ones in `first`.
int floorMismatches(const game::Game& g, const platform::Surface& before, int originX, int originY,
                    std::string* first);

// The glyph pixels of `text` printed in the game font with its top-left corner at (x, y).
std::vector<std::pair<int, int>> glyphPixels(platform::Font& font, const std::string& text, int x,
                                             int y);

// Checks an outlined label on `pic`: text pixels in `text`, the pixels of its four
// diagonal copies (not covered by the text) in `outline`, and no other pixel nearby in
// either colour. Returns an empty string when it holds, else what is wrong.
std::string checkLabel(const platform::Surface& pic, platform::Font& font, const std::string& text,
                       int x, int y, platform::Rgb outline, platform::Rgb grey);

}  // namespace render_test
