// The built game in a real X window, played as a new player would, progress kept on restart.
// Each step waits for the picture that shows the game took it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/stage_file.h"
#include "game/base/to_pixel.h"
#include "game/render/layout.h"
#include "game/render/sprite_sheet.h"
#include "game/solve/solver.h"
#include "platform/sdl/jpeg.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/game/stage_select.h"
#include "tests/support/pixels.h"
#include "tests/support/x_session.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::Rgb;
using platform::Surface;
using realwindow::GameProcess;
using realwindow::Geometry;
using realwindow::kPatience;
using realwindow::playSurface;
using realwindow::Pointer;
using realwindow::Session;
using realwindow::xdotool;
using realwindow::xServerAnswers;
using testing_support::kBlueOutline;
using testing_support::kGreyText;
using testing_support::kPurpleOutline;
using testing_support::kWhiteText;

// Screenshots of the play surface, kept for people to look at.
void keep(const Surface& pic, const std::string& name) {
  realwindow::keepShot(pic, SHOTS_DIR, name);
}

// ---------------------------------------------------------------------------------------------
// What the screens must show, from the documented layout.

// Every pixel of stage n's label in the given colours, exactly: no mask, nothing over it.
bool labelShows(const Surface& pic, int stage, Rgb outline, Rgb text) {
  constexpr Rgb kUnset{1, 2, 3};
  Surface ref(game::kPicWidth, game::kPicHeight, kUnset);
  testing_support::drawReferenceLabel(ref, stage, outline, text);
  const testing_support::Box b = testing_support::labelBox(stage);
  for (int y = b.y; y < b.y + b.h; ++y)
    for (int x = b.x; x < b.x + b.w; ++x)
      if (ref.pixel(x, y) != kUnset && pic.pixel(x, y) != ref.pixel(x, y)) return false;
  return true;
}

// Pixels of the w x h rectangle at (x, y) that equal `under` ORed with the sheet's picture.
int orMatches(const Surface& pic, int x, int y, int w, int h, const Surface& under, int sx,
              int sy) {
  Surface want = testing_support::crop(under, x, y, w, h);
  platform::bitBlt(want, 0, 0, w, h, game::spriteSheet(), sx, sy, platform::Rop::SrcPaint);
  return w * h - testing_support::differences(testing_support::crop(pic, x, y, w, h), want);
}

// The play screen's two buttons ORed over the background.
bool buttonsShow(const Surface& pic, const Surface& back) {
  return orMatches(pic, 0, 0, 64, 32, back, 0, 320) == 64 * 32 &&
         orMatches(pic, 436, 0, 64, 32, back, 0, 288) == 64 * 32;
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

using solve::Move;

struct View {
  double x = -50, y = 30;
};

// Whether `sprite` stands at `offset` from the tile box of the fractional cell (x, y):
// nearly all of its opaque pixels on the surface show its picture (something drawn with OR
// may lie over a few), and enough of them are on it.
bool spriteShows(const Surface& pic, const game::layout::Sprite& sprite, double x, double y,
                 game::layout::Offset offset, const View& v) {
  const Surface& chr = game::spriteSheet();
  const auto box = game::layout::tileBox(x, y, v.x, v.y);
  const int left = game::toPixel(box.left + offset.dx), top = game::toPixel(box.top + offset.dy);
  int inside = 0, same = 0;
  for (int j = 0; j < sprite.picture.h; ++j)
    for (int i = 0; i < sprite.picture.w; ++i) {
      if (chr.pixel(sprite.maskX + i, sprite.maskY + j) != platform::kBlack) continue;
      if (!pic.contains(left + i, top + j)) continue;
      ++inside;
      same += pic.pixel(left + i, top + j) == chr.pixel(sprite.picture.x + i, sprite.picture.y + j);
    }
  return inside >= 50 && same * 10 >= inside * 9;
}

// The turn marker over the piece at (x, y), in any of its frames, at the height of any piece
// (higher over the tall slider): shown on every frame in which that piece has the turn, on
// none of a move. Tiles lie 16 pixels apart, so no other cell's marker is 30 pixels off.
bool markerShows(const Surface& pic, int x, int y, const View& v) {
  for (uint8_t code : {common::kWalker, common::kSlider})
    for (int p = 0; p <= 2; ++p)
      if (spriteShows(pic, game::layout::turnMarker(p), x, y, game::layout::turnMarkerOffset(code),
                      v))
        return true;
  return false;
}

// The aim arrow of move `m`: its piece has the turn and the pointer aims the move.
bool arrowShows(const Surface& pic, const Move& m, const View& v) {
  return spriteShows(pic, game::layout::aimArrow(m.dx, m.dy), m.x, m.y,
                     game::layout::aimArrowOffset(m.dx, m.dy), v);
}

// ---------------------------------------------------------------------------------------------
// Aiming: the quadrant of the pointer around the active cell's centre picks the direction.
// Cells near the sides need the view scrolled; holding the right button far to one side
// scrolls until the offset stops at its limit, so the offsets stay known exactly.

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

// Plays `moves` with the pointer, scrolling where a cell cannot be aimed otherwise: each
// click waits for the move's arrow and is held until the marker leaves the piece; `held`(n)
// runs while the button of move n is down, `done`(n) after it.
void playWithThePointer(Session& s, const std::vector<Move>& moves,
                        const std::function<void(int)>& held = nullptr,
                        const std::function<void(int)>& done = nullptr) {
  const Pointer p{s};
  View view;
  for (size_t n = 1; n <= moves.size(); ++n) {
    const Move& m = moves[n - 1];
    auto point = aimPoint(m, view);
    for (double limit : {-250.0, 200.0}) {
      if (point || !aimPoint(m, View{limit, view.y})) continue;
      // (250 - mouseX) / 8 a frame; y stays where it is with the pointer at y = 150.
      p.move(limit < 0 ? 496 : 4, 150);
      view.x = limit;
      ASSERT_TRUE(p.click([&](const Surface& pic) { return markerShows(pic, m.x, m.y, view); }, 3))
          << "the view did not scroll";
      point = aimPoint(m, view);
    }
    ASSERT_TRUE(point) << "move " << n << " cannot be aimed inside the window";
    p.move(point->first, point->second);
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return arrowShows(pic, m, view); }))
        << "no arrow for move " << n;
    ASSERT_TRUE(p.click([&](const Surface& pic) { return !markerShows(pic, m.x, m.y, view); }, 1,
                        held ? [&] { held(static_cast<int>(n)); } : std::function<void()>()))
        << "move " << n << " was not taken";
    if (done) done(static_cast<int>(n));
  }
}

// ---------------------------------------------------------------------------------------------

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

  // The window, the title picture whole, and a click that leaves it.
  void throughTheTitle(Session& s, const std::string& start, const std::string& shot) const {
    ASSERT_TRUE(s.windowShown()) << "no window named Skelmora at the " << start
                                 << " start; the X server "
                                 << (xServerAnswers() ? "answers" : "is gone")
                                 << "; the game wrote: "
                                 << testing_support::readFile(dir.file("stderr.txt"));
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return pic == title; }))
        << "the title never showed at the " << start << " start";
    if (!shot.empty()) keep(s.shot, shot);
    const Pointer p{s};
    p.move(250, 175);
    ASSERT_TRUE(p.click([&](const Surface& pic) { return pic != title; }))
        << "the title did not take the click";
  }
};

TEST(FullGameWindow, NewPlayerClearsStageOneAndFindsItMarkedAfterARestart) {
  fs::remove_all(SHOTS_DIR);
  realwindow::Xvfb x(1024, 768);
  const GameFolder f;
  const auto& [dir, stages, stageOne, title, back] = f;
  ASSERT_FALSE(stageOne.empty()) << "stage 1 has no solution";
  std::printf("stage 1: %zu moves\n", stageOne.size());
  const auto listIdle = [&](const Surface& s, Rgb stageOneOutline) {
    return labelShows(s, 1, stageOneOutline, kGreyText) &&
           labelShows(s, 2, kBlueOutline, kGreyText) && labelShows(s, 30, kBlueOutline, kGreyText);
  };
  Session s;
  const Pointer p{s};
  {
    GameProcess game(dir.path(), x.display());
    // A click leaves the title; the stage select fades in with every stage not yet cleared.
    ASSERT_NO_FATAL_FAILURE(f.throughTheTitle(s, "first", "1-title"));
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return listIdle(pic, kBlueOutline); }))
        << "the stage list did not show";
    keep(s.shot, "2-select");

    // Pointing at stage 1 highlights it and shows its map.
    p.move(60, 121);
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) {
      return labelShows(pic, 1, kBlueOutline, kWhiteText);
    })) << "stage 1 was not highlighted";
    EXPECT_EQ(testing_support::previewMismatches(s.shot, game::spriteSheet(), stages, 1), 0);
    keep(s.shot, "3-hover");

    // A click starts it, and the highlight goes with the fade; the play screen fades in and
    // shows its two buttons.
    ASSERT_TRUE(p.click([&](const Surface& pic) {
      return !labelShows(pic, 1, kBlueOutline, kWhiteText);
    })) << "the list did not take the click";
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return buttonsShow(pic, back); }))
        << "the play screen did not show its buttons";
    keep(s.shot, "4-play");

    // The stored moves, aimed by the quadrant of the pointer around the active cell.
    ASSERT_NO_FATAL_FAILURE(playWithThePointer(s, stageOne, nullptr, [&](int n) {
      if (n < static_cast<int>(stageOne.size()))
        keep(playSurface(realwindow::screenshot(), *s.at), "5-move-" + std::to_string(n));
    }));

    // The last move clears the field: the banner over the frozen field.
    ASSERT_TRUE(s.waitFor(bannerShows)) << "no stage-clear banner";
    keep(s.shot, "6-banner");
    p.move(300, 60);  // off the list, so no label is highlighted when it comes back

    // Back on the list, stage 1 marked purple.
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return listIdle(pic, kPurpleOutline); }))
        << "the list did not come back with stage 1 marked";
    keep(s.shot, "7-list-cleared");

    EXPECT_EQ(game.close(kPatience), 0);
  }
  std::string want;
  for (int i = 0; i < 31; ++i) want += i == 0 ? "True\r\n" : "False\r\n";
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
  EXPECT_EQ(testing_support::readFile(dir.file("stderr.txt")), "");

  // A second start reads the record: stage 1 is still marked.
  {
    GameProcess game(dir.path(), x.display());
    ASSERT_NO_FATAL_FAILURE(f.throughTheTitle(s, "second", ""));
    p.move(300, 60);
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return listIdle(pic, kPurpleOutline); }))
        << "after a restart stage 1 is not marked";
    keep(s.shot, "8-restarted");
    EXPECT_EQ(game.close(kPatience), 0);
  }
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
  EXPECT_EQ(testing_support::readFile(dir.file("stderr.txt")), "");
}

// A hand-made stage 12 (eraser, jumper, walker, slider) played through its fewest moves from
// the title and the stage select: the aim arrow, the slide caught in flight, the banner and
// the cleared mark on screen; then the window closed as a window manager's close button
// does, and clear.sav after it.
TEST(FullGameWindow, HandMadeStageToItsBannerThenClosedAsAWindowManagerWould) {
  realwindow::Xvfb x(800, 600);
  const GameFolder f;
  const auto& dir = f.dir;
  //   o o E o     codes . 0, o 1, # 2, W 3, S 4, E 5, J 6, - 7 (empty space elsewhere)
  //   o . o #
  //   J W . .
  //   # S . .
  common::StageSet stages = f.stages;
  const std::string rows = "1151777777101277777763007777772400777777";
  for (int i = 0; i < 100; ++i)
    stages(i % 10, i / 10, 12) = static_cast<uint8_t>(i < 40 ? rows[i] - '0' : common::kEmpty);
  common::saveStageFile(stages, dir.file("stage.stg"));
  const std::vector<Move> moves = {{2, 0, -1, 0}, {0, 2, 1, 0},  {1, 2, 0, -1}, {1, 3, 1, 0},
                                   {1, 0, -1, 0}, {2, 2, 0, -1}, {1, 1, 0, -1}, {3, 3, 0, -1}};
  constexpr int kSlide = 4;  // the slider goes two cells toward x + 1

  Session s;
  const Pointer p{s};
  GameProcess game(dir.path(), x.display());
  ASSERT_NO_FATAL_FAILURE(f.throughTheTitle(s, "first", "play-title"));
  EXPECT_EQ(s.at->width, 501);
  EXPECT_EQ(s.at->height, 351);
  // Stage 12: the second label of the second column; its map shows once the list is in.
  p.move(235, 143);
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) {
    return testing_support::previewMismatches(pic, game::spriteSheet(), stages, 12) == 0;
  })) << "the stage select did not come up";
  keep(s.shot, "play-stage-select");
  ASSERT_TRUE(p.click([&](const Surface& pic) {
    return testing_support::previewMismatches(pic, game::spriteSheet(), stages, 12) != 0;
  })) << "the list did not take the click";
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return buttonsShow(pic, f.back); }))
      << "the stage did not come up";

  // While the button of the slide is down, quick screenshots as the game goes through the
  // move's frames; the sliding pose shows in one of them at one of its six places.
  std::vector<Surface> flight;
  ASSERT_NO_FATAL_FAILURE(playWithThePointer(s, moves, [&](int n) {
    if (n == 1) keep(s.shot, "play-aim-arrow");
    if (n != kSlide) return;
    std::atomic<bool> passed = false;
    std::thread frames([&] { passed = realwindow::framesPass(XWIN_PROGRAM, s.id, 8); });
    while (!passed) flight.push_back(playSurface(realwindow::screenshot(), *s.at));
    frames.join();
  }));
  const auto inFlight = std::find_if(flight.begin(), flight.end(), [&](const Surface& pic) {
    for (int i = 0; i <= 5; ++i)
      if (spriteShows(pic, game::layout::sliding(1), 1 + 2 * i / 5.0, 3, {0, -32}, View{}))
        return true;
    return false;
  });
  ASSERT_NE(inFlight, flight.end())
      << "the slide was never caught in flight in " << flight.size() << " screenshots";
  keep(*inFlight, "play-move-in-flight");

  ASSERT_TRUE(s.waitFor(bannerShows)) << "no stage-clear banner";
  keep(s.shot, "play-banner");
  p.move(480, 345);  // off the list, so no label is highlighted
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) {
    return labelShows(pic, 12, kPurpleOutline, kGreyText);
  })) << "stage 12 is not marked cleared in the list";
  keep(s.shot, "play-back-to-list");

  ASSERT_EQ(testing_support::runProgram({XWIN_PROGRAM, "close", s.id}).status, 0)
      << "could not ask the window to close";
  EXPECT_EQ(game.waitEnd(kPatience), 0);
  std::string want;
  for (int i = 0; i < 31; ++i) want += i == 11 ? "True\r\n" : "False\r\n";
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
}

// The keys alone, on a desktop with a window manager: F11 fills the screen at twice the size
// and Alt+Enter gives the window back; F1 shows the rules card, Enter and the arrows start
// stage 1; in play one move and Backspace give back the start picture, H shows a hint and H
// again follows it, and the keys of the fewest moves clear stage 1.
TEST(FullGameWindow, KeysPlayStageOneAndF11FillsTheScreen) {
  realwindow::Xvfb x(1024, 768);
  realwindow::WindowManager wm(x.display());
  const GameFolder f;
  const auto& [dir, stages, stageOne, title, back] = f;
  ASSERT_FALSE(stageOne.empty()) << "stage 1 has no solution";
  const char* names[2][3] = {{"Up", "", "Down"}, {"Left", "", "Right"}};  // by dy, then dx
  const auto keyOf = [&](const Move& m) { return m.dy ? names[0][m.dy + 1] : names[1][m.dx + 1]; };

  Session s;
  GameProcess game(dir.path(), x.display());
  ASSERT_TRUE(s.windowShown()) << "no window; the game wrote: "
                               << testing_support::readFile(dir.file("stderr.txt"));
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return pic == title; }));
  Pointer{s}.move(250, 175);
  // The keyboard goes to the game's window; a click would leave the title.
  xdotool("search --name Skelmora windowactivate --sync");
  ASSERT_TRUE(realwindow::within(kPatience, [&] {
    return realwindow::capture({"xdotool", "getwindowfocus"}).rfind(s.id, 0) == 0;
  })) << "the game window did not get the keyboard";

  // Full screen: the title at twice its size, centred on black; then the window again.
  xdotool("key F11");
  std::optional<Geometry> full;
  ASSERT_TRUE(realwindow::within(kPatience, [&] {
    full = realwindow::findWindow("Skelmora");
    return full && full->width == 1024 && full->height == 768;
  })) << "F11 did not fill the screen";
  Surface screen;
  int wrong = 0;
  realwindow::within(kPatience, [&] {
    screen = realwindow::screenshot();
    wrong = 0;
    for (int y = 0; y < title.height(); ++y)
      for (int x = 0; x < title.width(); ++x)
        wrong += !(screen.pixel(12 + 2 * x + 1, 34 + 2 * y + 1) == title.pixel(x, y));
    return wrong == 0;
  });
  keep(screen, "k1-full-screen");
  EXPECT_EQ(wrong, 0) << "the full screen is not the title at twice its size";
  EXPECT_EQ(screen.pixel(5, 5), platform::kBlack);
  xdotool("key alt+Return");
  ASSERT_TRUE(realwindow::within(kPatience, [&] {
    s.at = realwindow::findWindow("Skelmora");
    return s.at && s.at->width == 501 && s.at->height == 351;
  })) << "Alt+Enter did not give the window back";
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return pic == title; }));

  // The rules card over the title, closed by any key; Enter leaves the title; in the list
  // the arrow highlights stage 1 and Enter starts it, the pointer out of the way.
  Pointer{s}.move(10, 340);
  xdotool("key F1");
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return pic != title; })) << "no rules card";
  keep(s.shot, "k1-rules-card");
  xdotool("key x");
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return pic == title; }))
      << "a key did not close the rules card";
  xdotool("key Return");
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) {
    return labelShows(pic, 1, kBlueOutline, kGreyText);
  })) << "Enter did not lead to the stage list";
  xdotool("key Down");
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) {
    return labelShows(pic, 1, kBlueOutline, kWhiteText);
  })) << "the arrow did not highlight stage 1";
  keep(s.shot, "k1-list-by-keys");
  xdotool("key Return");
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) {
    return orMatches(pic, 0, 0, 64, 32, back, 0, 320) == 64 * 32;
  })) << "Enter did not start stage 1";

  // The start as shown over its four-frame cycle (the marker, the arrow and the pieces
  // animate): screenshots until four pictures were seen or many frames went by.
  std::vector<Surface> start;
  {
    std::atomic<bool> passed = false;
    std::thread frames([&] { passed = realwindow::framesPass(XWIN_PROGRAM, s.id, 16); });
    while (start.size() < 4 && !passed) {
      const Surface now = playSurface(realwindow::screenshot(), *s.at);
      if (std::find(start.begin(), start.end(), now) == start.end()) start.push_back(now);
    }
    frames.join();
  }
  const auto isStart = [&](const Surface& pic) {
    return std::find(start.begin(), start.end(), pic) != start.end();
  };
  // A key moves the first piece: its marker goes. Backspace gives the start back.
  const auto moved = [&](const Move& m) {
    return s.waitFor([&](const Surface& pic) { return !markerShows(pic, m.x, m.y, {}); });
  };
  xdotool(std::string("key ") + keyOf(stageOne[0]));
  ASSERT_TRUE(moved(stageOne[0])) << "the key moved nothing";
  xdotool("key BackSpace");
  ASSERT_TRUE(s.waitFor(isStart)) << "Backspace did not give back the start picture";
  keep(s.shot, "k2-undone");
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(isStart(playSurface(realwindow::screenshot(), *s.at)))
        << "Backspace did not give back the start picture";
  }
  // H shows a move of a fewest-move way (its landing cell outlined in cyan), H again makes
  // it, and Backspace takes it back.
  const auto hintShows = [](const Surface& pic) {
    return testing_support::countColour(pic, {0, 255, 255}) > 50;
  };
  xdotool("key h");
  ASSERT_TRUE(s.waitFor(hintShows)) << "H showed no hint";
  keep(s.shot, "k2-hint");
  xdotool("key h");
  ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return !hintShows(pic) && !isStart(pic); }))
      << "H again did not make the hint's move";
  keep(s.shot, "k2-hint-followed");
  xdotool("key BackSpace");
  ASSERT_TRUE(s.waitFor(isStart)) << "Backspace did not take the hint's move back";
  // The keys of the fewest moves, each once its piece has the turn.
  for (const Move& m : stageOne) {
    ASSERT_TRUE(s.waitFor([&](const Surface& pic) { return markerShows(pic, m.x, m.y, {}); }))
        << "the piece at " << m.x << "," << m.y << " did not get the turn";
    xdotool(std::string("key ") + keyOf(m));
    ASSERT_TRUE(moved(m)) << "the key did not move the piece at " << m.x << "," << m.y;
  }
  ASSERT_TRUE(s.waitFor(bannerShows)) << "the keys did not clear stage 1";
  keep(s.shot, "k3-banner");
  EXPECT_EQ(game.close(kPatience), 0);
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")).substr(0, 6), "True\r\n");
}

}  // namespace
