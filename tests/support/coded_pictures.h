// Pictures whose every pixel says where it came from: a sprite sheet with the shipped one's
// layout, and a palette for the editor, so a copy from the wrong place shows.
#pragma once

#include "platform/raster.h"

namespace testing_support {

// The colour the coded sheet's pictures hold at (sx, sy): red and green are the low bits of
// the position, blue the high bits. Never black, never grey, never of blue 140 (the turn
// labels' outlines), so no label colour is ever taken for a sheet pixel.
platform::Rgb coded(int sx, int sy);
// True when `c` is a coded colour of the sheet rectangle (x, y, w, h).
bool isCodedFrom(platform::Rgb c, int x, int y, int w, int h);

struct SheetOptions {
  // Floors drawn through one diamond mask and every standing piece's frame p through a mask
  // of its own (opaque from row 2 + 3p and column 1 + p to the last column but one), with
  // black pictures outside them, so a blit through the wrong mask shows. Otherwise every
  // mask is opaque all over and every picture pixel shows where it is drawn.
  bool shapedMasks = false;
  // The grass tile, which the stage select's wave draws; hidden, it draws nothing.
  bool wave = true;
  // The lettering frames, which the stage select's heading draws with OR; hidden, black.
  bool heading = true;
};

// A 320 x 416 sheet with the shipped layout: coded pictures, black (opaque) masks, and the
// shadow mask at (128, 16) a checkerboard, black where x + y is even. It lives as long as
// the test program, as the game's sheet must.
const platform::Surface& codedSheet(const SheetOptions& options = {});

// Whether (i, j) of a 64 x 32 tile box lies in the shaped sheet's floor diamond.
bool inDiamond(int i, int j);

// A palette picture (eight 16 x 16 squares by default) whose every pixel differs; red stays
// below 255, so the editor's red selection frame is never taken for palette pixels.
platform::Surface distinctPalette(int width = 128, int height = 16);

}  // namespace testing_support
