// A run of window events keyed by frame, as text: the same run can be sent to the game on
// any host, and a host can write down what it delivered in the same form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/raster.h"

namespace platform {

struct ScriptEvent {
  enum class Type { kDown, kMove, kUp, kKey, kClose };
  int frame = 1;  // delivered in this frame's wait; the first frame is 1
  Type type = Type::kMove;
  int button = 0;  // the button of a press or release; the held buttons of a move
  float x = 0, y = 0;
  Key key = Key::kEscape;
  bool operator==(const ScriptEvent&) const = default;
};

// One event a line, frames never decreasing; blank lines and lines from '#' on are skipped:
//   <frame> down|up <button> <x> <y>     <frame> move <buttons> <x> <y>
//   <frame> key <name>                   <frame> close
// Throws std::runtime_error naming the line of anything else.
std::vector<ScriptEvent> parseEventScript(const std::string& text);
// One line, without its line end, that reads back as the same event.
std::string formatEvent(const ScriptEvent& e);

// A key's name in scripts ("Backspace", "Z", "Pad1", ...), and back.
std::string keyName(Key key);
std::optional<Key> keyNamed(const std::string& name);

// Runs the handler of the event.
void deliverEvent(WindowEvents& to, const ScriptEvent& e);

// What runs on two hosts compare frame by frame: a hash (FNV-1a) of the picture's pixels.
uint32_t pictureHash(const Surface& picture);

}  // namespace platform
