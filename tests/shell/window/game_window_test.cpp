// The game in a real X window: the built program's title, click, fade, background and closing
// by SIGTERM, the window grown to the screen, and the SDL host's mouse buttons.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/sdl/jpeg.h"
#include "platform/sdl/sdl_host.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/pixels.h"
#include "tests/support/x_session.h"

namespace {

namespace fs = std::filesystem;
using platform::Surface;
using realwindow::GameProcess;
using realwindow::kPatience;
using realwindow::xdotool;

// How many pixels of the play surface equal `picture`.
int matching(const Surface& pic, const Surface& picture) {
  return picture.width() * picture.height() - testing_support::differences(pic, picture);
}

// The play surface during a fade-out: only title pixels and black, some of them black.
bool fadingOut(const Surface& pic, const Surface& title) {
  int black = 0;
  for (int y = 0; y < title.height(); ++y)
    for (int x = 0; x < title.width(); ++x) {
      const platform::Rgb p = pic.pixel(x, y);
      if (p == platform::kBlack)
        ++black;
      else if (p != title.pixel(x, y))
        return false;
    }
  return black > 1000;
}

void keep(const Surface& shot, const std::string& name) {
  realwindow::keepShot(shot, SHOTS_DIR, name);
}

// A copy of the runnable folder without its record, in a folder whose path holds a blank.
struct RunnableCopy {
  testing_support::TempDir dir{"brackle window"};
  RunnableCopy() {
    for (const auto& entry : fs::directory_iterator(BRACKLE_BIN_DIR))
      if (entry.path().filename() != "clear.sav")
        fs::copy(entry.path(), fs::path(dir.path()) / entry.path().filename(),
                 fs::copy_options::recursive);
  }
};

TEST(GameWindow, TitleClickFadeBackgroundAndSaveOnClose) {
  ASSERT_TRUE(fs::exists(fs::path(BRACKLE_BIN_DIR) / "brackle"))
      << "build the brackle target first";
  realwindow::Xvfb x(1024, 768);

  const RunnableCopy copy;
  const testing_support::TempDir& dir = copy.dir;
  const Surface title = platform::decodeJpegFile(dir.file("title.jpg"));
  const Surface back = platform::decodeJpegFile(dir.file("back.jpg"));
  const int whole = title.width() * title.height();

  GameProcess game(dir.path(), x.display());
  realwindow::Session s;
  ASSERT_TRUE(s.windowShown()) << "no window named Skelmora; the game " << game.state()
                               << "; the X server "
                               << (realwindow::xServerAnswers() ? "answers" : "is gone")
                               << "; the game wrote: "
                               << testing_support::readFile(dir.file("stderr.txt"));
  EXPECT_EQ(s.at->width, 501);
  EXPECT_EQ(s.at->height, 351);
  EXPECT_TRUE(s.waitFor([&](const Surface& pic) { return matching(pic, title) == whole; }))
      << "the title never showed whole; " << matching(s.shot, title) << " pixels matched";
  keep(s.shot, "title");

  // A press and release in the same instant, within one wait, are taken as a click: the
  // title fades out to the background.
  const realwindow::Pointer p{s};
  p.move(250, 175);
  xdotool("click 1");
  EXPECT_TRUE(s.waitFor([&](const Surface& pic) { return fadingOut(pic, title); }))
      << "an instant click did not leave the title";
  keep(s.shot, "fading");

  // The stage select fades in over the background picture; its first frames show it
  // through the streaks.
  EXPECT_TRUE(s.waitFor([&](const Surface& pic) { return matching(pic, back) > whole / 20; }))
      << "the background did not show after the click";
  keep(s.shot, "back");
  EXPECT_TRUE(s.waitFor([&](const Surface& pic) { return matching(pic, back) > whole / 2; }))
      << "the background is not the larger part of the stage select";
  keep(s.shot, "select");

  // SDL turns SIGTERM into a close request: the record is written and the game ends.
  EXPECT_EQ(game.close(kPatience), 0);
  std::string want;
  for (int i = 0; i < 31; ++i) want += "False\r\n";
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
  EXPECT_EQ(testing_support::readFile(dir.file("stderr.txt")), "");
}

// The game window grown to a 1920 x 1080 screen: the play surface at scale 3, centred, black
// around it, and a click on the scaled retry button restarts the stage.
TEST(GameWindow, GrownToTheScreenItScalesByThreeAndTakesClicksAtTheScaledPlaces) {
  realwindow::Xvfb x(1920, 1080);
  const RunnableCopy copy;
  const Surface title = platform::decodeJpegFile(copy.dir.file("title.jpg"));
  GameProcess game(copy.dir.path(), x.display());
  realwindow::Session s;
  ASSERT_TRUE(s.windowShown()) << "no game window; the game " << game.state() << " and wrote: "
                               << testing_support::readFile(copy.dir.file("stderr.txt"));
  xdotool("windowmove " + s.id + " 0 0 windowsize " + s.id + " 1920 1080");

  // Scale 3 puts the 1500 x 1050 surface at (210, 15); `shown` is the surface read back.
  Surface screen, shown(500, 350);
  const auto look = [&] {
    screen = realwindow::screenshot();
    for (int y = 0; y < 350; ++y)
      for (int x = 0; x < 500; ++x)
        shown.setPixel(x, y, screen.pixel(210 + 3 * x + 1, 15 + 3 * y + 1));
  };
  const auto framed = [&] {
    return screen.pixel(100, 500) == platform::kBlack &&
           screen.pixel(1800, 500) == platform::kBlack;
  };
  // Holds the left button at surface (x, y) until `taken` holds.
  const auto press = [&](int x, int y, const std::function<bool()>& taken) {
    xdotool("mousemove " + std::to_string(210 + 3 * x) + " " + std::to_string(15 + 3 * y) +
            " mousedown 1 sleep 0.25");
    const bool ok = realwindow::within(kPatience, [&] { return look(), taken(); });
    xdotool("mouseup 1");
    return ok;
  };
  ASSERT_TRUE(realwindow::within(kPatience, [&] { return look(), framed() && shown == title; }))
      << "the title did not fill the screen at scale 3";
  ASSERT_TRUE(press(250, 200, [&] { return shown != title; }))
      << "the title did not take the click";
  // Stage 1 from the list: the play screen's give-up button, white at its scaled place.
  const auto giveUpShows = [&] {
    return testing_support::countColour(screen, 210, 15, 192, 96, platform::kWhite) > 0;
  };
  ASSERT_TRUE(press(40, 120, [&] { return framed() && giveUpShows(); })) << "stage 1 did not start";
  keep(screen, "scaled-playing");
  // Retry fades the stage in again from a black mask: much darker than while playing.
  const double playing = static_cast<double>(testing_support::brightness(shown));
  ASSERT_TRUE(press(470, 12, [&] { return testing_support::brightness(shown) < 0.6 * playing; }))
      << "retry did not restart";
  keep(screen, "scaled-retry");

  game.close(kPatience);
  const std::string record = testing_support::readFile(copy.dir.file("clear.sav"));
  EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 31) << record;
}

// The presses and releases a window reports, in order, as "down 1", "up 4", ...
struct PressLog : platform::WindowEvents {
  std::vector<std::string> seen;
  void picMouseDown(int button, float, float) override {
    seen.push_back("down " + std::to_string(button));
  }
  void picMouseMove(int, float, float) override {}
  void picMouseUp(int button, float, float) override {
    seen.push_back("up " + std::to_string(button));
  }
  void keyDown(platform::Key key) override {
    seen.push_back("key " + std::to_string(static_cast<int>(key)));
  }
  void closeRequested() override {}
};

std::string keySeen(platform::Key key) {
  return "key " + std::to_string(static_cast<int>(key));
}

void pushKey(SDL_Keycode sym, SDL_Scancode code, bool repeat = false) {
  SDL_Event e{};
  e.key.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.repeat = repeat;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = code;
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void pushButton(Uint32 type, Uint8 button) {
  SDL_Event e{};
  e.button.type = type;
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = 100;  // on the play surface
  e.button.y = 100;
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// The window reports the game's three buttons and its keys, each press once: the side
// buttons neither way (their release would clear a held left press), no auto-repeat, the
// keypad whether Num Lock is on or not, and no key the game does not know.
TEST(GameWindow, ReportsOnlyTheGamesButtonsAndKeys) {
  realwindow::Xvfb x(640, 480);
  platform::SdlHost host("Skelmora", 500, 350);
  const Surface picture(500, 350);
  PressLog log;
  host.showWindow(picture, log);
  host.deliverEvents();
  log.seen.clear();

  pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
  for (const Uint8 side : {SDL_BUTTON_X1, SDL_BUTTON_X2}) {
    pushButton(SDL_MOUSEBUTTONDOWN, side);
    pushButton(SDL_MOUSEBUTTONUP, side);
  }
  host.deliverEvents();
  EXPECT_EQ(log.seen, std::vector<std::string>{"down 1"});
  pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
  host.deliverEvents();
  EXPECT_EQ(log.seen, (std::vector<std::string>{"down 1", "up 1"}));

  log.seen.clear();
  pushKey(SDLK_z, SDL_SCANCODE_Z);
  pushKey(SDLK_z, SDL_SCANCODE_Z, true);      // held: the repeats are not presses
  pushKey(SDLK_PAGEUP, SDL_SCANCODE_KP_9);    // the keypad's 9 with Num Lock off
  pushKey(SDLK_KP_1, SDL_SCANCODE_KP_1);      // and the keypad's 1 with it on
  pushKey(SDLK_PAGEUP, SDL_SCANCODE_PAGEUP);  // not the keypad: another key
  pushKey(SDLK_q, SDL_SCANCODE_Q);            // no key of the game: another key
  pushKey(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT);  // a modifier alone is no key
  pushKey(SDLK_RETURN, SDL_SCANCODE_RETURN);  // Enter alone starts a stage from the list
  pushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
  host.deliverEvents();
  EXPECT_EQ(log.seen, (std::vector<std::string>{
                          keySeen(platform::Key::kZ), keySeen(platform::Key::kPad9),
                          keySeen(platform::Key::kPad1), keySeen(platform::Key::kOther),
                          keySeen(platform::Key::kOther), keySeen(platform::Key::kEnter),
                          keySeen(platform::Key::kEscape)}));
}

}  // namespace
