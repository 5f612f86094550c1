// A host for tests: virtual ticks, scripted pointer events, recorded media, sounds and saves.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/host.h"

namespace platform {

class ScriptedHost : public Host, public Sound {
 public:
  enum class EventType { Down, Move, Up, KeyDown, Close };
  struct Event {
    EventType type;
    int button = 0;
    float x = 0, y = 0;
    Key key = Key::kEscape;
  };
  struct MciCall {
    std::string command;
    bool viaExecute;
  };

  // The font and the picture reader are the caller's: a test picks them.
  ScriptedHost(std::string programFolder, Font& font, PictureReader& pictures,
               uint32_t startTick = 1000);

  // Schedules an event for the first delivery at or after `tick`.
  void at(uint32_t tick, Event e) { scheduled_.emplace(tick, e); }
  // Queues an event for the next delivery.
  void queue(Event e) { at(now_, e); }
  void press(int button, float x, float y) { queue({EventType::Down, button, x, y}); }
  void move(float x, float y) { queue({EventType::Move, 0, x, y}); }
  void release(int button) { queue({EventType::Up, button, 0, 0}); }
  void key(Key k) { queue({EventType::KeyDown, 0, 0, 0, k}); }
  void close() { queue({EventType::Close}); }

  // Called at the start of every delivery, before pending events run: the test's view
  // of each frame, from where it may queue events or inspect the game.
  std::function<void(ScriptedHost&)> onDeliver;
  // Reply given to "status ... mode" commands.
  std::string statusMode = "playing";
  // Milliseconds that every tick reading adds, to model drawing time.
  uint32_t costPerTickRead = 0;

  // What happened.
  std::vector<MciCall> mciCalls;
  std::vector<std::string> wavesPlayed;
  std::vector<std::string> filesWritten;
  int deliveries = 0;
  std::string errorFile, errorCause;
  const Surface* picture() const { return picture_; }
  uint32_t now() const { return now_; }
  void advance(uint32_t ms) { now_ += ms; }

  void showWindow(const Surface& picture, WindowEvents& events) override;
  uint32_t tickCount() override;
  void deliverEvents() override;
  void waitForEvents(uint32_t ms) override;
  Sound& sound() override { return *this; }
  Font& font() override { return font_; }
  PictureReader& pictures() override { return pictures_; }
  void fileWritten(const std::string& path) override { filesWritten.push_back(path); }
  void playWave(const std::string& path) override;
  int mciSendString(const std::string& command, std::string* reply) override;
  void mciExecute(const std::string& command) override;
  std::string programFolder() override { return folder_; }

 protected:
  void reportError(const std::string& file, const std::string& cause) override;

 private:
  std::string folder_;
  Font& font_;
  PictureReader& pictures_;
  uint32_t now_;
  std::multimap<uint32_t, Event> scheduled_;
  const Surface* picture_ = nullptr;
  WindowEvents* events_ = nullptr;
};

}  // namespace platform
