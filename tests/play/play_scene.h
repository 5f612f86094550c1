// What the play tests share: the rig over the coded sheet, and stages from rows of letters.
#pragma once

#include <initializer_list>

#include "common/stage_set.h"
#include "game/solve/solver.h"
#include "tests/support/coded_pictures.h"
#include "tests/support/file_text.h"
#include "tests/support/game/game_rig.h"
#include "tools/stage_design/stage_text.h"

namespace play_test {

using namespace testing_support;
// One solution move: the cell of the piece whose turn it is, and its direction.
using solve::Move;

// A plain background for pixel checks: no coded colour, not black.
constexpr platform::Rgb kFlat{10, 20, 30};

// The rig over the coded sheet; with `flat`, kFlat behind Pic where back.jpg would be.
inline RigOptions codedRig(bool flat = false) {
  RigOptions o{.sheet = &codedSheet()};
  if (flat) o.background = kFlat;
  return o;
}

// Stage `s` of a set from rows of letters (row y, column x): . unpainted, o painted,
// # block, W walker, S slider, E eraser, J jumper, - empty, 8 and 9. Cells left out are
// empty space.
inline common::StageSet stageFrom(std::initializer_list<const char*> rows, int s = 1) {
  common::StageSet set;
  stage_design::fillStage(set, s, {rows.begin(), rows.end()});
  return set;
}

}  // namespace play_test
