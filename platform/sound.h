// The program's sound: the music's media commands and the click's wave player.
#pragma once

#include <string>

namespace platform {

class Sound {
 public:
  virtual ~Sound() = default;
  // Plays a wave file asynchronously; a missing file plays nothing, never a default sound.
  virtual void playWave(const std::string& path) = 0;
  // A media command text; 0 on success, an error number otherwise. `reply`, when
  // given, receives the answer text (at most 79 characters).
  virtual int mciSendString(const std::string& command, std::string* reply) = 0;
  // A media command text whose failure the platform reports itself.
  virtual void mciExecute(const std::string& command) = 0;
};

}  // namespace platform
