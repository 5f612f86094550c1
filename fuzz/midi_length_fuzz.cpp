// Fuzz target: any bytes either give a MIDI file's length or are refused, never read past
// their end; where an independent reader also understands the file, both agree on it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/midi_length.h"
#include "tests/support/midi_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const std::optional<double> ms = platform::midiLengthMs(bytes);
  if (ms && (!std::isfinite(*ms) || *ms < 0)) std::abort();
  if (ms && (size < 14 || std::string(data, data + 4) != "MThd")) std::abort();
  if (size < 14) return 0;

  const unsigned format = data[8] << 8 | data[9];
  const unsigned division = data[12] << 8 | data[13];
  media_test::MidiSummary other;
  std::string refusal;
  try {
    other = media_test::readMidi(bytes);
  } catch (const std::runtime_error& e) {
    refusal = e.what();
  }
  // The other reader leaves out time-code timing and insists on the header's track count;
  // the game's reader leaves out files without a track or timing, or of unknown format.
  if (refusal.empty() && other.tracks > 0 && format <= 2 && division != 0) {
    if (!ms) std::abort();
    const double expected = other.seconds * 1000;
    if (std::fabs(*ms - expected) > 1e-9 * std::fmax(1.0, std::fabs(expected))) std::abort();
  }
  if (ms && !(division & 0x8000) && !refusal.empty() &&
      refusal != "track count differs from the header")
    std::abort();
  return 0;
}
