// Drawing strings from their masks, and the font that keeps one mask a string.
#include "platform/text_mask.h"

#include <algorithm>

namespace platform {

void drawMask(Surface& dst, const TextMask& mask, int x, int y, Rgb color) {
  for (const TextMask::Span& s : mask.spans) {
    const int py = y + s.y;
    if (py < 0 || py >= dst.height()) continue;
    const int x0 = std::max(x + s.x, 0), x1 = std::min(x + s.x + s.n, dst.width());
    if (x0 >= x1) continue;
    uint8_t* p = dst.row(py) + 3 * static_cast<size_t>(x0);
    for (int px = x0; px < x1; ++px, p += 3) p[0] = color.r, p[1] = color.g, p[2] = color.b;
  }
}

const TextMask& MaskFont::maskFor(const std::string& text) {
  auto it = masks_.find(text);
  if (it != masks_.end()) return it->second;
  return masks_.emplace(text, render(text)).first->second;
}

void MaskFont::drawText(Surface& dst, const std::string& text, int x, int y, Rgb color) {
  drawMask(dst, maskFor(text), x, y, color);
}

int MaskFont::textWidth(const std::string& text) {
  return maskFor(text).width;
}

}  // namespace platform
