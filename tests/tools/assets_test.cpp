// The shipped title, background, tune and click: sizes, formats, length, and that the
// generator makes exactly them.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "tests/support/folders.h"
#include "tests/support/midi_reader.h"
#include "tests/support/run_program.h"

namespace {

using media_test::readBytes;
using testing_support::shippedFile;

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  double luma(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
  }
};

Picture decode(const std::string& path) {
  Picture pic;
  SDL_Surface* s = IMG_Load(path.c_str());
  if (!s) {
    ADD_FAILURE() << path << ": " << IMG_GetError();
    return pic;
  }
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(s);
  pic.width = rgb->w;
  pic.height = rgb->h;
  for (int y = 0; y < rgb->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
    pic.rgb.insert(pic.rgb.end(), row, row + rgb->w * 3);
  }
  SDL_FreeSurface(rgb);
  return pic;
}

bool isJpeg(const std::vector<uint8_t>& b) {
  return b.size() > 4 && b[0] == 0xff && b[1] == 0xd8 && b[b.size() - 2] == 0xff &&
         b[b.size() - 1] == 0xd9;
}

TEST(ShippedPictures, BothAre500By350Jpegs) {
  for (const char* name : {"title.jpg", "back.jpg"}) {
    EXPECT_TRUE(isJpeg(readBytes(shippedFile(name)))) << name;
    const Picture p = decode(shippedFile(name));
    EXPECT_EQ(p.width, 500) << name;
    EXPECT_EQ(p.height, 350) << name;
  }
}

TEST(ShippedPictures, TheTitleIsRichAndItsNameIsBright) {
  const Picture p = decode(shippedFile("title.jpg"));
  ASSERT_EQ(p.width, 500);
  std::set<int> colours;
  for (size_t k = 0; k + 2 < p.rgb.size(); k += 3)
    colours.insert((p.rgb[k] >> 3) << 10 | (p.rgb[k + 1] >> 3) << 5 | p.rgb[k + 2] >> 3);
  EXPECT_GT(colours.size(), 3000u) << "too few colours for a finished picture";
  // The name in the upper third: light lettering over a dark sky.
  int bright = 0, dark = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < p.width; ++x) {
      bright += p.luma(x, y) > 150;
      dark += p.luma(x, y) < 50;
    }
  }
  EXPECT_GT(bright, 3000);
  EXPECT_GT(dark, 10000);
}

// The island's two blocks are drawn as play draws blocks: the sprite sheet's water tile.
TEST(ShippedPictures, TheTitlesBlocksAreTheGamesWater) {
  const Picture title = decode(shippedFile("title.jpg")), sheet = decode(shippedFile("chr.bmp"));
  ASSERT_EQ(sheet.width, 320);
  // The water tile at (192, 0) where the diamond mask at (0, 32) is black.
  double water[3] = {}, n = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x)
      if (sheet.luma(x, 32 + y) < 128) {
        for (int k = 0; k < 3; ++k) water[k] += sheet.rgb[((y * 320) + 192 + x) * 3 + k];
        ++n;
      }
  for (const auto& [cx, cy] : {std::pair{304, 217}, std::pair{196, 190}}) {
    double block[3] = {}, m = 0;
    for (int y = cy - 4; y <= cy + 4; ++y)
      for (int x = cx - 8; x <= cx + 8; ++x, ++m)
        for (int k = 0; k < 3; ++k) block[k] += title.rgb[((y * title.width) + x) * 3 + k];
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(block[k] / m, water[k] / n, 30) << "channel " << k << " at " << cx << "," << cy;
  }
}

TEST(ShippedPictures, TheBackgroundIsDarkAndQuiet) {
  const Picture p = decode(shippedFile("back.jpg"));
  ASSERT_EQ(p.width, 500);
  std::vector<double> l;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) l.push_back(p.luma(x, y));
  std::sort(l.begin(), l.end());
  double sum = 0;
  for (double v : l) sum += v;
  // White and grey labels and a bright field must stand out anywhere on it.
  EXPECT_LT(sum / l.size(), 60);
  EXPECT_LT(l[l.size() * 999 / 1000], 110);
  EXPECT_GT(l.back() - l.front(), 8) << "a flat fill, not a picture";
}

TEST(ShippedTune, IsAWellFormedMidiFileOfAtLeast45Seconds) {
  const media_test::MidiSummary s = media_test::readMidi(readBytes(shippedFile("run.mid")));
  EXPECT_TRUE(s.format == 0 || s.format == 1);
  EXPECT_TRUE(s.eachTrackEnds);
  EXPECT_GE(s.seconds, 45.0);
  EXPECT_LE(s.seconds, 180.0);
  EXPECT_EQ(s.unmatchedNoteOffs, 0);
  EXPECT_EQ(s.hangingNotes, 0) << "a note left sounding would drone across the loop";
  for (const auto& n : s.notes) EXPECT_LE(n.off, s.endTick);
}

TEST(ShippedTune, HasMelodyBassAndDrumsOnGeneralMidiChannels) {
  const media_test::MidiSummary s = media_test::readMidi(readBytes(shippedFile("run.mid")));
  std::map<int, int> notesOn;
  std::map<int, double> keySum;
  for (const auto& n : s.notes) {
    ++notesOn[n.channel];
    keySum[n.channel] += n.key;
  }
  EXPECT_GT(notesOn[9], 100) << "drums on channel 10";
  int pitched = 0;
  bool bass = false, melody = false;
  for (const auto& [ch, count] : notesOn) {
    if (ch == 9) continue;
    ++pitched;
    const double average = keySum[ch] / count;
    bass |= average < 55 && count > 50;
    melody |= average > 67 && count > 50;
  }
  EXPECT_GE(pitched, 2);
  EXPECT_TRUE(bass) << "no part lying low";
  EXPECT_TRUE(melody) << "no part lying high";
  EXPECT_TRUE(s.lateProgram.empty()) << "a channel sounded before its program was chosen";
  EXPECT_GE(s.programSet.size(), 2u);
}

// The last bass note is the dominant of the first, so the restart sounds like a resolution.
TEST(ShippedTune, EndsOnTheDominantOfItsOpeningChord) {
  const media_test::MidiSummary s = media_test::readMidi(readBytes(shippedFile("run.mid")));
  const media_test::MidiNote* first = nullptr;
  const media_test::MidiNote* last = nullptr;
  for (const auto& n : s.notes) {
    if (n.channel == 9) continue;
    if (!first || n.on < first->on || (n.on == first->on && n.key < first->key)) first = &n;
    if (!last || n.on > last->on || (n.on == last->on && n.key < last->key)) last = &n;
  }
  ASSERT_TRUE(first && last);
  int lowestAtEnd = 128, lowestAtStart = 128;
  for (const auto& n : s.notes) {
    if (n.channel == 9) continue;
    if (n.on <= last->on && n.off > last->on) lowestAtEnd = std::min(lowestAtEnd, n.key);
    if (n.on == first->on) lowestAtStart = std::min(lowestAtStart, n.key);
  }
  EXPECT_EQ(((lowestAtEnd - lowestAtStart) % 12 + 12) % 12, 7);
}

struct Wave {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;
};

Wave readWave(const std::vector<uint8_t>& b) {
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = (v << 8) | b.at(at + k);
    return v;
  };
  Wave w;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    ADD_FAILURE() << "not a RIFF WAVE file";
    return w;
  }
  EXPECT_EQ(le(4, 4), b.size() - 8) << "RIFF size";
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + at, b.begin() + at + 4);
    const uint32_t len = le(at + 4, 4);
    if (id == "fmt ") {
      w.format = static_cast<int>(le(at + 8, 2));
      w.channels = static_cast<int>(le(at + 10, 2));
      w.rate = static_cast<int>(le(at + 12, 4));
      EXPECT_EQ(le(at + 16, 4), le(at + 12, 4) * le(at + 20, 2)) << "byte rate";
      w.bits = static_cast<int>(le(at + 22, 2));
    } else if (id == "data") {
      EXPECT_LE(at + 8 + len, b.size());
      for (uint32_t k = 0; k + 1 < len && at + 9 + k < b.size(); k += 2)
        w.samples.push_back(static_cast<int16_t>(le(at + 8 + k, 2)));
    }
    at += 8 + len + (len & 1);
  }
  return w;
}

TEST(ShippedClick, IsAShortClean16BitMonoPcmWave) {
  const Wave w = readWave(readBytes(shippedFile("CLICK.WAV")));
  EXPECT_EQ(w.format, 1);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.bits, 16);
  ASSERT_GT(w.rate, 0);
  ASSERT_FALSE(w.samples.empty());
  const double ms = 1000.0 * w.samples.size() / w.rate;
  EXPECT_GE(ms, 10);
  EXPECT_LE(ms, 200);
  int peak = 0;
  for (int16_t v : w.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
  EXPECT_GT(peak, 8000) << "too quiet to hear";
  EXPECT_LT(peak, 32000) << "clipped";
  // Starts and ends at rest, so it does not pop.
  EXPECT_LT(std::abs(static_cast<int>(w.samples.front())), 1000);
  EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 100);
}

#ifdef MAKE_MEDIA_PROGRAM
// The shipped files are the generator's output: the same bytes for the tune and the click,
// the same pixels for the pictures (another JPEG library may encode a little differently).
TEST(MediaGenerator, MakesTheShippedFilesAgain) {
  testing_support::TempDir made;
  const testing_support::ProgramRun generated =
      testing_support::runProgram({MAKE_MEDIA_PROGRAM, made.path()});
  ASSERT_EQ(generated.status, 0) << generated.err;
  EXPECT_EQ(readBytes(made.file("run.mid")), readBytes(shippedFile("run.mid")));
  EXPECT_EQ(readBytes(made.file("CLICK.WAV")), readBytes(shippedFile("CLICK.WAV")));
  for (const char* name : {"title.jpg", "back.jpg"}) {
    const Picture fresh = decode(made.file(name)), shipped = decode(shippedFile(name));
    ASSERT_EQ(fresh.rgb.size(), shipped.rgb.size()) << name;
    double diff = 0;
    for (size_t k = 0; k < fresh.rgb.size(); ++k)
      diff += std::abs(static_cast<int>(fresh.rgb[k]) - static_cast<int>(shipped.rgb[k]));
    EXPECT_LT(diff / fresh.rgb.size(), 1.5) << name;
  }
}
#endif

}  // namespace
