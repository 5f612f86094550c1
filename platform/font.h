// Text in the play surface's font, drawn into a Surface with a transparent background.
#pragma once

#include <string>

#include "platform/raster.h"

namespace platform {

class Font {
 public:
  virtual ~Font() = default;
  // Draws UTF-8 text with its top-left corner at (x, y); only glyph pixels change.
  virtual void drawText(Surface& dst, const std::string& text, int x, int y, Rgb color) = 0;
  // Width in pixels of the drawn text.
  virtual int textWidth(const std::string& text) = 0;
};

}  // namespace platform
