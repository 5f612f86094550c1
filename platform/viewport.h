// Where the play surface sits in a resized window: the largest whole scale that fits,
// centred, and the way back from window pixels to play-surface pixels.
#pragma once

namespace platform {

struct Viewport {
  int scale = 1;
  int left = 0, top = 0;  // window pixel of the surface's top-left corner

  // Surface pixels, fractional, of a window pixel; outside positions map outside.
  float toSurfaceX(int windowX) const { return static_cast<float>(windowX - left) / scale; }
  float toSurfaceY(int windowY) const { return static_cast<float>(windowY - top) / scale; }
};

inline Viewport fitViewport(int windowW, int windowH, int surfaceW, int surfaceH) {
  Viewport v;
  const int sx = windowW / surfaceW, sy = windowH / surfaceH;
  v.scale = sx < sy ? sx : sy;
  if (v.scale < 1) v.scale = 1;
  // At the opening size the extra pixel of the client area falls right and below.
  v.left = (windowW - surfaceW * v.scale) / 2;
  v.top = (windowH - surfaceH * v.scale) / 2;
  if (v.left < 0) v.left = 0;
  if (v.top < 0) v.top = 0;
  return v;
}

}  // namespace platform
