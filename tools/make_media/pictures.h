// The title picture and the quiet background of every later screen.
#pragma once

#include <string>

#include "platform/raster.h"

namespace make_media {

constexpr int kPictureWidth = 500;
constexpr int kPictureHeight = 350;

// The fonts the lettering is drawn with (package fonts-dejavu-core).
struct TitleFonts {
  std::string name;  // the game's name
  std::string hint;  // the small line under it
};
TitleFonts findTitleFonts();

platform::Surface paintTitle(const TitleFonts& fonts);
platform::Surface paintBackground();

}  // namespace make_media
