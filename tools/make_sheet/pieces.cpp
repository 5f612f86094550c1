// The four pieces: standing frames and the pictures of them on the move.
#include <cmath>
#include <numbers>

#include "tools/make_sheet/parts.h"

namespace sheet {

namespace {

constexpr double kPi = std::numbers::pi;

const std::vector<Rgb> kStone = {{70, 74, 86},    {104, 108, 122}, {140, 144, 158},
                                 {178, 182, 194}, {214, 217, 226}, {242, 244, 248}};
const Rgb kStoneLine{34, 36, 46};
const Rgb kStoneFoot{88, 90, 104};

const std::vector<Rgb> kFeather = {
    {150, 160, 184}, {192, 200, 218}, {224, 230, 240}, {246, 248, 252}, {255, 255, 255}};
const Rgb kFeatherLine{66, 72, 98};
const Rgb kBeak{244, 156, 40}, kBeakDark{188, 98, 22};

const std::vector<Rgb> kWorm = {{74, 128, 24}, {116, 176, 40}, {160, 214, 72}, {206, 240, 128}};
const Rgb kWormLine{32, 66, 14};

const std::vector<Rgb> kFrog = {{28, 96, 40}, {44, 132, 52}, {70, 170, 64}, {120, 206, 96}};
const std::vector<Rgb> kFrogBelly = {{186, 204, 118}, {222, 232, 156}};
const Rgb kFrogLine{16, 54, 24};

const Rgb kEyeWhite{250, 250, 250}, kPupil{18, 18, 26};

auto shaded(const std::vector<Rgb>& shades, double lift = 0.0) {
  return [&shades, lift](int x, int y, double u, double v) {
    return ramp(shades, sphereLight(u, v) * 0.95 + 0.08 + lift, x, y);
  };
}

void eye(Art& a, double cx, double cy, double rx, double ry, int lookX, int lookY) {
  a.fillEllipse(cx, cy, rx, ry, kEyeWhite);
  const int px = static_cast<int>(std::floor(cx)) + lookX,
            py = static_cast<int>(std::floor(cy)) + lookY;
  a.put(px, py, kPupil);
  a.put(px, py - 1, kPupil);
}

// ---- walker: a round grey creature on two stubby feet ----

Art walkerBody(double cy, double rx, double ry, double eyesX, double eyesY, int look,
               double leftFootX, double leftFootY, double rightFootX, double rightFootY,
               bool face) {
  Art a(32, 32);
  a.fillEllipse(leftFootX, leftFootY, 4, 2.5, kStoneFoot);
  a.fillEllipse(rightFootX, rightFootY, 4, 2.5, kStoneFoot);
  a.fillEllipse(16, cy, rx, ry, shaded(kStone));
  if (face) {
    eye(a, eyesX - 3.5, eyesY, 2.2, 3, look, 1);
    eye(a, eyesX + 3.5, eyesY, 2.2, 3, look, 1);
  }
  a.outline(kStoneLine);
  return a;
}

// ---- slider: a tall white bird ----

void birdHead(Art& a, double hx, double hy, double r, int facing, bool front) {
  a.fillEllipse(hx, hy, r, r, shaded(kFeather, 0.1));
  if (front) {
    eye(a, hx - 3, hy - 1, 1.6, 2, 0, 1);
    eye(a, hx + 3, hy - 1, 1.6, 2, 0, 1);
    a.fillPolygon({hx - 2.5, hy + 2, hx + 2.5, hy + 2, hx, hy + 6.5}, kBeak);
    a.put(static_cast<int>(hx), static_cast<int>(hy + 4), kBeakDark);
  } else {
    const double s = facing == 0 ? 1 : -1;
    eye(a, hx + 2.5 * s, hy - 1.5, 1.5, 2, s > 0 ? 1 : 0, 1);
    a.fillPolygon({hx + 4 * s, hy, hx + 4 * s, hy + 3, hx + 9.5 * s, hy + 2.5}, kBeak);
  }
}

}  // namespace

Art walker(int phase) {
  // Breathing: the body squashes and widens a little, the feet stay planted.
  const double ry = 11.5 - 0.5 * phase, rx = 12 + 0.3 * phase;
  const double cy = 16.2 + 0.5 * phase;
  return walkerBody(cy, rx, ry, 16, cy - 1.5 + 0.2 * phase, 0, 10.5, 28, 21.5, 28, true);
}

Art walkerWalking(int facing) {
  // Drawn for the right-hand directions and mirrored for the left-hand ones.
  const bool left = facing >= 2;
  const bool up = facing == 0 || facing == 3;
  Art a = up ? walkerBody(16, 12, 11.2, 21, 9.5, 1, 9, 28, 22, 26.5, true)
             : walkerBody(16, 12, 11.2, 20, 16, 1, 9.5, 26.5, 23, 28, true);
  if (up) {
    // From behind only the upper eye peeks over the shoulder: hide the lower one.
    Art b = walkerBody(16, 12, 11.2, 0, 0, 0, 9, 28, 22, 26.5, false);
    b.fillEllipse(24.5, 9.5, 2, 2.6, kEyeWhite);
    b.put(25, 9, kPupil);
    b.put(25, 8, kPupil);
    a = b;
  }
  return left ? a.mirrored() : a;
}

Art bird(int phase) {
  Art a(32, 64);
  // Legs and feet.
  a.thickLine(12.5, 52, 12.5, 61, 2, kBeakDark);
  a.thickLine(19.5, 52, 19.5, 61, 2, kBeakDark);
  a.thickLine(9.5, 62, 15.5, 62, 1.6, kBeak);
  a.thickLine(16.5, 62, 22.5, 62, 1.6, kBeak);
  // Body, breathing in and out.
  const double rx = 10 + 0.4 * phase;
  a.fillEllipse(16, 40, rx, 15, shaded(kFeather));
  a.fillEllipse(16, 27, 6, 6, shaded(kFeather, 0.05));
  // Wings folded at the sides; they lift a little as it breathes in.
  const double lift = 0.8 * phase;
  auto wing = [](int x, int y, double u, double v) {
    return ramp(kFeather, 0.25 + 0.35 * sphereLight(u, v) - 0.15 * v, x, y);
  };
  a.fillTurnedEllipse(7.5 - 0.3 * phase, 39 - lift, 3.6, 10, 0.18, wing);
  a.fillTurnedEllipse(24.5 + 0.3 * phase, 39 - lift, 3.6, 10, -0.18, wing);
  // Head with a little crest; it bobs as it breathes.
  const double hy = 17 + 0.5 * phase;
  a.thickLine(16, hy - 6, 14, hy - 10, 1.4, kFeather[2]);
  a.thickLine(16.5, hy - 6, 18.5, hy - 11, 1.4, kFeather[2]);
  birdHead(a, 16, hy, 7, 1, true);
  a.outline(kFeatherLine);
  return a;
}

Art birdSliding(int facing) {
  const bool left = facing >= 2;
  const bool up = facing == 0 || facing == 3;
  // The body lies along the direction of the slide, seen on the floor's slant.
  const double dx = 0.894, dy = up ? -0.447 : 0.447;
  const double angle = std::atan2(dy, dx);
  const double cx = 31, cy = up ? 20 : 17.5;
  Art a(64, 32);
  // Feet trail behind.
  const double bx = cx - 17 * dx, by = cy - 17 * dy;
  a.thickLine(bx + 2, by + 1, bx - 6, by + 1.5 - 3 * dy, 1.6, kBeak);
  a.thickLine(bx + 2, by - 2, bx - 6, by - 2.5 - 3 * dy, 1.6, kBeak);
  a.fillTurnedEllipse(cx, cy, 18, 8.5, angle, shaded(kFeather));
  // Wings swept back along the body.
  auto wing = [](int x, int y, double u, double v) {
    return ramp(kFeather, 0.3 + 0.3 * sphereLight(u, v), x, y);
  };
  a.fillTurnedEllipse(cx - 5 * dx, cy - 5 * dy - 3, 10, 2.6, angle - 0.12, wing);
  // Head raised at the front.
  const double hx = cx + 15 * dx, hy = cy + 15 * dy - 4;
  birdHead(a, hx, hy, 6.2, 0, false);
  a.outline(kFeatherLine);
  return left ? a.mirrored() : a;
}

Art worm(int phase) {
  // An inchworm: the middle arches higher frame by frame while the ends draw in.
  Art a(16, 16);
  const double arch = 1.8 * phase, squeeze = 0.35 * phase;
  const int n = 5;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / (n - 1);
    const double x = 2.8 + squeeze + t * (8.4 - 2 * squeeze);
    const double y = 12.4 - arch * std::sin(t * kPi);
    // Alternate shades mark the segments.
    a.fillEllipse(x, y, 2.1, 2.3, shaded(kWorm, i % 2 ? 0.12 : -0.12));
  }
  const double headX = 12.3 - squeeze, headY = 11.2;
  a.fillEllipse(headX, headY, 2.8, 2.9, shaded(kWorm, 0.15));
  a.put(static_cast<int>(headX) + 1, static_cast<int>(headY) - 1, kPupil);
  a.put(static_cast<int>(headX) + 1, static_cast<int>(headY), kPupil);
  a.put(static_cast<int>(headX) + 2, static_cast<int>(headY) + 2, kWormLine);
  a.outline(kWormLine);
  return a;
}

Art frog(int phase) {
  Art a(32, 32);
  // Breathing in: the body swells and the throat balloons under the smile.
  const double swell = 0.4 * phase;
  a.fillEllipse(5.5, 25, 4, 5, shaded(kFrog));
  a.fillEllipse(26.5, 25, 4, 5, shaded(kFrog));
  a.fillEllipse(16, 20.5 + swell / 2, 11.5 + swell, 8.5 + swell / 2, shaded(kFrog));
  a.fillEllipse(16, 24.5, 7 + swell, 4.5, [](int x, int y, double, double v) {
    return ramp(kFrogBelly, 0.8 - 0.5 * v, x, y);
  });
  a.fillEllipse(10.5, 28.5, 3.2, 2, kFrog[1]);
  a.fillEllipse(21.5, 28.5, 3.2, 2, kFrog[1]);
  a.put(8, 29, kFrogLine);
  a.put(11, 29, kFrogLine);
  a.put(20, 29, kFrogLine);
  a.put(23, 29, kFrogLine);
  // Head and the eye bumps on top of it; the head sinks a little as the throat fills.
  const double hy = 14.5 + 0.5 * phase;
  a.fillEllipse(16, hy, 10, 6.5, shaded(kFrog, 0.05));
  a.fillEllipse(10.5, hy - 5, 4, 4, shaded(kFrog, 0.1));
  a.fillEllipse(21.5, hy - 5, 4, 4, shaded(kFrog, 0.1));
  eye(a, 10.5, hy - 5, 2.4, 2.4, 0, 1);
  eye(a, 21.5, hy - 5, 2.4, 2.4, 0, 1);
  if (phase > 0) {
    const double rx = 2.4 + 1.6 * phase, ry = 1.6 + 1.1 * phase, cy = hy + 4.2 + ry;
    a.fillEllipse(16, cy, rx, ry, [](int x, int y, double u, double v) {
      if (v > 0.55 && u * u + v * v > 0.6) return kFrogBelly[0];
      return ramp({{222, 232, 160}, {240, 246, 196}, {255, 255, 232}},
                  0.3 + 0.8 * sphereLight(u, v), x, y);
    });
  }
  // A wide smile.
  const int my = static_cast<int>(hy + 1.5);
  for (int x = 10; x <= 22; ++x) a.put(x, my + (x == 10 || x == 22 ? -1 : 0), kFrogLine);
  a.outline(kFrogLine);
  return a;
}

Art frogJumping(int facing) {
  // In mid-leap, seen from the side and drawn facing right, then mirrored: the body
  // points up along the leap, the hind legs stretch out behind it. Leaping away from the
  // viewer shows the frog's spotted back, toward the viewer its pale belly and face.
  const bool left = facing >= 2;
  const bool away = facing == 0 || facing == 3;
  Art a(32, 32);
  // The far hind leg, in shade.
  a.thickLine(12, 17, 6, 20, 3.2, kFrog[0]);
  a.thickLine(6, 20, 2.5, 25, 2.2, kFrog[0]);
  a.fillPolygon({0.5, 28, 2, 24, 4.5, 26}, kFrog[0]);
  // The near hind leg.
  a.thickLine(13, 18, 8, 24, 4, kFrog[1]);
  a.thickLine(8, 24, 5, 28.5, 2.6, kFrog[1]);
  a.fillPolygon({1.5, 30.5, 5, 27.5, 8, 30.5}, kFrog[2]);
  // Body tilted up toward the leap.
  const double tilt = away ? -0.65 : -0.45;
  a.fillTurnedEllipse(17, 14.5, 9, 6.2, tilt, shaded(kFrog));
  if (away) {
    a.fillEllipse(14.5, 15.5, 1.6, 1.2, kFrog[0]);
    a.fillEllipse(18.5, 11.5, 1.5, 1.1, kFrog[0]);
    a.fillEllipse(13, 12, 1.1, 0.9, kFrog[0]);
  } else {
    a.fillTurnedEllipse(18, 17.5, 7, 3, tilt, [](int x, int y, double, double v) {
      return ramp(kFrogBelly, 0.7 - 0.4 * v, x, y);
    });
  }
  // Front legs reach forward and down.
  a.thickLine(22, 16, 25, 20, 2.2, kFrog[2]);
  a.thickLine(25, 20, 27, 20, 1.6, kFrog[2]);
  // Head at the front, eye bumps on top.
  const double hx = away ? 23 : 23.5, hy = away ? 8 : 9;
  a.fillEllipse(hx, hy, 5.5, 4.5, shaded(kFrog, 0.05));
  if (away) {
    a.fillEllipse(hx - 2.5, hy - 3.5, 2.8, 2.8, shaded(kFrog, 0.1));
    a.fillEllipse(hx + 2, hy - 4, 2.4, 2.4, shaded(kFrog, 0.1));
    a.put(static_cast<int>(hx) + 3, static_cast<int>(hy) - 4, kEyeWhite);
    a.put(static_cast<int>(hx) + 4, static_cast<int>(hy) - 4, kPupil);
  } else {
    a.fillEllipse(hx - 1.5, hy - 3.5, 3, 3, shaded(kFrog, 0.1));
    a.fillEllipse(hx + 3, hy - 3, 2.6, 2.6, shaded(kFrog, 0.1));
    eye(a, hx - 1.5, hy - 3.5, 1.9, 1.9, 1, 1);
    eye(a, hx + 3, hy - 3, 1.6, 1.7, 0, 1);
    a.line(static_cast<int>(hx) - 1, static_cast<int>(hy) + 2, static_cast<int>(hx) + 4,
           static_cast<int>(hy) + 1, kFrogLine);
  }
  a.outline(kFrogLine);
  return left ? a.mirrored() : a;
}

}  // namespace sheet
