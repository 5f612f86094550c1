// Media commands for the background music, and the click player, over SDL2_mixer.
#pragma once

#include <memory>
#include <string>

#include "platform/host.h"

namespace platform {

class Media : public Sound {
 public:
  // Opens the audio device; without one every command fails quietly and waves are silent.
  Media();
  ~Media();
  Media(const Media&) = delete;
  Media& operator=(const Media&) = delete;

  // Understands exactly the texts the game sends:
  //   "open <path> alias <name>"   (the path may hold blanks; it is not quoted)
  //   "play <name> notify", "status <name> mode" (reply "playing" or "stopped"),
  //   "seek <name> to start", "stop <name>", "close <name>".
  // Only a standard MIDI file opens. "play" plays once; the mode turns "stopped" when
  // the sequence reaches its end, while the last notes may still ring out. "stop"
  // pauses, and "play" goes on from there; "seek" rewinds.
  // Returns 0 on success, a non-zero error number otherwise; `reply` gets the answer.
  int mciSendString(const std::string& command, std::string* reply) override;
  // The same, but a failure is reported on standard error; the game never stops for it.
  void mciExecute(const std::string& command) override;
  // Plays a wave file asynchronously on one fixed channel, so a new click replaces one
  // still playing. A missing or unreadable file plays nothing.
  void playWave(const std::string& path) override;

  // Whether an audio device could be opened.
  bool hasAudio() const;
  // The synthesiser that plays MIDI ("FLUIDSYNTH" with the packaged General MIDI bank),
  // empty without a device or a MIDI decoder.
  const std::string& midiBackEnd() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
