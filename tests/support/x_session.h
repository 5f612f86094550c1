// A private X server for real-window tests, the game run on it, commands, and screenshots.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/raster.h"
#include "tests/support/run_program.h"

namespace realwindow {

// How long any wait may take: a busy machine can be this slow.
constexpr std::chrono::seconds kPatience{30};

// Xvfb on a display number it picks itself (-displayfd), stopped with the object.
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
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    display_ = ":" + number;
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
