// Pictures with an opacity mask, and the few drawing primitives the sheet's art is made of.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/raster.h"

namespace sheet {

using platform::Rgb;

// A w x h picture in which each pixel is either opaque (with a colour) or transparent.
class Art {
 public:
  Art(int w, int h) : w_(w), h_(h), colour_(static_cast<size_t>(w) * h), on_(colour_.size()) {}

  int width() const { return w_; }
  int height() const { return h_; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  bool opaque(int x, int y) const { return inside(x, y) && on_[index(x, y)]; }
  Rgb colour(int x, int y) const { return colour_[index(x, y)]; }

  // Paints one opaque pixel; outside the picture it does nothing.
  void put(int x, int y, Rgb c) {
    if (!inside(x, y)) return;
    colour_[index(x, y)] = c;
    on_[index(x, y)] = 1;
  }
  // Recolours a pixel only where something is already painted.
  void tint(int x, int y, Rgb c) {
    if (opaque(x, y)) colour_[index(x, y)] = c;
  }
  void erase(int x, int y) {
    if (inside(x, y)) on_[index(x, y)] = 0;
  }

  // Fills the ellipse of the given centre and radii (pixel centres inside it); shade gets
  // the pixel and its position normalised to the ellipse (-1..1 on each axis).
  void fillEllipse(double cx, double cy, double rx, double ry,
                   const std::function<Rgb(int, int, double, double)>& shade);
  void fillEllipse(double cx, double cy, double rx, double ry, Rgb c);
  // The same, for an ellipse turned by `angle` radians (its x radius along that angle).
  void fillTurnedEllipse(double cx, double cy, double rx, double ry, double angle,
                         const std::function<Rgb(int, int, double, double)>& shade);
  // Fills the polygon (pixel centres inside it, even-odd rule).
  void fillPolygon(const std::vector<double>& xy, Rgb c);
  // A one-pixel line, both ends included.
  void line(int x0, int y0, int x1, int y1, Rgb c);
  // A round-ended line of the given width, for legs and necks.
  void thickLine(double x0, double y0, double x1, double y1, double width, Rgb c);
  // Grows the picture by one pixel of `c` around every edge (4-neighbours).
  void outline(Rgb c);
  // Copies the opaque pixels of `other` onto this picture at (dx, dy).
  void stamp(const Art& other, int dx, int dy);
  // The picture turned left to right.
  Art mirrored() const;

 private:
  size_t index(int x, int y) const { return static_cast<size_t>(y) * w_ + x; }
  int w_, h_;
  std::vector<Rgb> colour_;
  std::vector<uint8_t> on_;
};

// Deterministic noise in 0..1 from a seed and a pixel, the same on every machine.
double hash01(uint32_t seed, int x, int y);

// Linear mix of two colours, t in 0..1, rounded half to even.
Rgb mix(Rgb a, Rgb b, double t);

// A shade picked from a ramp (dark to light) by a light level 0..1; the ordered dither
// at (x, y) smooths the steps between neighbouring entries.
Rgb ramp(const std::vector<Rgb>& shades, double level, int x, int y);

// Lambert light on a sphere-like bulge, from the upper left and a little in front,
// for a point given in ellipse-normalised coordinates.
double sphereLight(double nx, double ny);

}  // namespace sheet
