// The floor shape of a stage, the same for layouts that differ only in their pieces and paint.
#include "tools/stage_design/layout_shape.h"

#include <algorithm>

namespace stage_design {

std::string floorShape(const common::StageSet& set, int s) {
  auto letter = [&](int x, int y) {
    const uint8_t c = set(x, y, s);
    return c == common::kEmpty ? '-' : c == common::kBlock ? '#' : '.';
  };
  std::string best;
  for (int turn = 0; turn < 8; ++turn) {
    // Cell (u, v) of the turned picture is cell (x, y) of the stage.
    auto at = [&](int u, int v) {
      int x = turn & 1 ? v : u, y = turn & 1 ? u : v;
      if (turn & 2) x = 9 - x;
      if (turn & 4) y = 9 - y;
      return letter(x, y);
    };
    int u0 = 10, v0 = 10, u1 = -1, v1 = -1;
    for (int v = 0; v < 10; ++v) {
      for (int u = 0; u < 10; ++u) {
        if (at(u, v) == '-') continue;
        u0 = std::min(u0, u), v0 = std::min(v0, v), u1 = std::max(u1, u), v1 = std::max(v1, v);
      }
    }
    std::string text;
    for (int v = v0; v <= v1; ++v) {
      for (int u = u0; u <= u1; ++u) text += at(u, v);
      text += '\n';
    }
    if (best.empty() || text < best) best = text;
  }
  return best;
}

}  // namespace stage_design
