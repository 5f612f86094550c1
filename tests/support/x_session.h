// A private X server for real-window tests, the game run on it, commands, and screenshots.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/bmp.h"
#include "platform/raster.h"
#include "tests/support/file_text.h"
#include "tests/support/pixels.h"
#include "tests/support/run_program.h"

namespace realwindow {

// How long any wait may take: a busy machine can be this slow.
constexpr std::chrono::seconds kPatience{30};

// Xvfb on a display number it picks itself (-displayfd), made this process's DISPLAY, stopped
// with the object.
class Xvfb {
 public:
  Xvfb(int width, int height) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
      std::freopen("/dev/null", "w", stderr);
      // Without a reset when its last client goes: a program connecting just then is refused.
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    display_ = ":" + number;
    ::setenv("DISPLAY", display_.c_str(), 1);
  }
  ~Xvfb() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// What a program wrote to its standard output (run without a shell).
inline std::string capture(const std::vector<std::string>& args) {
  return testing_support::runProgram(args).out;
}

// The whole screen, through ImageMagick's import as a binary PPM.
inline platform::Surface screenshot() {
  const std::string ppm = capture({"import", "-window", "root", "-depth", "8", "ppm:-"});
  int w = 0, h = 0, maxval = 0, used = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &used) != 3 || maxval != 255)
    return {};
  const size_t start = static_cast<size_t>(used) + 1;  // one blank after the header
  if (ppm.size() < start + static_cast<size_t>(w) * h * 3) return {};
  platform::Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = start + (static_cast<size_t>(y) * w + x) * 3;
      s.setPixel(x, y,
                 {static_cast<uint8_t>(ppm[i]), static_cast<uint8_t>(ppm[i + 1]),
                  static_cast<uint8_t>(ppm[i + 2])});
    }
  return s;
}

// Keeps a screenshot as `name`.bmp in `folder`, for people to look at.
inline void keepShot(const platform::Surface& shot, const std::string& folder,
                     const std::string& name) {
  std::filesystem::create_directories(folder);
  testing_support::writeFile(folder + "/" + name + ".bmp", platform::encodeBmp24(shot));
}

// xdotool with these arguments (blank-separated: numbers, key and button names).
inline void xdotool(const std::string& args) {
  std::vector<std::string> words{"xdotool"};
  std::istringstream in(args);
  for (std::string w; in >> w;) words.push_back(w);
  capture(words);
}

// Whether the test's X server still serves clients (a window that never shows is then the
// program's fault).
inline bool xServerAnswers() {
  return capture({"xwininfo", "-root"}).find("Absolute upper-left") != std::string::npos;
}

// The first mapped window with this exact name; empty while there is none.
inline std::string windowId(const std::string& name) {
  const std::string ids =
      capture({"xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"});
  return ids.substr(0, ids.find('\n'));
}

// Where a window with this exact name sits on the screen, once it is mapped.
struct Geometry {
  int x, y, width, height;
};

inline std::optional<Geometry> findWindow(const std::string& name) {
  const std::string id = windowId(name);
  if (id.empty()) return std::nullopt;
  const std::string info = capture({"xwininfo", "-id", id});
  Geometry g{};
  auto field = [&](const char* label, int& out) {
    const auto at = info.find(label);
    if (at == std::string::npos) return false;
    out = std::atoi(info.c_str() + at + std::string(label).size());
    return true;
  };
  if (!field("Absolute upper-left X:", g.x) || !field("Absolute upper-left Y:", g.y) ||
      !field("Width:", g.width) || !field("Height:", g.height))
    return std::nullopt;
  return g;
}

// Polls `test` until it holds or `limit` has passed; true when it held.
template <class F>
bool within(std::chrono::milliseconds limit, F test) {
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (test()) return true;
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// The game's play surface: the top left of its window, before any scaling.
constexpr int kSurfaceWidth = 500, kSurfaceHeight = 350;

inline platform::Surface playSurface(const platform::Surface& screen, const Geometry& at) {
  return testing_support::crop(screen, at.x, at.y, kSurfaceWidth, kSurfaceHeight);
}

// The game's window, its id, and the last screenshot of its play surface.
struct Session {
  std::optional<Geometry> at;
  std::string id;
  platform::Surface shot;

  // Screenshots until `test` holds for the play surface; false when it never did.
  bool waitFor(const std::function<bool(const platform::Surface&)>& test) {
    return within(kPatience, [&] {
      shot = playSurface(screenshot(), *at);
      return test(shot);
    });
  }
  bool windowShown(const std::string& name = "Skelmora") {
    return within(kPatience, [&] {
      at = findWindow(name);
      id = windowId(name);
      return at.has_value();
    });
  }
};

// The pointer, in pixels of the play surface.
struct Pointer {
  Session& s;
  void move(int x, int y) const {
    xdotool("mousemove " + std::to_string(s.at->x + x) + " " + std::to_string(s.at->y + y));
  }
  // Held until `taken` shows on the play surface, and a quarter of a second at least: the
  // game only sees a press that lasts past a frame. `held` runs first, with the button down.
  bool click(const std::function<bool(const platform::Surface&)>& taken, int button = 1,
             const std::function<void()>& held = nullptr) const {
    xdotool("mousedown " + std::to_string(button));
    if (held) held();
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const bool ok = s.waitFor(taken);
    xdotool("mouseup " + std::to_string(button));
    return ok;
  }
};

// Waits until the program of window `id` has gone through `frames` frames, by the window
// tool `xwin` (tests/support/xwin.cpp); false when it stopped answering. What a still
// picture cannot show: that the frames in which something would have happened went by.
inline bool framesPass(const std::string& xwin, const std::string& id, int frames) {
  return testing_support::runProgram({xwin, "frames", id, std::to_string(frames)}).status == 0;
}

// A window manager on the display, for what only a managed window does (full screen);
// stopped with the object.
class WindowManager {
 public:
  explicit WindowManager(const std::string& display) {
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::setenv("DISPLAY", display.c_str(), 1);
      std::freopen("/dev/null", "w", stderr);
      ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // It owns the screen once it has made its check window.
    within(kPatience, [] {
      return capture({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
             std::string::npos;
    });
  }
  ~WindowManager() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

 private:
  pid_t pid_ = -1;
};

// The game started from its own folder on the given display, its standard error in
// stderr.txt there and its sound to nowhere; killed if it still runs when the object goes.
class GameProcess {
 public:
  GameProcess(const std::string& folder, const std::string& display) {
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::setenv("DISPLAY", display.c_str(), 1);
      ::setenv("SDL_AUDIODRIVER", "dummy", 1);
      const int err = ::open((folder + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (err >= 0) ::dup2(err, 2);
      const std::string program = folder + "/brackle";
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~GameProcess() {
    if (status_ < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  // SIGTERM is the window system's close request; the exit status (128 when a signal ended
  // it), or -1 if it still runs after `limit`.
  int close(std::chrono::milliseconds limit) {
    if (status_ >= 0) return status_;  // already reaped: its pid may be another's now
    ::kill(pid_, SIGTERM);
    return waitEnd(limit);
  }
  // For messages: whether it still runs and where it waits, or how it ended.
  std::string state() {
    if (status_ < 0) waitEnd(std::chrono::milliseconds(0));
    if (status_ >= 0) return "ended with status " + std::to_string(status_);
    return "runs, waiting in " +
           testing_support::readFile("/proc/" + std::to_string(pid_) + "/wchan");
  }
  // The exit status once it has ended, or -1 if it still runs after `limit`.
  int waitEnd(std::chrono::milliseconds limit) {
    within(limit, [&] {
      int st = 0;
      if (::waitpid(pid_, &st, WNOHANG) == pid_) status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128;
      return status_ >= 0;
    });
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

}  // namespace realwindow
