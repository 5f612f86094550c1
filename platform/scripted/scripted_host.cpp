// A host for tests: virtual ticks, scripted pointer events, recorded media and sounds.
#include "platform/scripted/scripted_host.h"

#include <sys/stat.h>

#include <optional>

#include "platform/media_command.h"

namespace platform {

ScriptedHost::ScriptedHost(std::string programFolder, Font& font, PictureReader& pictures,
                           uint32_t startTick)
    : folder_(std::move(programFolder)), font_(font), pictures_(pictures), now_(startTick) {}

void ScriptedHost::showWindow(const Surface& picture, WindowEvents& events) {
  picture_ = &picture;
  events_ = &events;
}

uint32_t ScriptedHost::tickCount() {
  const uint32_t t = now_;
  now_ += costPerTickRead;
  return t;
}

void ScriptedHost::deliverEvents() {
  ++deliveries;
  if (onDeliver) onDeliver(*this);
  // Events may schedule more events or end the process; take them one at a time.
  for (;;) {
    auto it = scheduled_.begin();
    // Compare through the wrap-safe difference: a scheduled tick is due when it is not
    // in the future.
    if (it == scheduled_.end() || static_cast<int32_t>(it->first - now_) > 0) break;
    const Event e = it->second;
    scheduled_.erase(it);
    if (!events_) continue;
    switch (e.type) {
      case EventType::Down:
        events_->picMouseDown(e.button, e.x, e.y);
        break;
      case EventType::Move:
        events_->picMouseMove(0, e.x, e.y);
        break;
      case EventType::Up:
        events_->picMouseUp(e.button, e.x, e.y);
        break;
      case EventType::KeyDown:
        events_->keyDown(e.key);
        break;
      case EventType::Close:
        events_->closeRequested();
        break;
    }
  }
}

void ScriptedHost::waitForEvents(uint32_t ms) {
  uint32_t step = ms == 0 ? 1 : ms;
  if (!scheduled_.empty()) {
    const int32_t untilNext = static_cast<int32_t>(scheduled_.begin()->first - now_);
    if (untilNext <= 0) return;  // already pending
    if (static_cast<uint32_t>(untilNext) < step) step = static_cast<uint32_t>(untilNext);
  }
  now_ += step;
}

void ScriptedHost::playWave(const std::string& path) {
  wavesPlayed.push_back(path);
}

int ScriptedHost::mciSendString(const std::string& command, std::string* reply) {
  mciCalls.push_back({command, false});
  const std::optional<MediaCommand> parsed = parseMediaCommand(command);
  if (parsed && parsed->verb == MediaVerb::kOpen) {
    struct stat st;
    return ::stat(parsed->path.c_str(), &st) == 0 ? 0 : 275;  // file not found
  }
  if (reply && command.rfind("status ", 0) == 0) *reply = statusMode;
  return 0;
}

void ScriptedHost::mciExecute(const std::string& command) {
  mciCalls.push_back({command, true});
}

void ScriptedHost::reportError(const std::string& file, const std::string& cause) {
  errorFile = file;
  errorCause = cause;
}

}  // namespace platform
