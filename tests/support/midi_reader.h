// An independent reader of standard MIDI files, to check the shipped tune.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media_test {

struct MidiNote {
  int channel, key, velocity;
  uint64_t on, off;  // ticks
};

struct MidiSummary {
  int format = -1;
  int tracks = 0;
  int division = 0;
  uint64_t endTick = 0;          // the latest end-of-track
  double seconds = 0;            // length through the tempo map
  std::vector<MidiNote> notes;   // in the order their note-offs were read
  std::vector<int> programSet;   // channel of each program change, before any note of it
  std::vector<int> lateProgram;  // channels whose first note came before their program
  int unmatchedNoteOffs = 0;     // note-offs with no sounding note
  int hangingNotes = 0;          // notes never released
  bool eachTrackEnds = true;     // every track closes with end-of-track
};

// Throws std::runtime_error when the bytes are not a well-formed standard MIDI file.
MidiSummary readMidi(const std::vector<uint8_t>& bytes);

std::vector<uint8_t> readBytes(const std::string& path);

}  // namespace media_test
