// The game's one seam to the machine: ticks, events, the window, sound, text, pictures,
// files, ending.
#pragma once

#include <cstdint>
#include <string>

#include "platform/font.h"
#include "platform/picture_reader.h"
#include "platform/process_ended.h"
#include "platform/raster.h"
#include "platform/sound.h"

namespace platform {

// The keys the game acts on, and every other one as kOther.
enum class Key {
  kBackspace,
  kZ,
  kU,
  kR,
  kM,
  kEscape,
  kLeft,
  kRight,
  kUp,
  kDown,
  kPad1,  // the keypad's 1, 3, 7 and 9, whether or not Num Lock is on
  kPad3,
  kPad7,
  kPad9,
  kF1,
  kQuestion,  // the key that types "?"
  kH,
  kA,
  kY,           // Y, also with Ctrl
  kShiftCtrlZ,  // Ctrl+Shift+Z; Z with Ctrl alone stays kZ
  kEnter,       // Return or the keypad's Enter, without Alt
  kSpace,
  kOther,  // any other key but a modifier alone: it closes the rules card and does nothing else
};

// What the window reports; the game's pointer, key and close handlers implement it.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // button: 1 left, 2 right, 4 middle; positions in pixels of the play surface.
  virtual void picMouseDown(int button, float x, float y) = 0;
  virtual void picMouseMove(int buttons, float x, float y) = 0;
  virtual void picMouseUp(int button, float x, float y) = 0;
  // A key went down (its auto-repeat is not reported).
  virtual void keyDown(Key key) = 0;
  virtual void closeRequested() = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // Opens the window showing `picture` (kept by reference and presented on every
  // event delivery) and sends its events to `events`.
  virtual void showWindow(const Surface& picture, WindowEvents& events) = 0;
  // Milliseconds since an arbitrary start; wraps at 2^32.
  virtual uint32_t tickCount() = 0;
  // Runs the handlers of every pending event, then presents the picture.
  virtual void deliverEvents() = 0;
  // Sleeps until an event is pending or `ms` milliseconds have passed.
  virtual void waitForEvents(uint32_t ms) = 0;
  // The sound of the program: music and the click.
  virtual Sound& sound() = 0;
  // The play surface's font.
  virtual Font& font() = 0;
  // The reader of the program's picture files.
  virtual PictureReader& pictures() = 0;
  // The folder that holds the running program, without a trailing separator.
  virtual std::string programFolder() = 0;
  // Told after the program replaced a file in its folder, so a host that keeps files
  // elsewhere can store it there too.
  virtual void fileWritten(const std::string& path) { (void)path; }
  // The run-time error report: names the file and the cause, then ends the process with
  // status 1.
  [[noreturn]] void runtimeError(const std::string& file, const std::string& cause);
  // Ends the process at once with status 0.
  [[noreturn]] void endProcess();

 protected:
  // Shows the report of a run-time error to the user.
  virtual void reportError(const std::string& file, const std::string& cause) = 0;
};

inline void Host::runtimeError(const std::string& file, const std::string& cause) {
  reportError(file, cause);
  throw ProcessEnded{1};
}

inline void Host::endProcess() {
  throw ProcessEnded{0};
}

}  // namespace platform
