// Small media files for the media tests.
#pragma once

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace media_test {

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A format-0 MIDI file that sounds one piano note for half a second.
inline std::vector<uint8_t> shortTune() {
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xe0, 'M', 'T', 'r', 'k', 0, 0, 0, 23,
          0x00, 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20,  // 120 beats a
                                                     // minute
          0x00, 0xc0, 0x00,                          // piano
          0x00, 0x90, 0x3c, 0x64,                    // middle C on
          0x83, 0x60, 0x80, 0x3c, 0x40,              // off a quarter later
          0x00, 0xff, 0x2f, 0x00};
}

// An environment variable set (unset for nullptr) for a scope, then as it was: the audio
// driver is read when a Media opens.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Polls `done` every 10 ms until it holds or `ms` milliseconds have passed.
inline bool waitFor(const std::function<bool()>& done, int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

}  // namespace media_test
