// An independent reader of standard MIDI files, to check the shipped tune.
#include "tests/support/midi_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace media_test {
namespace {

struct Cursor {
  const std::vector<uint8_t>& b;
  size_t at;
  size_t end;

  uint8_t peek() const {
    if (at >= end) throw std::runtime_error("MIDI data runs past its chunk");
    return b[at];
  }
  uint8_t byte() {
    const uint8_t c = peek();
    ++at;
    return c;
  }
  uint32_t be(int n) {
    uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = (v << 8) | byte();
    return v;
  }
  uint32_t varLen() {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      const uint8_t c = byte();
      v = (v << 7) | (c & 0x7f);
      if (!(c & 0x80)) return v;
    }
    throw std::runtime_error("variable-length number longer than 4 bytes");
  }
};

}  // namespace

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot open");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

MidiSummary readMidi(const std::vector<uint8_t>& bytes) {
  MidiSummary s;
  Cursor c{bytes, 0, bytes.size()};
  if (c.be(4) != 0x4d546864) throw std::runtime_error("no MThd header");
  const uint32_t headerLength = c.be(4);
  if (headerLength < 6) throw std::runtime_error("short header");
  s.format = static_cast<int>(c.be(2));
  const int declaredTracks = static_cast<int>(c.be(2));
  s.division = static_cast<int>(c.be(2));
  if (s.division & 0x8000) throw std::runtime_error("time-code division is not handled");
  c.at = 8 + headerLength;

  std::map<uint64_t, uint32_t> tempo{{0, 500000}};  // tick -> microseconds a quarter
  std::map<int, bool> programmed;
  std::map<int, bool> sounded;
  while (c.at + 8 <= bytes.size()) {
    const uint32_t id = c.be(4);
    const uint32_t length = c.be(4);
    if (length > bytes.size() - c.at) throw std::runtime_error("chunk runs past the file");
    if (id != 0x4d54726b) {
      c.at += length;
      continue;
    }
    ++s.tracks;
    Cursor t{bytes, c.at, c.at + length};
    c.at += length;
    uint64_t tick = 0;
    uint8_t running = 0;
    bool ended = false;
    std::map<std::pair<int, int>, std::vector<MidiNote>> sounding;
    while (t.at < t.end && !ended) {
      tick += t.varLen();
      uint8_t st = t.peek();
      if (st & 0x80) {
        ++t.at;
      } else {
        if (!running) throw std::runtime_error("running status without a status");
        st = running;
      }
      if (st == 0xff) {
        const uint8_t type = t.byte();
        const uint32_t len = t.varLen();
        if (type == 0x51 && len == 3) {
          tempo[tick] = t.be(3);
        } else {
          for (uint32_t k = 0; k < len; ++k) t.byte();
        }
        if (type == 0x2f) ended = true;
        continue;
      }
      if (st == 0xf0 || st == 0xf7) {
        const uint32_t len = t.varLen();
        for (uint32_t k = 0; k < len; ++k) t.byte();
        continue;
      }
      running = st;
      const int kind = st & 0xf0, ch = st & 0x0f;
      const int d1 = t.byte();
      const int d2 = (kind == 0xc0 || kind == 0xd0) ? 0 : t.byte();
      if (kind == 0xc0) {
        if (!sounded[ch]) s.programSet.push_back(ch);
        programmed[ch] = true;
      } else if (kind == 0x90 && d2 > 0) {
        if (!sounded[ch] && !programmed[ch]) s.lateProgram.push_back(ch);
        sounded[ch] = true;
        sounding[{ch, d1}].push_back({ch, d1, d2, tick, tick});
      } else if (kind == 0x80 || kind == 0x90) {
        auto& open = sounding[{ch, d1}];
        if (open.empty()) {
          ++s.unmatchedNoteOffs;
        } else {
          MidiNote n = open.front();
          open.erase(open.begin());
          n.off = tick;
          s.notes.push_back(n);
        }
      }
    }
    if (!ended) s.eachTrackEnds = false;
    for (auto& [key, open] : sounding) s.hangingNotes += static_cast<int>(open.size());
    s.endTick = std::max(s.endTick, tick);
  }
  if (s.tracks != declaredTracks) throw std::runtime_error("track count differs from the header");

  // Seconds: each tempo holds from its tick to the next change.
  uint64_t from = 0;
  uint32_t us = 500000;
  for (const auto& [at, value] : tempo) {
    if (at >= s.endTick) break;
    s.seconds += static_cast<double>(at - from) * us / s.division / 1e6;
    from = at;
    us = value;
  }
  s.seconds += static_cast<double>(s.endTick - from) * us / s.division / 1e6;
  return s;
}

}  // namespace media_test
