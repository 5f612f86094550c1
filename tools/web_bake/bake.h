// What the browser build ships in place of the desktop's font and JPEG decoder: every string
// the game draws as a mask, the pictures as bitmaps, made by the desktop's own code.
#pragma once

#include "platform/baked/mask_file.h"

namespace web_bake {

// The mask of every string the game can draw, in `font`.
platform::MaskSet bakeTexts(platform::MaskFont& font);

}  // namespace web_bake
