// What the stage-select screen must show, worked out apart from the game: where each label
// lies and how it looks in the game's font; and the screen on a plain background over the
// coded sheet.
#pragma once

#include <string>

#include "game/shell/game.h"
#include "tests/support/coded_pictures.h"
#include "tests/support/game/game_rig.h"
#include "tests/support/pixels.h"

namespace testing_support {

// The background of the scene: no label colour, no coded colour.
constexpr platform::Rgb kBackground{40, 60, 40};

// The label colours.
constexpr platform::Rgb kBlueOutline{0, 20, 140};
constexpr platform::Rgb kPurpleOutline{90, 20, 140};
constexpr platform::Rgb kGreyText{128, 128, 128};
constexpr platform::Rgb kWhiteText{255, 255, 255};

// The rig of the screen run by itself: no program files, the coded sheet without the wave
// and the heading unless asked for, the plain background behind Pic.
RigOptions menuScene(const SheetOptions& sheet = {.wave = false, .heading = false});
// Every stage filled with a pattern that holds each of the codes 0..9.
void fillStagesWithAllCodes(game::Game& g);

// Where stage n's label is drawn.
int labelX(int stage);
int labelY(int stage);
std::string labelText(int stage);
// Draws one outlined label the documented way into `s` (reference pictures).
void drawReferenceLabel(platform::Surface& s, int stage, platform::Rgb outline, platform::Rgb text);
// The smallest box around stage n's label with its outline, from the font's glyphs.
Box labelBox(int stage);
// Pixels of colour `c` inside stage n's label box.
int countInLabel(const platform::Surface& s, int stage, platform::Rgb c);
// Pixels of the preview of `stage` that are not copies of the sheet's 8 x 8 cells of its
// codes; its holes (empty space) are not looked at.
int previewMismatches(const platform::Surface& pic, const platform::Surface& sheet,
                      const common::StageSet& stages, int stage);

}  // namespace testing_support
