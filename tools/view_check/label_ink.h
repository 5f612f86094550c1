// The pixels a turn label colours, measured by drawing it in the game's font.
#pragma once

#include "platform/font.h"
#include "tools/view_check/view_check.h"

namespace view_check {

// Draws " n " the way the play screen prints a turn label (four outline copies one pixel
// off diagonally, then the text) and takes the box of the pixels it coloured. The font must
// outlive the answer.
LabelInk fontLabelInk(platform::Font& font);

}  // namespace view_check
