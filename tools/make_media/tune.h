// The game's looping tune, composed in code and written as a standard MIDI file.
#pragma once

#include <cstdint>
#include <vector>

namespace make_media {

// 32 bars of 4/4 at 116 beats a minute (about 66 seconds): flute melody, marimba,
// strings, electric piano, bass and drums. It ends on the dominant, which leads back
// into the first bar when the game starts it again.
std::vector<uint8_t> composeTune();

}  // namespace make_media
