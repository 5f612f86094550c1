// The game in a real X window: the built program's title, click, fade, background and closing
// by SIGTERM, and the SDL host's mouse buttons.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/bmp.h"
#include "platform/sdl/jpeg.h"
#include "platform/sdl/sdl_host.h"
#include "tests/support/file_text.h"
#include "tests/support/folders.h"
#include "tests/support/pixels.h"
#include "tests/support/x_session.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::Surface;
using realwindow::GameProcess;
using realwindow::Geometry;
using realwindow::kPatience;
using realwindow::xdotool;

// How many pixels of the play surface, at the window's corner, equal `picture`.
int matching(const Surface& screen, const Geometry& at, const Surface& picture) {
  const Surface shown =
      testing_support::crop(screen, at.x, at.y, picture.width(), picture.height());
  return picture.width() * picture.height() - testing_support::differences(shown, picture);
}

// The play surface during a fade-out: only title pixels and black, some of them black.
bool fadingOut(const Surface& screen, const Geometry& at, const Surface& title) {
  int black = 0;
  for (int y = 0; y < title.height(); ++y)
    for (int x = 0; x < title.width(); ++x) {
      if (!screen.contains(at.x + x, at.y + y)) return false;
      const platform::Rgb p = screen.pixel(at.x + x, at.y + y);
      if (p == platform::kBlack)
        ++black;
      else if (p != title.pixel(x, y))
        return false;
    }
  return black > 1000;
}

// Screenshots are kept for people to look at.
void keep(const Surface& shot, const std::string& name) {
  fs::create_directories(SHOTS_DIR);
  testing_support::writeFile(std::string(SHOTS_DIR) + "/" + name + ".bmp",
                             platform::encodeBmp24(shot));
}

TEST(GameWindow, TitleClickFadeBackgroundAndSaveOnClose) {
  const fs::path bin = BRACKLE_BIN_DIR;
  ASSERT_TRUE(fs::exists(bin / "brackle")) << "build the brackle target first";
  realwindow::Xvfb x(1024, 768);
  ::setenv("DISPLAY", x.display().c_str(), 1);

  testing_support::TempDir dir("brackle window");  // its path holds a blank
  for (const auto& entry : fs::directory_iterator(bin))
    if (entry.path().filename() != "clear.sav")
      fs::copy(entry.path(), fs::path(dir.path()) / entry.path().filename(),
               fs::copy_options::recursive);
  const Surface title = platform::decodeJpegFile(dir.file("title.jpg"));
  const Surface back = platform::decodeJpegFile(dir.file("back.jpg"));
  const int whole = title.width() * title.height();

  GameProcess game(dir.path(), x.display());
  std::optional<Geometry> at;
  ASSERT_TRUE(realwindow::within(
      kPatience, [&] { return (at = realwindow::findWindow("Skelmora")).has_value(); }))
      << "no window named Skelmora; the X server "
      << (realwindow::xServerAnswers() ? "answers" : "is gone")
      << "; the game wrote: " << testing_support::readFile(dir.file("stderr.txt"));
  EXPECT_EQ(at->width, 501);
  EXPECT_EQ(at->height, 351);

  Surface shot;
  EXPECT_TRUE(realwindow::within(kPatience,
                                 [&] {
                                   shot = realwindow::screenshot();
                                   return matching(shot, *at, title) == whole;
                                 }))
      << "the title never showed whole; " << matching(shot, *at, title) << " pixels matched";
  keep(shot, "title");

  // A press and release in the same instant fall into one wait and are never seen: two
  // frames on, a taken click would have started the fade.
  const std::string centre = std::to_string(at->x + 250) + " " + std::to_string(at->y + 175);
  xdotool("mousemove " + centre + " click 1");
  ASSERT_TRUE(realwindow::framesPass(XWIN_PROGRAM, realwindow::windowId("Skelmora"), 3))
      << "the game stopped answering";
  shot = realwindow::screenshot();
  EXPECT_EQ(matching(shot, *at, title), whole) << "an instant click left the title";

  // A press held across a frame is taken: the title fades out to the background. It is
  // held until the fade shows.
  xdotool("mousedown 1");
  std::this_thread::sleep_for(250ms);
  EXPECT_TRUE(realwindow::within(kPatience, [&] {
    shot = realwindow::screenshot();
    return fadingOut(shot, *at, title);
  })) << "no fade-out frame was seen";
  xdotool("mouseup 1");
  keep(shot, "fading");

  // The stage select fades in over the background picture; its first frames show it
  // through the streaks.
  EXPECT_TRUE(realwindow::within(kPatience, [&] {
    shot = realwindow::screenshot();
    return matching(shot, *at, back) > whole / 20;
  })) << "the background did not show after the click";
  keep(shot, "back");
  EXPECT_TRUE(realwindow::within(kPatience, [&] {
    shot = realwindow::screenshot();
    return matching(shot, *at, back) > whole / 2;
  })) << "the background is not the larger part of the stage select";
  keep(shot, "select");

  // SDL turns SIGTERM into a close request: the record is written and the game ends.
  EXPECT_EQ(game.close(kPatience), 0);
  std::string want;
  for (int i = 0; i < 31; ++i) want += "False\r\n";
  EXPECT_EQ(testing_support::readFile(dir.file("clear.sav")), want);
  EXPECT_EQ(testing_support::readFile(dir.file("stderr.txt")), "");
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
  ::setenv("DISPLAY", x.display().c_str(), 1);
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
  pushKey(SDLK_PAGEUP, SDL_SCANCODE_PAGEUP);  // not the keypad
  pushKey(SDLK_q, SDL_SCANCODE_Q);            // no key of the game
  pushKey(SDLK_RETURN, SDL_SCANCODE_RETURN);  // Enter alone is nothing either
  pushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
  host.deliverEvents();
  EXPECT_EQ(log.seen, (std::vector<std::string>{
                          keySeen(platform::Key::kZ), keySeen(platform::Key::kPad9),
                          keySeen(platform::Key::kPad1), keySeen(platform::Key::kEscape)}));
}

}  // namespace
