// The built game in a real X window, played as a new player would, progress kept on restart.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/stage_file.h"
#include "game/render/layout.h"
#include "game/render/sprite_sheet.h"
#include "game/solve/solver.h"
#include "platform/sdl/jpeg.h"
#include "tests/support/game_fixture.h"
#include "tests/support/x_session.h"
#include "tests/title/menu_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::Rgb;
using platform::Surface;
using realwindow::GameProcess;
using realwindow::Geometry;
using realwindow::xdotool;
using realwindow::xServerAnswers;

// ---------------------------------------------------------------------------------------------
// The pointer.

// Pointer positions are given in pixels of the play surface.
struct Pointer {
  Geometry at;
  void move(int x, int y) const {
    xdotool("mousemove " + std::to_string(at.x + x) + " " + std::to_string(at.y + y));
  }
  // Held across at least two frames: a press and release inside one wait are never seen.
  void click(int button = 1, std::chrono::milliseconds hold = 250ms) const {
    xdotool("mousedown " + std::to_string(button));
    std::this_thread::sleep_for(hold);
    xdotool("mouseup " + std::to_string(button));
  }
};

// ---------------------------------------------------------------------------------------------
// Screenshots: what the play surface shows, kept as PNG files for people to look at.

Surface playSurface(const Surface& screen, const Geometry& at) {
  Surface s(game::kPicWidth, game::kPicHeight);
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (screen.contains(at.x + x, at.y + y)) s.setPixel(x, y, screen.pixel(at.x + x, at.y + y));
  return s;
}

void keep(const Surface& pic, const std::string& name) {
  fs::create_directories(SHOTS_DIR);
  Surface copy = pic;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(copy.data(), copy.width(), copy.height(), 24,
                                                      copy.width() * 3, SDL_PIXELFORMAT_RGB24);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(IMG_SavePNG(s, (fs::path(SHOTS_DIR) / (name + ".png")).c_str()), 0);
  SDL_FreeSurface(s);
}

// ---------------------------------------------------------------------------------------------
// What the screens must show, from the documented layout.

// Every pixel of stage n's label in the given colours, exactly: no mask, nothing over it.
bool labelShows(const Surface& pic, int stage, Rgb outline, Rgb text) {
  constexpr Rgb kUnset{1, 2, 3};
  Surface ref(game::kPicWidth, game::kPicHeight, kUnset);
  title_test::drawReferenceLabel(ref, stage, outline, text);
  const title_test::Box b = title_test::labelBox(stage);
  for (int y = b.y; y < b.y + b.h; ++y)
    for (int x = b.x; x < b.x + b.w; ++x)
      if (ref.pixel(x, y) != kUnset && pic.pixel(x, y) != ref.pixel(x, y)) return false;
  return true;
}

// Pixels of the w x h rectangle at (x, y) that equal `under` ORed with the sheet's picture.
int orMatches(const Surface& pic, int x, int y, int w, int h, const Surface& under, int sx,
              int sy) {
  const Surface& chr = game::spriteSheet();
  int n = 0;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const Rgb a = under.pixel(x + i, y + j), c = chr.pixel(sx + i, sy + j);
      n += pic.pixel(x + i, y + j) == Rgb{static_cast<uint8_t>(a.r | c.r),
                                          static_cast<uint8_t>(a.g | c.g),
                                          static_cast<uint8_t>(a.b | c.b)};
    }
  return n;
}

// The banner ORs its letters over the frozen field: every pixel has at least the
// letters' bits, in one of the three animation frames.
bool bannerShows(const Surface& pic) {
  const Surface& chr = game::spriteSheet();
  const auto covers = [&](int x, int y, int w, int h, int sx, int sy) {
    int lit = 0;
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const Rgb p = pic.pixel(x + i, y + j), c = chr.pixel(sx + i, sy + j);
        if ((p.r & c.r) != c.r || (p.g & c.g) != c.g || (p.b & c.b) != c.b) return false;
        lit += c.r + c.g + c.b > 0;
      }
    return lit > 100;
  };
  for (int k = 0; k <= 2; ++k)
    if (covers(130, 110, 128, 32, 64, 256 + 32 * k) && covers(278, 110, 96, 32, 224, 128 + 32 * k))
      return true;
  return false;
}

int previewMismatches(const Surface& pic, const common::StageSet& stages, int stage) {
  const Surface& chr = game::spriteSheet();
  int wrong = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const int c = stages(x, y, stage);
      if (c == common::kEmpty) continue;
      for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i)
          wrong +=
              pic.pixel(380 + 8 * x + i, 20 + 8 * y + j) != chr.pixel(224 + 8 * c + i, 248 + j);
    }
  return wrong;
}

// ---------------------------------------------------------------------------------------------
using solve::Move;

// ---------------------------------------------------------------------------------------------
// Aiming: the quadrant of the pointer around the active cell's centre picks the direction.
// Cells near the sides need the view scrolled; holding the right button far to one side
// scrolls until the offset stops at its limit, so the offsets stay known exactly.

struct View {
  double x = -50, y = 30;
};

// A pointer position that aims `m` under view `v`, inside the field area and below the
// two buttons; nothing when the cell's centre is too close to the surface's edge.
std::optional<std::pair<int, int>> aimPoint(const Move& m, const View& v) {
  const auto box = game::layout::tileBox(m.x, m.y, v.x, v.y);
  const double cx = box.left + 32, cy = box.top + 16;
  const bool left = m.dx == -1 || m.dy == 1, up = m.dx == -1 || m.dy == -1;
  const int px = static_cast<int>(left ? cx - 20 : cx + 20);
  const int py = static_cast<int>(up ? cy - 10 : cy + 10);
  if (px < 4 || px > 495 || py < 40 || py > 345) return std::nullopt;
  return std::pair{px, py};
}

void scrollTo(const Pointer& p, View& v, double limitX) {
  // (250 - mouseX) / 8 per frame; y stays where it is with the pointer at y = 150.
  p.move(limitX < 0 ? 496 : 4, 150);
  std::this_thread::sleep_for(150ms);
  p.click(3, 2500ms);
  v.x = limitX;
  std::this_thread::sleep_for(300ms);
}

// ---------------------------------------------------------------------------------------------

// The game's window and the last screenshot of its play surface.
struct Session {
  std::optional<Geometry> at;
  Surface shot;

  bool waitFor(std::chrono::milliseconds limit, const std::function<bool(const Surface&)>& test) {
    return realwindow::within(limit, [&] {
      shot = playSurface(realwindow::screenshot(), *at);
      return test(shot);
    });
  }
};

// A runnable folder of the built game, whose path holds a blank, and what the tests
// compare the screen with.
struct GameFolder {
  testing_support::TempDir dir{"brackle full game"};
  common::StageSet stages;
  std::vector<Move> stageOne;  // fewest moves, from the solver that proves stages solvable
  Surface title, back;

  GameFolder() {
    const fs::path bin = BRACKLE_BIN_DIR;
    fs::copy(bin / "brackle", fs::path(dir.path()) / "brackle");
    for (const std::string& name : testing_support::runtimeFiles())
      fs::copy(bin / name, fs::path(dir.path()) / name);
    common::loadStageFile(stages, dir.file("stage.stg"));
    stageOne = solve::solveStage(stages, 1).solution;
    title = platform::decodeJpegFile(dir.file("title.jpg"));
    back = platform::decodeJpegFile(dir.file("back.jpg"));
  }
};

TEST(FullGameWindow, NewPlayerClearsStageOneAndFindsItMarkedAfterARestart) {
  ASSERT_EQ(IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG, IMG_INIT_PNG);
  fs::remove_all(SHOTS_DIR);
  realwindow::Xvfb x(1024, 768);
  ::setenv("DISPLAY", x.display().c_str(), 1);
  const GameFolder f;
  const auto& [dir, stages, stageOne, title, back] = f;
  ASSERT_FALSE(stageOne.empty()) << "stage 1 has no solution";
  const std::vector<Move>* solution = &stageOne;
  std::printf("stage 1: %zu moves\n", solution->size());
  const auto listIdle = [&](const Surface& s, Rgb stageOneOutline) {
    return labelShows(s, 1, stageOneOutline, title_test::kGreyText) &&
           labelShows(s, 2, title_test::kBlueOutline, title_test::kGreyText) &&
           labelShows(s, 30, title_test::kBlueOutline, title_test::kGreyText);
  };

  Session s;
  {
    GameProcess game(dir.path(), x.display());
    ASSERT_TRUE(realwindow::within(
        20s, [&] { return (s.at = realwindow::findWindow("Skelmora")).has_value(); }))
        << "no window named Skelmora; the X server " << (xServerAnswers() ? "answers" : "is gone")
        << "; the game wrote: " << testing_support::readFile(dir.file("stderr.txt"));
    const Pointer p{*s.at};

    // Title: the picture, whole.
    ASSERT_TRUE(s.waitFor(5s, [&](const Surface& pic) { return pic == title; }))
        << "the title never showed";
    keep(s.shot, "1-title");

    // A click leaves it; the stage select fades in with every stage not yet cleared.
    p.move(250, 175);
    p.click();
    ASSERT_TRUE(s.waitFor(8s, [&](const Surface& pic) {
      return listIdle(pic, title_test::kBlueOutline);
    })) << "the stage list did not show";
    keep(s.shot, "2-select");

    // Pointing at stage 1 highlights it and shows its map.
    p.move(60, 121);
    ASSERT_TRUE(s.waitFor(3s, [&](const Surface& pic) {
      return labelShows(pic, 1, title_test::kBlueOutline, title_test::kWhiteText);
    })) << "stage 1 was not highlighted";
    EXPECT_EQ(previewMismatches(s.shot, stages, 1), 0);
    keep(s.shot, "3-hover");

    // A click starts it: the play screen fades in and shows its two buttons.
    p.click();
    ASSERT_TRUE(s.waitFor(8s, [&](const Surface& pic) {
      return orMatches(pic, 0, 0, 64, 32, back, 0, 320) == 64 * 32 &&
             orMatches(pic, 436, 0, 64, 32, back, 0, 288) == 64 * 32;
    })) << "the play screen did not show its buttons";
    keep(s.shot, "4-play");

    // The stored moves, aimed by the quadrant of the pointer around the active cell.
    View view;
    int n = 0;
    for (const Move& m : *solution) {
      ++n;
      auto point = aimPoint(m, view);
      if (!point) {
        for (double limit : {-250.0, 200.0}) {
          if (aimPoint(m, View{limit, view.y})) {
            scrollTo(p, view, limit);
            break;
          }
        }
        point = aimPoint(m, view);
      }
      ASSERT_TRUE(point) << "move " << n << " cannot be aimed inside the window";
      p.move(point->first, point->second);
      std::this_thread::sleep_for(450ms);  // an arrow frame passes, the aim is taken
      p.click();
      std::this_thread::sleep_for(600ms);  // six 50 ms animation frames
      if (n < static_cast<int>(solution->size())) {
        keep(playSurface(realwindow::screenshot(), *s.at), "5-move-" + std::to_string(n));
      }
    }

    // The last move clears the field: the banner over the frozen field.
    ASSERT_TRUE(s.waitFor(4s, bannerShows)) << "no stage-clear banner";
    keep(s.shot, "6-banner");
    p.move(300, 60);  // off the list, so no label is highlighted when it comes back

    // Back on the list, stage 1 marked purple.
    ASSERT_TRUE(s.waitFor(15s, [&](const Surface& pic) {
      return listIdle(pic, title_test::kPurpleOutline);
    })) << "the list did not come back with stage 1 marked";
    keep(s.shot, "7-list-cleared");

    EXPECT_EQ(game.close(5s), 0);
  }
  std::string want;
  for (int i = 0; i < 31; ++i) want += i == 0 ? "True\r\n" : "False\r\n";
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
  EXPECT_EQ(testing_support::readFile(dir.file("stderr.txt")), "");

  // A second start reads the record: stage 1 is still marked.
  {
    GameProcess game(dir.path(), x.display());
    ASSERT_TRUE(realwindow::within(
        20s, [&] { return (s.at = realwindow::findWindow("Skelmora")).has_value(); }))
        << "no window at the second start; the X server "
        << (xServerAnswers() ? "answers" : "is gone")
        << "; the game wrote: " << testing_support::readFile(dir.file("stderr.txt"));
    const Pointer p{*s.at};
    ASSERT_TRUE(s.waitFor(5s, [&](const Surface& pic) { return pic == title; }))
        << "the title never showed at the second start";
    p.move(250, 175);
    p.click();
    p.move(300, 60);
    ASSERT_TRUE(s.waitFor(8s, [&](const Surface& pic) {
      return listIdle(pic, title_test::kPurpleOutline);
    })) << "after a restart stage 1 is not marked";
    keep(s.shot, "8-restarted");
    EXPECT_EQ(game.close(5s), 0);
  }
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
  EXPECT_EQ(testing_support::readFile(dir.file("stderr.txt")), "");
}

// The keys alone, on a desktop with a window manager: F11 fills the screen at twice the size
// and Alt+Enter gives the window back; in play one move and Backspace give back the start
// picture, and the keys of the fewest moves clear stage 1.
TEST(FullGameWindow, KeysPlayStageOneAndF11FillsTheScreen) {
  realwindow::Xvfb x(1024, 768);
  ::setenv("DISPLAY", x.display().c_str(), 1);
  realwindow::WindowManager wm(x.display());
  const GameFolder f;
  const auto& [dir, stages, stageOne, title, back] = f;
  ASSERT_FALSE(stageOne.empty()) << "stage 1 has no solution";
  const auto key = [](const std::string& name) {
    xdotool("key " + name);
    std::this_thread::sleep_for(700ms);  // a frame to take it and six to show the move
  };

  Session s;
  GameProcess game(dir.path(), x.display());
  ASSERT_TRUE(realwindow::within(
      20s, [&] { return (s.at = realwindow::findWindow("Skelmora")).has_value(); }))
      << "no window; the game wrote: " << testing_support::readFile(dir.file("stderr.txt"));
  ASSERT_TRUE(s.waitFor(5s, [&](const Surface& pic) { return pic == title; }));
  Pointer{*s.at}.move(250, 175);
  // The keyboard goes to the game's window; a click would leave the title.
  xdotool("search --name Skelmora windowactivate --sync");

  // Full screen: the title at twice its size, centred on black; then the window again.
  key("F11");
  const std::optional<Geometry> full = realwindow::findWindow("Skelmora");
  ASSERT_TRUE(full && full->width == 1024 && full->height == 768) << "F11 did not fill the screen";
  const Surface screen = realwindow::screenshot();
  keep(screen, "k1-full-screen");
  int wrong = 0;
  for (int y = 0; y < title.height(); ++y)
    for (int x = 0; x < title.width(); ++x)
      wrong += !(screen.pixel(12 + 2 * x + 1, 34 + 2 * y + 1) == title.pixel(x, y));
  EXPECT_EQ(wrong, 0) << "the full screen is not the title at twice its size";
  EXPECT_EQ(screen.pixel(5, 5), platform::kBlack);
  key("alt+Return");
  ASSERT_TRUE(realwindow::within(5s, [&] {
    s.at = realwindow::findWindow("Skelmora");
    return s.at && s.at->width == 501 && s.at->height == 351;
  })) << "Alt+Enter did not give the window back";

  // Into stage 1 with the pointer, then the pointer out of the way.
  const Pointer p{*s.at};
  p.click();
  p.move(60, 121);
  ASSERT_TRUE(s.waitFor(8s, [&](const Surface& pic) {
    return labelShows(pic, 1, title_test::kBlueOutline, title_test::kWhiteText);
  })) << "the stage list did not show";
  p.click();
  p.move(10, 340);
  ASSERT_TRUE(s.waitFor(8s, [&](const Surface& pic) {
    return orMatches(pic, 0, 0, 64, 32, back, 0, 320) == 64 * 32;
  })) << "the play screen did not show";

  // The start as shown over a few frames (the marker, the arrow and the pieces animate).
  std::vector<Surface> start;
  for (int i = 0; i < 8; ++i, std::this_thread::sleep_for(60ms))
    start.push_back(playSurface(realwindow::screenshot(), *s.at));
  const char* names[2][3] = {{"Up", "", "Down"}, {"Left", "", "Right"}};  // by dy, then dx
  const auto keyOf = [&](const Move& m) { return m.dy ? names[0][m.dy + 1] : names[1][m.dx + 1]; };
  key(keyOf(stageOne[0]));
  key("BackSpace");
  for (int i = 0; i < 4; ++i, std::this_thread::sleep_for(60ms)) {
    const Surface now = playSurface(realwindow::screenshot(), *s.at);
    EXPECT_TRUE(std::find(start.begin(), start.end(), now) != start.end())
        << "Backspace did not give back the start picture";
    if (i == 0) keep(now, "k2-undone");
  }
  for (const Move& m : stageOne) key(keyOf(m));
  ASSERT_TRUE(s.waitFor(4s, bannerShows)) << "the keys did not clear stage 1";
  keep(s.shot, "k3-banner");
  EXPECT_EQ(game.close(5s), 0);
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")).substr(0, 6), "True\r\n");
}

}  // namespace
