// The game in a browser page: the canvas, the page's input, Web Audio, and the program folder
// with its saved files kept in the browser's storage. The page's script only queues events;
// the frame wait drains them.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/baked/baked_pictures.h"
#include "platform/baked/mask_file.h"
#include "platform/event_script.h"
#include "platform/host.h"

namespace platform {

// The music's media commands and the click, through the page's Web Audio. The tune is the
// MIDI file rendered ahead into a compressed file of the same name ("run.mid" plays
// "run.mp3" beside the page); the MIDI file itself gives the length after which "status"
// answers "stopped", as on the desktop.
class WebSound : public Sound {
 public:
  int mciSendString(const std::string& command, std::string* reply) override;
  void mciExecute(const std::string& command) override;
  void playWave(const std::string& path) override;

 private:
  struct Device {
    double lengthMs = 0;
    bool paused = false;   // stopped part-way; "play" goes on from there
    bool rewound = false;  // sent to the start after its end; "play" restarts it
  };
  bool isPlaying(const std::string& alias) const;
  std::map<std::string, Device> devices_;
  std::string current_;  // the alias whose tune the page last started
};

class WebHost : public Host {
 public:
  // `folder` holds the program's files; the files the program writes there are kept in the
  // browser's storage and put back at the next start.
  WebHost(std::string caption, std::string folder);

  void showWindow(const Surface& picture, WindowEvents& events) override;
  uint32_t tickCount() override;
  void deliverEvents() override;
  void waitForEvents(uint32_t ms) override;
  Sound& sound() override { return sound_; }
  // Read from the baked mask file at the first call; without it, the run-time error report.
  Font& font() override;
  PictureReader& pictures() override { return pictures_; }
  std::string programFolder() override { return folder_; }
  // Stores the file in the browser's storage and waits until it is there.
  void fileWritten(const std::string& path) override;

 protected:
  void reportError(const std::string& file, const std::string& cause) override;

 private:
  void present();
  // Takes the page's queued events into pending_, with the game's keys named.
  void takePageEvents();

  std::string caption_, folder_;
  const Surface* picture_ = nullptr;
  WindowEvents* events_ = nullptr;
  std::vector<uint8_t> shown_;  // the pixels last presented
  std::vector<uint32_t> rgba_;
  WebSound sound_;
  BakedPictures pictures_;
  std::unique_ptr<BakedFont> font_;
  std::deque<ScriptEvent> pending_;

  // Frames, as the host sees them: the game reads the clock once in its wait after each
  // delivery, and once more at the top of the next frame, so a delivery after two or more
  // readings starts a frame (a wait or background work in between does not).
  int frame_ = 0;
  int ticksRead_ = 2;
  // The page's test aids: events sent in their frames, what was delivered, frame hashes.
  std::vector<ScriptEvent> script_;
  size_t scriptNext_ = 0;
  bool record_ = false;
  // How long the game ran, not waiting, since the frame began.
  double busySince_ = 0, busy_ = 0;
};

}  // namespace platform
