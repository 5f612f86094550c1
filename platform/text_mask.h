// A whole string's glyph pixels, made once and drawn many times; the font that keeps them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/font.h"

namespace platform {

// The glyph pixels of one string as runs along its rows. Whole strings rather than glyphs:
// an italic glyph overhangs its neighbour, so a string is not the sum of its glyphs.
struct TextMask {
  struct Span {
    int y, x, n;  // n glyph pixels from (x, y) rightwards
    bool operator==(const Span&) const = default;
  };
  int width = 0, height = 0;
  std::vector<Span> spans;
  bool operator==(const TextMask&) const = default;
};

// Sets the glyph pixels of `mask` to `color`, its top-left corner at (x, y), clipped.
void drawMask(Surface& dst, const TextMask& mask, int x, int y, Rgb color);

// A font that draws each string from its mask, made by `render` the first time the string
// is asked for: the game draws the same few dozen labels every frame.
class MaskFont : public Font {
 public:
  void drawText(Surface& dst, const std::string& text, int x, int y, Rgb color) override;
  int textWidth(const std::string& text) override;
  const TextMask& maskFor(const std::string& text);

 protected:
  virtual TextMask render(const std::string& text) = 0;

 private:
  std::unordered_map<std::string, TextMask> masks_;
};

}  // namespace platform
