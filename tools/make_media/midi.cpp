// A standard MIDI file writer: tracks of timed events, encoded as format 1.
#include "tools/make_media/midi.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace make_media {
namespace {

enum Rank { kMeta = 0, kSetup = 1, kNoteOff = 2, kNoteOn = 3 };

void putVarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = v & 0x7f;
    v >>= 7;
  } while (v != 0);
  while (n > 0) {
    --n;
    out.push_back(static_cast<uint8_t>(bytes[n] | (n > 0 ? 0x80 : 0)));
  }
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

uint8_t data7(int v) {
  if (v < 0 || v > 127) throw std::out_of_range("MIDI data byte out of range");
  return static_cast<uint8_t>(v);
}

uint8_t status(int kind, int channel) {
  if (channel < 0 || channel > 15) throw std::out_of_range("MIDI channel out of range");
  return static_cast<uint8_t>(kind | channel);
}

}  // namespace

MidiTrack::MidiTrack(const std::string& name) {
  std::vector<uint8_t> bytes = {0xff, 0x03};
  putVarLen(bytes, static_cast<uint32_t>(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  add(0, kMeta, bytes);
}

void MidiTrack::add(uint32_t tick, int rank, std::vector<uint8_t> bytes) {
  events_.push_back({tick, rank, std::move(bytes)});
}

void MidiTrack::tempo(uint32_t tick, double beatsPerMinute) {
  const auto us = static_cast<uint32_t>(std::nearbyint(60e6 / beatsPerMinute));
  add(tick, kMeta,
      {0xff, 0x51, 0x03, static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8),
       static_cast<uint8_t>(us)});
}

void MidiTrack::timeSignature(uint32_t tick, int numerator, int denominatorPower) {
  add(tick, kMeta, {0xff, 0x58, 0x04, data7(numerator), data7(denominatorPower), 24, 8});
}

void MidiTrack::program(uint32_t tick, int channel, int program) {
  add(tick, kSetup, {status(0xc0, channel), data7(program)});
}

void MidiTrack::control(uint32_t tick, int channel, int controller, int value) {
  add(tick, kSetup, {status(0xb0, channel), data7(controller), data7(value)});
}

void MidiTrack::note(uint32_t tick, uint32_t length, int channel, int key, int velocity) {
  if (length == 0 || velocity < 1) throw std::out_of_range("empty MIDI note");
  add(tick, kNoteOn, {status(0x90, channel), data7(key), data7(velocity)});
  add(tick + length, kNoteOff, {status(0x80, channel), data7(key), 64});
}

std::vector<uint8_t> MidiTrack::encode(uint32_t endTick) const {
  std::vector<Event> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.rank < b.rank;
  });
  std::vector<uint8_t> body;
  uint32_t now = 0;
  for (const Event& e : sorted) {
    if (e.tick > endTick) throw std::out_of_range("MIDI event after the end of its track");
    putVarLen(body, e.tick - now);
    now = e.tick;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  putVarLen(body, endTick - now);
  body.insert(body.end(), {0xff, 0x2f, 0x00});
  std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
  put32(chunk, static_cast<uint32_t>(body.size()));
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<uint8_t> midiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter,
                              uint32_t endTick) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
  put32(out, 6);
  put16(out, 1);
  put16(out, static_cast<uint32_t>(tracks.size()));
  put16(out, static_cast<uint32_t>(ticksPerQuarter));
  for (const MidiTrack& t : tracks) {
    const std::vector<uint8_t> chunk = t.encode(endTick);
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace make_media
