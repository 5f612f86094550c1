// The floor shape of a stage, the same for layouts that differ only in their pieces and paint.
#pragma once

#include <string>

#include "common/stage_set.h"

namespace stage_design {

// Floor (with or without paint or a piece), block and empty space, cut to the box they fill
// and taken in the first of its eight turns and mirror images, so that shifted, turned or
// mirrored copies of a layout give the same text.
std::string floorShape(const common::StageSet& set, int s);

}  // namespace stage_design
