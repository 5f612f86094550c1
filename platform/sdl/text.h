// Text drawn into a Surface in the play surface's font, with a transparent background.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/raster.h"

namespace platform {

class Font {
 public:
  // The play surface's font: the named Japanese Gothic face if installed, else a
  // proportional Japanese Gothic, italic, 14.25 pt at 96 dpi (19 px). Throws
  // std::runtime_error when no usable face is found.
  static std::unique_ptr<Font> openGameFont();
  ~Font();

  // Draws UTF-8 text with its top-left corner at (x, y); only glyph pixels change.
  void drawText(Surface& dst, const std::string& text, int x, int y, Rgb color);
  // Width in pixels of the drawn text.
  int textWidth(const std::string& text);

 private:
  struct Mask {
    int width = 0, height = 0;
    struct Span {
      int y, x, n;  // n glyph pixels from (x, y) rightwards
    };
    std::vector<Span> spans;
  };
  explicit Font(void* ttf) : ttf_(ttf) {}
  const Mask& maskFor(const std::string& text);

  void* ttf_;
  // Rasterised strings; the game draws the same few dozen labels every frame.
  std::unordered_map<std::string, Mask> masks_;
};

// Path of a font file for the family, by fontconfig; empty when nothing matches it.
std::string findFontFile(const std::string& family, bool exactFamily);

}  // namespace platform
