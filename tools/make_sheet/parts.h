// The pictures of the sprite sheet and the palette image, one function each.
#pragma once

#include <string>

#include "platform/raster.h"
#include "tools/make_sheet/art.h"

namespace sheet {

// Floors: 64 x 32 diamonds. A pixel belongs to the diamond when its centre lies inside
// the rhombus through the middles of the box's sides, so neighbouring tiles meet
// without gap or overlap.
bool inDiamond(int x, int y);
Art grassTile();
Art earthTile();
Art waterTile();
// The grass colour at a pixel, for the tile, the texture rectangle and the palette image.
Rgb grassAt(int x, int y);
Rgb earthAt(int x, int y);

// The shadow of a piece in the air: opaque where its dither darkens, 32 x 16.
Art shadowOval();
// Aim arrow of one 32 x 16 quarter: 0 up left, 1 up right, 2 down left, 3 down right.
Art aimArrow(int quarter);
// The turn marker, frames 0..2 from small to large, 32 x 32.
Art turnMarker(int frame);
// The 8 x 8 preview cell of a cell code 0..6.
Art miniCell(int code);

// Pieces: standing frames follow the animation phase 0..2; moving pictures follow the
// facing 0 up right, 1 down right, 2 down left, 3 up left.
Art walker(int phase);
Art walkerWalking(int facing);
Art bird(int phase);
Art birdSliding(int facing);
Art worm(int phase);
Art frog(int phase);
Art frogJumping(int facing);

// Hand-lettered words, light strokes on black. Frames 0..2 are three drawings of the
// same words.
platform::Surface stageSelectHeading(int frame);    // 256 x 32
platform::Surface clearWord(int frame);             // 96 x 32
platform::Surface button(const std::string& word);  // 64 x 32, the word in an oval

}  // namespace sheet

namespace sheet {

// The whole 320 x 416 sprite sheet, every picture and mask in its place on black.
platform::Surface buildSheet();
// The sheet as an 8-bit bitmap; throws std::runtime_error past 256 colours.
std::string encodeSheet(const platform::Surface& sheet);
// The editor's 128 x 16 palette image, eight 16 x 16 cell pictures.
platform::Surface buildPalette();

}  // namespace sheet
