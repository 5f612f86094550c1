// Window events keyed by frame, read from text and written back.
#include "platform/event_script.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace platform {
namespace {

constexpr std::pair<Key, const char*> kKeyNames[] = {
    {Key::kBackspace, "Backspace"},
    {Key::kZ, "Z"},
    {Key::kU, "U"},
    {Key::kR, "R"},
    {Key::kM, "M"},
    {Key::kEscape, "Escape"},
    {Key::kLeft, "Left"},
    {Key::kRight, "Right"},
    {Key::kUp, "Up"},
    {Key::kDown, "Down"},
    {Key::kPad1, "Pad1"},
    {Key::kPad3, "Pad3"},
    {Key::kPad7, "Pad7"},
    {Key::kPad9, "Pad9"},
    {Key::kF1, "F1"},
    {Key::kQuestion, "Question"},
    {Key::kH, "H"},
    {Key::kA, "A"},
    {Key::kY, "Y"},
    {Key::kShiftCtrlZ, "ShiftCtrlZ"},
    {Key::kEnter, "Enter"},
    {Key::kSpace, "Space"},
    {Key::kOther, "Other"},
};

constexpr std::pair<ScriptEvent::Type, const char*> kTypeNames[] = {
    {ScriptEvent::Type::kDown, "down"},   {ScriptEvent::Type::kMove, "move"},
    {ScriptEvent::Type::kUp, "up"},       {ScriptEvent::Type::kKey, "key"},
    {ScriptEvent::Type::kClose, "close"},
};

}  // namespace

std::string keyName(Key key) {
  for (const auto& [k, name] : kKeyNames)
    if (k == key) return name;
  return "?";
}

std::optional<Key> keyNamed(const std::string& name) {
  for (const auto& [k, n] : kKeyNames)
    if (name == n) return k;
  return std::nullopt;
}

namespace {

// One line's event; false when the line holds anything else.
bool parseLine(std::istringstream& words, ScriptEvent& e) {
  std::string type, extra;
  if (!(words >> type) || e.frame < 1) return false;
  bool known = false;
  for (const auto& [t, name] : kTypeNames)
    if (type == name) e.type = t, known = true;
  if (!known) return false;
  if (e.type == ScriptEvent::Type::kKey) {
    std::string name;
    if (!(words >> name)) return false;
    const std::optional<Key> k = keyNamed(name);
    if (!k) return false;
    e.key = *k;
  } else if (e.type != ScriptEvent::Type::kClose) {
    if (!(words >> e.button >> e.x >> e.y)) return false;
  }
  return !(words >> extra);
}

}  // namespace

std::vector<ScriptEvent> parseEventScript(const std::string& text) {
  std::vector<ScriptEvent> events;
  std::istringstream lines(text);
  int lineNo = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNo;
    line = line.substr(0, line.find('#'));
    std::string word;
    if (!(std::istringstream(line) >> word)) continue;
    std::istringstream words(line);
    ScriptEvent e;
    if (!(words >> e.frame) || !parseLine(words, e) ||
        (!events.empty() && e.frame < events.back().frame))
      throw std::runtime_error("event script line " + std::to_string(lineNo) + ": \"" + line +
                               "\" is no event");
    events.push_back(e);
  }
  return events;
}

std::string formatEvent(const ScriptEvent& e) {
  std::string type;
  for (const auto& [t, name] : kTypeNames)
    if (t == e.type) type = name;
  std::string line = std::to_string(e.frame) + " " + type;
  if (e.type == ScriptEvent::Type::kKey) return line + " " + keyName(e.key);
  if (e.type == ScriptEvent::Type::kClose) return line;
  // Nine significant digits bring every float back unchanged.
  char xy[64];
  std::snprintf(xy, sizeof xy, " %d %.9g %.9g", e.button, e.x, e.y);
  return line + xy;
}

void deliverEvent(WindowEvents& to, const ScriptEvent& e) {
  switch (e.type) {
    case ScriptEvent::Type::kDown:
      to.picMouseDown(e.button, e.x, e.y);
      break;
    case ScriptEvent::Type::kMove:
      to.picMouseMove(e.button, e.x, e.y);
      break;
    case ScriptEvent::Type::kUp:
      to.picMouseUp(e.button, e.x, e.y);
      break;
    case ScriptEvent::Type::kKey:
      to.keyDown(e.key);
      break;
    case ScriptEvent::Type::kClose:
      to.closeRequested();
      break;
  }
}

uint32_t pictureHash(const Surface& picture) {
  uint32_t h = 2166136261u;
  const uint8_t* p = picture.data();
  for (size_t i = 0, n = static_cast<size_t>(picture.width()) * picture.height() * 3; i < n; ++i)
    h = (h ^ p[i]) * 16777619u;
  return h;
}

}  // namespace platform
