// brackle-preview: draws a stage's field as the play screen shows it at the stage's start.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "common/file_error.h"
#include "common/program_folder.h"
#include "common/stage_file.h"
#include "game/base/game_state.h"
#include "game/render/field_renderer.h"
#include "game/render/sprite_sheet.h"
#include "platform/sdl/jpeg.h"
#include "platform/sdl/ttf_font.h"
#include "tools/view_check/label_ink.h"
#include "tools/view_check/view_check.h"

namespace {

void usage() {
  std::cerr << "usage: brackle-preview [--stage N | --all DIR] [--file STAGE_FILE] [--back JPEG]\n"
               "                       [--out PNG] [--centre] [--phase P]\n"
               "       brackle-preview --check [--stage N] [--file STAGE_FILE]\n"
               "  --stage N    the stage to draw, 1..30 (default 1)\n"
               "  --all DIR    draw all 30 stages to DIR/stage01.png .. DIR/stage30.png\n"
               "  --check      draw nothing; say for each stage (or stage N) whether all the\n"
               "               player needs is in view at the start offsets: every tile, piece\n"
               "               and turn label inside the surface, the first mover's turn marker\n"
               "               too, and no piece or label under a button. Exit status 2 when\n"
               "               any stage fails\n"
               "  --file F     stage file (default: stage.stg beside this program)\n"
               "  --back F     background picture (default: back.jpg beside this program)\n"
               "  --out F      PNG to write for --stage (default: stageNN.png)\n"
               "  --centre     scroll so the drawn field is centred, instead of the start offsets\n"
               "  --phase P    animation phase of the pieces, 0..2 (default 0)\n";
}

[[noreturn]] void fail(const std::string& what) {
  std::cerr << "brackle-preview: " << what << "\n";
  std::exit(1);
}

int number(const char* text, int lo, int hi, const char* option) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi)
    fail(std::string(option) + " wants a number from " + std::to_string(lo) + " to " +
         std::to_string(hi));
  return static_cast<int>(v);
}

void savePng(const platform::Surface& s, const std::string& path) {
  // The surface's rows are packed RGB bytes, which SDL can wrap without copying.
  SDL_Surface* wrap =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(s.data()), s.width(), s.height(), 24,
                                         s.width() * 3, SDL_PIXELFORMAT_RGB24);
  if (!wrap) fail(path + ": " + SDL_GetError());
  const int rc = IMG_SavePNG(wrap, path.c_str());
  SDL_FreeSurface(wrap);
  if (rc != 0) fail(path + ": " + IMG_GetError());
}

// The box, in surface pixels, of everything drawField draws for the field at (viewX, viewY):
// tiles and the pieces' pictures (labels are left out; they stay within a tile's width).
struct Box {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  bool empty() const { return x0 > x1; }
  void add(double l, double t, double w, double h) {
    x0 = std::min(x0, l), y0 = std::min(y0, t);
    x1 = std::max(x1, l + w), y1 = std::max(y1, t + h);
  }
};

Box drawnBox(const game::GameState& g) {
  Box b;
  for (int y = 0; y <= 9; ++y) {
    for (int x = 0; x <= 9; ++x) {
      const uint8_t code = g.playField[x][y];
      if (code >= common::kEmpty) continue;
      const auto [L, T] = game::layout::tileBox(x, y, g.viewX, g.viewY);
      b.add(L, T, 64, 32);
      if (rules::isPiece(code)) {
        const game::layout::Offset at = game::layout::standingOffset(code);
        const game::layout::Rect r = game::layout::standingPiece(code, 0).picture;
        b.add(L + at.dx, T + at.dy, r.w, r.h);
      }
    }
  }
  return b;
}

// Notes on what a player would see at the start of the stage.
std::string notes(const game::GameState& g, const std::vector<std::string>& problems) {
  int pieces = 0, hidden = 0, unpainted = 0, odd = 0;
  for (int y = 0; y <= 9; ++y) {
    for (int x = 0; x <= 9; ++x) {
      const uint8_t code = g.playField[x][y];
      if (code == common::kUnpainted) ++unpainted;
      if (rules::isPiece(code)) ++pieces;
      if (code == 8 || code == 9) ++hidden;
      if (code > 9) ++odd;
    }
  }
  std::string s = std::to_string(pieces) + " pieces, " + std::to_string(unpainted) + " unpainted";
  if (pieces == 0) s += "; NO PIECE";
  if (unpainted == 0) s += "; cleared at its start";
  if (hidden) s += "; " + std::to_string(hidden) + " pieces without a picture (codes 8, 9)";
  if (odd) s += "; " + std::to_string(odd) + " cells with codes above 9";
  const Box b = drawnBox(g);
  if (!b.empty()) {
    char box[64];
    std::snprintf(box, sizeof box, "; drawn %.0f x %.0f", b.x1 - b.x0, b.y1 - b.y0);
    s += box;
  }
  if (!problems.empty()) {
    s += "; NOT in view at the start: " + problems.front();
    if (problems.size() > 1) s += " and " + std::to_string(problems.size() - 1) + " more";
  }
  return s;
}

struct Options {
  int stage = 1;
  std::string file, back, out, allDir;
  bool centre = false, check = false;
  int phase = 0;
};

void render(game::GameState& g, game::FieldRenderer& renderer, const Options& o, int s,
            const std::string& out, const view_check::LabelInk& labelInk) {
  g.loadStage(g.stageSet, s);
  g.numberPieces();
  g.turnPass();
  g.animPhase = o.phase;
  g.viewX = game::kStartViewX, g.viewY = game::kStartViewY;
  const std::string startNotes = notes(g, view_check::problems(g.stageSet, s, labelInk));
  if (o.centre) {
    const Box b = drawnBox(g);
    if (!b.empty()) {
      g.viewX += std::nearbyint(game::kPicWidth / 2.0 - (b.x0 + b.x1) / 2);
      g.viewY += std::nearbyint(game::kPicHeight / 2.0 - (b.y0 + b.y1) / 2);
    }
  }
  g.Pic.clear();
  renderer.drawField();
  savePng(g.Pic.image, out);
  std::printf("stage %2d: %s -> %s\n", s, startNotes.c_str(), out.c_str());
}

// One line per stage, then its problems indented; 2 when any stage has one.
int checkView(const common::StageSet& set, int only, const view_check::LabelInk& labelInk) {
  int failing = 0;
  for (int s = 1; s <= common::kStageCount; ++s) {
    if (only && s != only) continue;
    const std::vector<std::string> found = view_check::problems(set, s, labelInk);
    std::printf("stage %2d: %s\n", s, found.empty() ? "in view" : "NOT in view");
    for (const std::string& p : found) std::printf("  %s\n", p.c_str());
    failing += !found.empty();
  }
  if (!only) std::printf("%d of %d stages not in view\n", failing, common::kStageCount);
  return failing ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  bool one = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) fail(a + " wants a value");
      return argv[++i];
    };
    if (a == "--stage")
      o.stage = number(value(), 1, common::kStageCount, "--stage"), one = true;
    else if (a == "--all")
      o.allDir = value();
    else if (a == "--file")
      o.file = value();
    else if (a == "--back")
      o.back = value();
    else if (a == "--out")
      o.out = value();
    else if (a == "--check")
      o.check = true;
    else if (a == "--centre" || a == "--center")
      o.centre = true;
    else if (a == "--phase")
      o.phase = number(value(), 0, 2, "--phase");
    else if (a == "--help" || a == "-h")
      return usage(), 0;
    else {
      usage();
      fail("unknown argument " + a);
    }
  }
  if (one && !o.allDir.empty()) fail("--stage and --all exclude each other");
  if (!o.out.empty() && !o.allDir.empty()) fail("--out and --all exclude each other");
  if (o.check && (!o.allDir.empty() || !o.out.empty() || o.centre))
    fail("--check draws nothing: it takes only --stage and --file");

  const std::string folder = common::executableFolder();
  if (o.file.empty()) o.file = folder + "/stage.stg";
  if (o.back.empty()) o.back = folder + "/back.jpg";

  std::unique_ptr<platform::TtfFont> font;
  try {
    font = platform::TtfFont::openGameFont();
  } catch (const std::exception& e) {
    fail(std::string("font: ") + e.what());
  }
  // No window: the renderer only needs the state, the font and the sheet.
  game::GameState g;
  game::FieldRenderer renderer(g, *font, game::spriteSheet());
  try {
    common::loadStageFile(g.stageSet, o.file);
    g.Pic.setBackground(platform::decodeJpegFile(o.back));
  } catch (const common::FileError& e) {
    fail(e.file() + ": " + e.cause());
  }

  const view_check::LabelInk labelInk = view_check::fontLabelInk(*font);
  if (o.check) return checkView(g.stageSet, one ? o.stage : 0, labelInk);
  if (o.allDir.empty()) {
    char name[32];
    std::snprintf(name, sizeof name, "stage%02d.png", o.stage);
    render(g, renderer, o, o.stage, o.out.empty() ? name : o.out, labelInk);
    return 0;
  }
  std::error_code ec;
  std::filesystem::create_directories(o.allDir, ec);
  if (ec) fail(o.allDir + ": " + ec.message());
  for (int s = 1; s <= common::kStageCount; ++s) {
    char name[32];
    std::snprintf(name, sizeof name, "/stage%02d.png", s);
    render(g, renderer, o, s, o.allDir + name, labelInk);
  }
  return 0;
}
