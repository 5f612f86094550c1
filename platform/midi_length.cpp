// The playing length of a standard MIDI file, read from its bytes.
#include "platform/midi_length.h"

#include <algorithm>
#include <map>
#include <string>

namespace platform {

std::optional<double> midiLengthMs(const std::vector<uint8_t>& b) {
  auto be = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = (v << 8) | b[at + k];
    return v;
  };
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd") return std::nullopt;
  const uint32_t headerLength = be(4, 4);
  const uint32_t format = be(8, 2), division = be(12, 2);
  if (headerLength < 6 || format > 2 || division == 0) return std::nullopt;

  std::map<uint64_t, uint32_t> tempo = {{0, 500000}};  // tick -> microseconds a quarter
  uint64_t lastTick = 0;
  int tracks = 0;
  size_t at = 8 + size_t{headerLength};
  while (at + 8 <= b.size()) {
    const uint32_t length = be(at + 4, 4);
    if (length > b.size() - at - 8) return std::nullopt;
    const size_t end = at + 8 + length;
    if (std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") {
      at = end;
      continue;
    }
    ++tracks;
    size_t p = at + 8;
    uint64_t tick = 0;
    uint8_t running = 0;
    auto varLen = [&](uint32_t& v) {
      v = 0;
      for (int k = 0; k < 4 && p < end; ++k) {
        const uint8_t c = b[p++];
        v = (v << 7) | (c & 0x7f);
        if (!(c & 0x80)) return true;
      }
      return false;
    };
    while (p < end) {
      uint32_t delta = 0;
      if (!varLen(delta) || p >= end) return std::nullopt;
      tick += delta;
      uint8_t status = b[p];
      if (status & 0x80) {
        ++p;
      } else if (running) {
        status = running;
      } else {
        return std::nullopt;
      }
      if (status == 0xff || status == 0xf0 || status == 0xf7) {
        uint8_t type = 0;
        if (status == 0xff) {
          if (p >= end) return std::nullopt;
          type = b[p++];
        }
        uint32_t len = 0;
        if (!varLen(len) || len > end - p) return std::nullopt;
        if (status == 0xff && type == 0x51 && len == 3) tempo[tick] = be(p, 3);
        p += len;
        if (status == 0xff && type == 0x2f) break;
        continue;
      }
      running = status;
      p += (status & 0xf0) == 0xc0 || (status & 0xf0) == 0xd0 ? 1 : 2;
      if (p > end) return std::nullopt;
    }
    lastTick = std::max(lastTick, tick);
    at = end;
  }
  if (tracks == 0) return std::nullopt;

  if (division & 0x8000) {
    // Time-code division: frames a second times ticks a frame.
    const int fps = -static_cast<int8_t>(division >> 8);
    const int perFrame = static_cast<int>(division & 0xff);
    if (fps <= 0 || perFrame == 0) return std::nullopt;
    return 1000.0 * static_cast<double>(lastTick) / (fps * perFrame);
  }
  double ms = 0;
  uint64_t from = 0;
  uint32_t us = 500000;
  for (const auto& [tick, value] : tempo) {
    if (tick >= lastTick) break;
    ms += static_cast<double>(tick - from) * us / division / 1000;
    from = tick;
    us = value;
  }
  return ms + static_cast<double>(lastTick - from) * us / division / 1000;
}

}  // namespace platform
