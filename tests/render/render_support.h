// What the field renderer tests share: a sheet whose pixels tell where they came from,
// a patterned play surface, and the expected looks of floors and turn labels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/shell/game.h"
#include "platform/raster.h"
#include "platform/scripted/scripted_host.h"
#include "platform/sdl/ttf_font.h"

namespace render_test {

// A 320 x 416 sheet with the documented layout where every picture pixel encodes its
// area, frame, row and column, so a blit from the wrong place or with the wrong mask
// shows. Floors are diamonds on black over one diamond mask; piece frame p is opaque
// from row 2 + 3p and column 1 + p to the last column but one, so each frame's mask
// differs too. No picture pixel is black or grey, and none has blue 140.
const platform::Surface& syntheticSheet();

// Whether (i, j) of a 64 x 32 tile box lies in the synthetic diamond.
bool inSyntheticDiamond(int i, int j);

// A 500 x 350 surface that differs from pixel to pixel, unlike anything on the sheets.
platform::Surface patternSurface();

bool isBlack(platform::Rgb c);
std::string str(platform::Rgb c);

// A Game on a scripted host whose Pic holds the pattern (its background picture is a
// plain colour, so a stray clear shows) and whose field is all empty space.
struct FieldRig {
  explicit FieldRig(const platform::Surface& sheet);
  void fill(uint8_t code);
  void put(int x, int y, uint8_t code, uint8_t rank = 0);
  // The pieces numbered and the first turn passed, as at the start of a stage.
  void startTurns();

  platform::ScriptedHost host;
  game::Game g;
  const platform::Surface before;  // Pic before anything is drawn
  const platform::Surface& sheet;
};

// Compares a field of floors only (codes 0, 1, 2; anything else draws nothing) with
// what it must look like: every pixel shows the tile picture of the last cell, in
// drawing order (y outer, x inner), whose diamond covers it, and `before` where no
// diamond does. Cell (x, y)'s tile box is at (originX + 32 (x - y), originY + 16 (x + y)).
// Returns the number of wrong pixels and describes the first in `first`.
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

// Whether any pixel in the w x h box at (x, y) has the given colour.
bool anyPixel(const platform::Surface& pic, int x, int y, int w, int h, platform::Rgb c);

}  // namespace render_test
