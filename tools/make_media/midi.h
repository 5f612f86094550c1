// A standard MIDI file writer: tracks of timed events, encoded as format 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace make_media {

class MidiTrack {
 public:
  explicit MidiTrack(const std::string& name);

  void tempo(uint32_t tick, double beatsPerMinute);
  void timeSignature(uint32_t tick, int numerator, int denominatorPower);
  void program(uint32_t tick, int channel, int program);
  void control(uint32_t tick, int channel, int controller, int value);
  // A note-on at `tick` and its note-off `length` ticks later.
  void note(uint32_t tick, uint32_t length, int channel, int key, int velocity);

  // The track chunk, closed by end-of-track at `endTick`. Events at the same tick keep
  // this order: meta events, controls and programs, note-offs, note-ons.
  std::vector<uint8_t> encode(uint32_t endTick) const;

 private:
  struct Event {
    uint32_t tick;
    int rank;
    std::vector<uint8_t> bytes;
  };
  void add(uint32_t tick, int rank, std::vector<uint8_t> bytes);
  std::vector<Event> events_;
};

// A whole format-1 file; the first track is the conductor track by convention.
std::vector<uint8_t> midiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter,
                              uint32_t endTick);

}  // namespace make_media
