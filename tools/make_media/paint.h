// A floating-point canvas with soft shapes, glows and lettering, for the title pictures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/raster.h"

namespace make_media {

struct Color {
  float r = 0, g = 0, b = 0;
};

Color rgb(int hex);
Color mix(Color a, Color b, float t);
Color scale(Color c, float k);
float smoothstep(float e0, float e1, float x);

// A repeatable pseudo-random value in [0, 1) for integer coordinates and a seed.
float hashNoise(int x, int y, int seed);
// Smooth value noise in [0, 1) at a real position.
float valueNoise(float x, float y, int seed);

// Pictures are painted at `ss` times their size and averaged down, which smooths every
// edge. Shape coordinates are given in final-picture pixels.
class Canvas {
 public:
  Canvas(int width, int height, int ss);

  int width() const { return w_ / ss_; }
  int height() const { return h_ / ss_; }

  // Sets every pixel from a function of its position (final-picture pixels).
  void paint(const std::function<Color(float, float)>& f);
  // Blends `shade`(x, y) with opacity `alpha` wherever `inside`(x, y) holds, within the box.
  void fill(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside,
            const std::function<Color(float, float)>& shade, float alpha = 1);
  void fillPolygon(const std::vector<float>& xy, Color c, float alpha = 1);
  void fillPolygon(const std::vector<float>& xy, const std::function<Color(float, float)>& shade,
                   float alpha = 1);
  void fillEllipse(float cx, float cy, float rx, float ry, Color c, float alpha = 1);
  // An ellipse lit like a ball from the upper left, with a highlight.
  void fillBall(float cx, float cy, float rx, float ry, Color base, float shine = 0.6f);
  void thickLine(float x0, float y0, float x1, float y1, float width, Color c, float alpha = 1);
  // Adds a soft round light that fades out at `radius`.
  void glow(float cx, float cy, float radius, Color c, float strength);
  // Blends a coverage map (values 0..1, `mw` x `mh` canvas pixels) placed at canvas pixel
  // (px, py), coloured by `shade` at final-picture positions.
  void stamp(const std::vector<float>& mask, int mw, int mh, int px, int py,
             const std::function<Color(float, float)>& shade, float alpha = 1);
  // Darkens the corners.
  void vignette(float strength);

  int superSample() const { return ss_; }
  // The averaged-down picture with a faint ordered dither, so JPEG gradients do not band.
  platform::Surface resolve() const;

 private:
  void blend(int x, int y, Color c, float a) {
    Color& p = px_[static_cast<size_t>(y) * w_ + x];
    p = mix(p, c, a);
  }
  int w_, h_, ss_;
  std::vector<Color> px_;
};

// Lettering rendered by SDL2_ttf into a coverage map at canvas resolution.
struct Lettering {
  std::vector<float> mask;
  int width = 0, height = 0;
};

// Renders `text` from the font file at `pixelSize` canvas pixels; each glyph is raised by
// `arc`(its centre as a fraction 0..1 of the width) canvas pixels, for lettering that bows.
Lettering renderLettering(const std::string& fontFile, int pixelSize, const std::string& text,
                          const std::function<float(float)>& arc, int letterSpacing = 0);
// The mask grown by `radius` pixels (a round pen), for outlines.
std::vector<float> dilate(const std::vector<float>& mask, int w, int h, int radius);
// The mask spread by a box blur of `radius` pixels, applied three times (nearly Gaussian).
std::vector<float> blur(const std::vector<float>& mask, int w, int h, int radius);
// Pads a mask by `pad` pixels on every side.
Lettering pad(const Lettering& l, int pad);

}  // namespace make_media
