// The playing length of a standard MIDI file, read from its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// The length in milliseconds through the file's tempo map, or nothing when the bytes are
// not a well-formed standard MIDI file (a header, at least one complete track, every
// event inside its track).
std::optional<double> midiLengthMs(const std::vector<uint8_t>& bytes);

}  // namespace platform
