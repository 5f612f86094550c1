// What a player sees of a stage at its start: every box the play screen draws for it, held
// against the play surface and its two buttons.
#include "tools/view_check/view_check.h"

#include "game/base/game_state.h"
#include "game/render/layout.h"
#include "game/rules/rules.h"

namespace view_check {

namespace {

namespace layout = game::layout;

constexpr Box box(const layout::Rect& r) {
  return {r.x, r.y, r.w, r.h};
}
constexpr Box kSurface{0, 0, game::kPicWidth, game::kPicHeight};
constexpr Box kGiveUpButton = box(layout::kGiveUpAt), kRetryButton = box(layout::kRetryAt);

// The start offsets are whole pixels, so every box is too.
int cellLeft(int x, int y) {
  return static_cast<int>(layout::tileBox(x, y, game::kStartViewX, game::kStartViewY).left);
}
int cellTop(int x, int y) {
  return static_cast<int>(layout::tileBox(x, y, game::kStartViewX, game::kStartViewY).top);
}

// Where the box leaves the surface, for instance "cut at the left edge"; empty when inside.
std::string outside(const Box& b) {
  std::string edges;
  auto add = [&](bool cut, const char* edge) {
    if (!cut) return;
    edges += edges.empty() ? "" : " and ";
    edges += edge;
  };
  add(b.left < kSurface.left, "left");
  add(b.right() > kSurface.right(), "right");
  add(b.top < kSurface.top, "top");
  add(b.bottom() > kSurface.bottom(), "bottom");
  return edges.empty() ? "" : "cut at the " + edges + " edge";
}

}  // namespace

Box tileBox(int x, int y) {
  return {cellLeft(x, y), cellTop(x, y), 64, 32};
}

Box pieceBox(uint8_t code, int x, int y) {
  if (code < common::kWalker || code > common::kJumper) return {};  // no picture
  const layout::Offset at = layout::standingOffset(code);
  const layout::Rect picture = layout::standingPiece(code, 0).picture;
  return {cellLeft(x, y) + at.dx, cellTop(x, y) + at.dy, picture.w, picture.h};
}

Box markerBox(uint8_t code, int x, int y) {
  const layout::Offset at = layout::turnMarkerOffset(code);
  const layout::Rect marker = layout::turnMarker(0).picture;
  return {cellLeft(x, y) + at.dx, cellTop(x, y) + at.dy, marker.w, marker.h};
}

std::vector<std::string> problems(const common::StageSet& set, int s, const LabelInk& labelInk) {
  rules::PlayState ps;
  ps.loadStage(set, s);
  ps.numberPieces();
  ps.turnPass();
  std::vector<std::string> found;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const uint8_t code = ps.playField[x][y];
      if (code >= common::kEmpty) continue;  // nothing is drawn for it
      const std::string at = std::string(common::cellName(code)) + " at " + std::to_string(x) +
                             "," + std::to_string(y) + ": ";
      auto hold = [&](const Box& b, const std::string& what, bool clearOfButtons) {
        if (const std::string cut = outside(b); !cut.empty())
          found.push_back(at + what + " " + cut);
        if (clearOfButtons && b.overlaps(kGiveUpButton))
          found.push_back(at + what + " under the GiveUp button");
        if (clearOfButtons && b.overlaps(kRetryButton))
          found.push_back(at + what + " under the Retry button");
      };
      hold(tileBox(x, y), "tile", false);
      if (!rules::isPiece(code)) continue;
      hold(pieceBox(code, x, y), "picture", true);
      const int rank = ps.turnRank[x][y];
      if (rank == ps.turnCycle) {
        hold(markerBox(code, x, y), "turn marker", false);
      } else {
        Box label = labelInk(rank - 1);
        label.left += cellLeft(x, y) + layout::kTurnLabelOffset.dx;
        label.top += cellTop(x, y) + layout::kTurnLabelOffset.dy;
        hold(label, "turn label", true);
      }
    }
  }
  return found;
}

}  // namespace view_check
