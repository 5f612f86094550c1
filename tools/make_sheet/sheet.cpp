// Places every picture and mask on the sprite sheet, and composes the editor's palette.
#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "common/stage_set.h"
#include "game/render/layout.h"
#include "platform/bmp.h"
#include "tools/make_sheet/parts.h"

namespace sheet {

namespace layout = game::layout;

namespace {

using platform::Surface;

// The picture where it is opaque, black elsewhere.
void putPicture(Surface& s, const Art& a, int x, int y) {
  for (int j = 0; j < a.height(); ++j)
    for (int i = 0; i < a.width(); ++i)
      s.setPixel(x + i, y + j, a.opaque(i, j) ? a.colour(i, j) : platform::kBlack);
}

// Black where the picture is opaque, white where it is transparent.
void putMask(Surface& s, const Art& a, int x, int y) {
  for (int j = 0; j < a.height(); ++j)
    for (int i = 0; i < a.width(); ++i)
      s.setPixel(x + i, y + j, a.opaque(i, j) ? platform::kBlack : platform::kWhite);
}

void putBoth(Surface& s, const Art& a, const layout::Sprite& at) {
  putPicture(s, a, at.picture.x, at.picture.y);
  putMask(s, a, at.maskX, at.maskY);
}

void putSurface(Surface& s, const Surface& from, const layout::Rect& at) {
  platform::bitBlt(s, at.x, at.y, from.width(), from.height(), from, 0, 0, platform::Rop::SrcCopy);
}

// Shrinks a piece into a w x h box over a floor, averaging its covered pixels, so the
// editor's 24-bit palette shows a smooth small version.
void shrinkOnto(Surface& dst, int dx, int dy, int w, int h, const Art& a) {
  int x0 = a.width(), y0 = a.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.opaque(x, y)) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  const double bw = x1 - x0 + 1, bh = y1 - y0 + 1;
  const double scale = std::min(w / bw, h / bh);
  const double ox = dx + (w - bw * scale) / 2, oy = dy + h - bh * scale;  // feet on the floor
  const int n = 6;  // samples per pixel and axis
  for (int y = dy; y < dy + h; ++y) {
    for (int x = dx; x < dx + w; ++x) {
      double r = 0, g = 0, b = 0;
      int hit = 0;
      for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx) {
          const double ax = x0 + (x + (sx + 0.5) / n - ox) / scale;
          const double ay = y0 + (y + (sy + 0.5) / n - oy) / scale;
          const int ix = static_cast<int>(std::floor(ax)), iy = static_cast<int>(std::floor(ay));
          if (!a.opaque(ix, iy)) continue;
          const Rgb c = a.colour(ix, iy);
          r += c.r;
          g += c.g;
          b += c.b;
          ++hit;
        }
      if (hit == 0) continue;
      const double cover = static_cast<double>(hit) / (n * n);
      const Rgb under = dst.pixel(x, y);
      const Rgb avg{static_cast<uint8_t>(std::nearbyint(r / hit)),
                    static_cast<uint8_t>(std::nearbyint(g / hit)),
                    static_cast<uint8_t>(std::nearbyint(b / hit))};
      dst.setPixel(x, y, mix(under, avg, std::min(1.0, cover * 1.25)));
    }
  }
}

}  // namespace

Surface buildSheet() {
  Surface s(layout::kSheetWidth, layout::kSheetHeight, platform::kBlack);
  // Floors and their shared diamond mask.
  putPicture(s, grassTile(), layout::kGrassTile.picture.x, layout::kGrassTile.picture.y);
  putPicture(s, earthTile(), layout::kEarthTile.picture.x, layout::kEarthTile.picture.y);
  putPicture(s, waterTile(), layout::kWaterTile.picture.x, layout::kWaterTile.picture.y);
  Art diamond(64, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x)
      if (inDiamond(x, y)) diamond.put(x, y, platform::kWhite);
  putMask(s, diamond, layout::kDiamondMask.x, layout::kDiamondMask.y);
  putPicture(s, diamond, layout::kWhiteDiamond.x, layout::kWhiteDiamond.y);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) s.setPixel(layout::kGrassTexture.x + x, y, grassAt(x, y));
  // The shadow's white area with the dithered oval in its lower left.
  fillRect(s, layout::kShadowArea.x, layout::kShadowArea.y, layout::kShadowArea.w,
           layout::kShadowArea.h, platform::kWhite);
  putMask(s, shadowOval(), layout::kShadowMask.x, layout::kShadowMask.y);
  // Aim arrows: up left, up right, down left, down right.
  const int kArrowAim[4][2] = {{-1, 0}, {0, -1}, {0, 1}, {1, 0}};
  for (int q = 0; q < 4; ++q)
    putBoth(s, aimArrow(q), layout::aimArrow(kArrowAim[q][0], kArrowAim[q][1]));
  for (int p = 0; p < 3; ++p) {
    putBoth(s, walker(p), layout::standingPiece(common::kWalker, p));
    putBoth(s, turnMarker(p), layout::turnMarker(p));
    putBoth(s, bird(p), layout::standingPiece(common::kSlider, p));
    putBoth(s, worm(p), layout::standingPiece(common::kEraser, p));
    putBoth(s, frog(p), layout::standingPiece(common::kJumper, p));
    putSurface(s, clearWord(p), layout::clearWord(p));
    putSurface(s, stageSelectHeading(p), layout::stageSelectHeading(p));
  }
  for (int f = 0; f < 4; ++f) {
    putBoth(s, walkerWalking(f), layout::walking(f));
    putBoth(s, frogJumping(f), layout::jumping(f));
    putBoth(s, birdSliding(f), layout::sliding(f));
  }
  for (int c = 0; c <= 6; ++c)
    putPicture(s, miniCell(c), layout::previewCell(c).x, layout::previewCell(c).y);
  putSurface(s, button("Retry"), layout::kRetryButton);
  putSurface(s, button("GiveUp"), layout::kGiveUpButton);
  return s;
}

std::string encodeSheet(const Surface& sheet) {
  // Palette in order of first appearance, black first.
  std::map<uint32_t, uint8_t> index;
  std::vector<Rgb> palette{platform::kBlack};
  index[0] = 0;
  std::vector<uint8_t> px(static_cast<size_t>(sheet.width()) * sheet.height());
  for (int y = 0; y < sheet.height(); ++y) {
    for (int x = 0; x < sheet.width(); ++x) {
      const Rgb c = sheet.pixel(x, y);
      const uint32_t key = c.r << 16 | c.g << 8 | c.b;
      auto it = index.find(key);
      if (it == index.end()) {
        if (palette.size() == 256) throw std::runtime_error("sprite sheet needs over 256 colours");
        it = index.emplace(key, static_cast<uint8_t>(palette.size())).first;
        palette.push_back(c);
      }
      px[static_cast<size_t>(y) * sheet.width() + x] = it->second;
    }
  }
  return platform::encodeBmp8(sheet.width(), sheet.height(), px, palette);
}

Surface buildPalette() {
  Surface p(128, 16, platform::kBlack);
  auto floor = [&](int code, Rgb (*at)(int, int)) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        // Sampled from the tile's middle, with a darker rim so cells stay apart.
        Rgb c = at(24 + x, 8 + y);
        if (x == 15 || y == 15) c = mix(c, Rgb{16, 16, 16}, 0.35);
        p.setPixel(16 * code + x, y, c);
      }
  };
  floor(0, grassAt);
  floor(1, earthAt);
  fillRect(p, 32, 0, 16, 16, {67, 205, 251});
  fillRect(p, 112, 0, 16, 16, {62, 62, 125});
  const Art pieces[4] = {walker(0), bird(0), worm(0), frog(0)};
  const int fit[4][2] = {{14, 14}, {14, 15}, {12, 12}, {14, 14}};
  for (int k = 0; k < 4; ++k) {
    floor(3 + k, earthAt);
    shrinkOnto(p, 16 * (3 + k) + (16 - fit[k][0]) / 2, 15 - fit[k][1], fit[k][0], fit[k][1],
               pieces[k]);
  }
  return p;
}

}  // namespace sheet
