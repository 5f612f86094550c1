// The click sound: a short damped tap written as a 16-bit mono RIFF WAVE file.
#pragma once

#include <cstdint>
#include <vector>

namespace make_media {

constexpr int kClickRate = 44100;

// The samples of the click, about 45 ms.
std::vector<int16_t> clickSamples();
// A complete WAVE file (PCM, 16-bit, mono) holding `samples` at `rate`.
std::vector<uint8_t> waveFile(const std::vector<int16_t>& samples, int rate);

}  // namespace make_media
