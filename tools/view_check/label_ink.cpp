// The pixels a turn label colours, measured by drawing it in the game's font.
#include "tools/view_check/label_ink.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace view_check {

LabelInk fontLabelInk(platform::Font& font) {
  auto cache = std::make_shared<std::map<int, Box>>();
  return [&font, cache](int value) {
    if (auto it = cache->find(value); it != cache->end()) return it->second;
    const std::string text = " " + std::to_string(value) + " ";
    constexpr int kAt = 8;  // room for the outline all round
    platform::Surface scratch(font.textWidth(text) + 2 * kAt, 64 + 2 * kAt, platform::kBlack);
    for (const auto& [dx, dy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}, {0, 0}})
      font.drawText(scratch, text, kAt + dx, kAt + dy, platform::kWhite);
    int x0 = scratch.width(), y0 = scratch.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < scratch.height(); ++y) {
      for (int x = 0; x < scratch.width(); ++x) {
        if (scratch.pixel(x, y) == platform::kBlack) continue;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    }
    const Box ink = x1 < 0 ? Box{} : Box{x0 - kAt, y0 - kAt, x1 - x0 + 1, y1 - y0 + 1};
    return cache->emplace(value, ink).first->second;
  };
}

}  // namespace view_check
