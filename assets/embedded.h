// Pictures that are part of the window definitions, built into the programs.
#pragma once

#include <span>

namespace assets {

// The game's sprite sheet: a 320 x 416 bitmap with an 8-bit palette.
std::span<const unsigned char> spriteSheetBmp();
// The editor's palette image: a 128 x 16 bitmap, 24 bits a pixel.
std::span<const unsigned char> paletteBmp();

}  // namespace assets
