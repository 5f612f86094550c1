// Where things lie: every picture of the sprite sheet, where a resting piece stands on its
// tile, the play screen's buttons, and the projection of a cell onto the play surface.
#pragma once

#include <cstdint>

namespace game::layout {

// A rectangle of the sheet, or of the play surface.
struct Rect {
  int x, y, w, h;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A picture drawn through its mask (black where the picture is opaque, white elsewhere),
// which has the picture's size.
struct Sprite {
  Rect picture;
  int maskX, maskY;
  constexpr Rect mask() const { return {maskX, maskY, picture.w, picture.h}; }
  friend constexpr bool operator==(const Sprite&, const Sprite&) = default;
};

struct Offset {
  int dx, dy;
};

inline constexpr int kSheetWidth = 320, kSheetHeight = 416;

// Floors: 64 x 32 diamonds on black, all three through the one diamond mask.
inline constexpr Rect kDiamondMask{0, 32, 64, 32};
inline constexpr Sprite kGrassTile{{0, 0, 64, 32}, 0, 32};
inline constexpr Sprite kEarthTile{{64, 0, 64, 32}, 0, 32};
inline constexpr Sprite kWaterTile{{192, 0, 64, 32}, 0, 32};
// Unpainted floor, painted floor and block; every piece stands on painted floor.
constexpr Sprite floorTile(uint8_t code) {
  return code == 0 ? kGrassTile : code == 2 ? kWaterTile : kEarthTile;
}

// The white area whose lower left holds the shadow of a piece in the air, drawn with the
// mask operation only.
inline constexpr Rect kShadowArea{128, 0, 64, 32};
inline constexpr Rect kShadowMask{128, 16, 32, 16};
// Decoration the game does not draw: a grass texture and a white diamond.
inline constexpr Rect kGrassTexture{256, 0, 64, 32};
inline constexpr Rect kWhiteDiamond{256, 32, 64, 32};

// The aim arrow pointing toward (dx, dy), each quarter of (64, 32) pointing out of its
// outer corner; masks 64 pixels to the right.
constexpr Sprite aimArrow(int dx, int dy) {
  const int right = (dx == 1 || dy == -1) ? 1 : 0, down = (dx == 1 || dy == 1) ? 1 : 0;
  return {{64 + 32 * right, 32 + 16 * down, 32, 16}, 128 + 32 * right, 32 + 16 * down};
}

// The red pyramid over the active piece, frame p of the animation phase.
constexpr Sprite turnMarker(int p) {
  return {{224 + 32 * p, 64, 32, 32}, 224 + 32 * p, 96};
}

// A resting piece of code 3..6, frame p; pieces of other codes have no picture.
constexpr Sprite standingPiece(uint8_t code, int p) {
  switch (code) {
    case 3:
      return {{32 * p, 64, 32, 32}, 32 * p, 96};
    case 4:
      return {{32 * p, 128, 32, 64}, 32 * p, 192};
    case 5:
      return {{16 * p, 256, 16, 16}, 16 * p, 272};
    default:
      return {{32 * p, 352, 32, 32}, 32 * p, 384};
  }
}
// Where a resting piece is drawn from its tile box's corner: centred on the diamond with
// its bottom edge at the diamond's middle.
constexpr Offset standingOffset(uint8_t code) {
  return code == 4 ? Offset{16, -48} : code == 5 ? Offset{24, 0} : Offset{16, -16};
}

// A resting piece's turn label: the text's top-left corner from the tile box's corner.
inline constexpr Offset kTurnLabelOffset{35, 5};
// The turn marker over the active piece, higher over the tall slider.
constexpr Offset turnMarkerOffset(uint8_t code) {
  return {-7, code == 4 ? -80 : -50};
}
// The aim arrow lands centred on the neighbouring cell in its direction.
constexpr Offset aimArrowOffset(int dx, int dy) {
  const bool right = dx == 1 || dy == -1, down = dx == 1 || dy == 1;
  return {right ? 48 : -16, down ? 24 : -8};
}

// Facing of a move: 0 toward y - 1 (up right), 1 toward x + 1 (down right), 2 toward
// y + 1 (down left), 3 toward x - 1 (up left).
constexpr int facing(int dx, int dy) {
  return dy == -1 ? 0 : dx == 1 ? 1 : dy == 1 ? 2 : 3;
}
// The moving pictures of the walker, the slider on its belly and the jumping frog.
constexpr Sprite walking(int f) {
  return {{96 + 32 * f, 64, 32, 32}, 96 + 32 * f, 96};
}
constexpr Sprite sliding(int f) {
  const int a = f % 2, b = f / 2;  // up right, down right; down left, up left
  return {{96 + 64 * a, 128 + 64 * b, 64, 32}, 96 + 64 * a, 160 + 64 * b};
}
constexpr Sprite jumping(int f) {
  return {{96 + 32 * f, 352, 32, 32}, 96 + 32 * f, 384};
}

// White-on-black lettering and buttons, drawn with OR; frames k = 0..2.
constexpr Rect stageSelectHeading(int k) {
  return {64, 256 + 32 * k, 256, 32};
}
constexpr Rect stageWord(int k) {  // the left half of the heading: STAGE
  return {64, 256 + 32 * k, 128, 32};
}
constexpr Rect clearWord(int k) {
  return {224, 128 + 32 * k, 96, 32};
}
inline constexpr Rect kRetryButton{0, 288, 64, 32};
// The banner of a cleared stage on the play surface: STAGE, then CLEAR.
inline constexpr Offset kStageWordAt{130, 110}, kClearWordAt{278, 110};
inline constexpr Rect kGiveUpButton{0, 320, 64, 32};

// The 8 x 8 preview cell of cell code c (8 and 9 lie past the seven drawn ones).
constexpr Rect previewCell(int c) {
  return {224 + 8 * c, 248, 8, 8};
}

// Where the buttons are drawn on the play surface; a click must be strictly inside the
// area left of GiveUp's right edge or right of Retry's left edge, above their bottom.
inline constexpr Rect kGiveUpAt{0, 0, 64, 32};
inline constexpr Rect kRetryAt{436, 0, 64, 32};

// The 64 x 32 tile box of cell (x, y) on the play surface, for the scroll offsets;
// fractional cells place a piece in motion. x grows toward the lower right, y toward the
// lower left. Positions stay fractional until a picture is placed.
struct TileBox {
  double left, top;
};
constexpr TileBox tileBox(double x, double y, double viewX, double viewY) {
  return {32 * (x - y) + viewX + 270, 16 * (x + y) + viewY};
}

}  // namespace game::layout
