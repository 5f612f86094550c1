// The click sound: a short damped tap written as a 16-bit mono RIFF WAVE file.
#include "tools/make_media/click.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace make_media {

std::vector<int16_t> clickSamples() {
  constexpr double kPi = 3.14159265358979323846;
  const int n = kClickRate * 45 / 1000;
  std::vector<double> wave(n);
  double peak = 0;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kClickRate;
    // A bright tick over a small wooden body: two damped partials and a faint overtone.
    double v = 0.55 * std::exp(-t / 0.0025) * std::sin(2 * kPi * 2350 * t) +
               0.35 * std::exp(-t / 0.0065) * std::sin(2 * kPi * 1180 * t) +
               0.12 * std::exp(-t / 0.0012) * std::sin(2 * kPi * 5100 * t);
    // A 0.2 ms rise and a 5 ms fade, so neither end pops.
    v *= std::min(1.0, t / 0.0002);
    const double left = static_cast<double>(n - 1 - i) / kClickRate;
    v *= std::min(1.0, left / 0.005);
    wave[i] = v;
    peak = std::max(peak, std::abs(v));
  }
  // Peak at about -4 dB of full scale.
  const double gain = 0.63 * 32767 / peak;
  std::vector<int16_t> out(n);
  for (int i = 0; i < n; ++i) out[i] = static_cast<int16_t>(std::nearbyint(wave[i] * gain));
  return out;
}

std::vector<uint8_t> waveFile(const std::vector<int16_t>& samples, int rate) {
  std::vector<uint8_t> out;
  auto text = [&](const std::string& s) { out.insert(out.end(), s.begin(), s.end()); };
  auto le = [&](uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  text("RIFF");
  le(36 + dataBytes, 4);
  text("WAVE");
  text("fmt ");
  le(16, 4);
  le(1, 2);  // PCM
  le(1, 2);  // mono
  le(static_cast<uint32_t>(rate), 4);
  le(static_cast<uint32_t>(rate) * 2, 4);  // bytes a second
  le(2, 2);                                // bytes a frame
  le(16, 2);                               // bits a sample
  text("data");
  le(dataBytes, 4);
  for (int16_t s : samples) le(static_cast<uint16_t>(s), 2);
  return out;
}

}  // namespace make_media
