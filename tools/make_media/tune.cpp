// The game's looping tune, composed in code and written as a standard MIDI file.
#include "tools/make_media/tune.h"

#include <sstream>
#include <stdexcept>
#include <string>

#include "tools/make_media/midi.h"
#include "tools/make_media/paint.h"

namespace make_media {
namespace {

constexpr int kQuarter = 480;
constexpr int kEighth = kQuarter / 2;
constexpr int kBar = 4 * kQuarter;
constexpr int kBars = 32;
constexpr double kTempo = 116;

// General MIDI programs (numbered from 0) and the channels they play on.
constexpr int kFlute = 73, kMarimba = 12, kStrings = 48, kElectricPiano = 4, kFingerBass = 33;
constexpr int kMelodyCh = 0, kArpCh = 1, kPadCh = 2, kKeysCh = 3, kBassCh = 4, kDrumCh = 9;

// General MIDI percussion keys.
constexpr int kKick = 36, kSideStick = 37, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49,
              kRide = 51, kTambourine = 54, kShaker = 70, kTomLow = 45, kTomMid = 47,
              kTomHighMid = 48, kTomHigh = 50;

struct Chord {
  int root = 0;            // MIDI key class 0..11
  int bass = 0;            // key class of the lowest note
  std::vector<int> tones;  // semitones above the root
};

int keyClass(const std::string& name, size_t& at) {
  static const int letters[] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  int k = letters[name.at(at++) - 'A'];
  if (at < name.size() && name[at] == '#') ++k, ++at;
  if (at < name.size() && name[at] == 'b') --k, ++at;
  return (k + 12) % 12;
}

// "C", "Am", "G7", "Dm7", "Fmaj7", "Em/G".
Chord parseChord(const std::string& name) {
  size_t at = 0;
  Chord c;
  c.root = keyClass(name, at);
  const size_t slash = name.find('/');
  const std::string quality = name.substr(at, slash == std::string::npos ? slash : slash - at);
  if (quality.empty())
    c.tones = {0, 4, 7};
  else if (quality == "m")
    c.tones = {0, 3, 7};
  else if (quality == "7")
    c.tones = {0, 4, 7, 10};
  else if (quality == "m7")
    c.tones = {0, 3, 7, 10};
  else if (quality == "maj7")
    c.tones = {0, 4, 7, 11};
  else
    throw std::invalid_argument("unknown chord " + name);
  c.bass = c.root;
  if (slash != std::string::npos) {
    size_t b = slash + 1;
    c.bass = keyClass(name, b);
  }
  return c;
}

// A chord and where it sounds.
struct Span {
  Chord chord;
  int start;   // tick
  int length;  // ticks
};

// One text per bar; two names in a bar split it in halves.
std::vector<Span> harmony(const std::vector<std::string>& bars) {
  std::vector<Span> out;
  for (size_t b = 0; b < bars.size(); ++b) {
    std::istringstream in(bars[b]);
    std::vector<std::string> names;
    for (std::string n; in >> n;) names.push_back(n);
    const int each = kBar / static_cast<int>(names.size());
    for (size_t k = 0; k < names.size(); ++k)
      out.push_back(
          {parseChord(names[k]), static_cast<int>(b) * kBar + static_cast<int>(k) * each, each});
  }
  return out;
}

// "G5:2 r:1 C#6:3 | ..." with lengths in eighths; every bar must fill 8 eighths.
struct Note {
  int key;  // -1 for a rest
  int eighths;
};
std::vector<std::vector<Note>> parseLine(const std::string& text) {
  std::vector<std::vector<Note>> bars(1);
  std::istringstream in(text);
  for (std::string tok; in >> tok;) {
    if (tok == "|") {
      bars.emplace_back();
      continue;
    }
    const size_t colon = tok.find(':');
    const std::string pitch = tok.substr(0, colon);
    const int len = std::stoi(tok.substr(colon + 1));
    int key = -1;
    if (pitch != "r") {
      size_t at = 0;
      const int k = keyClass(pitch, at);
      key = 12 * (std::stoi(pitch.substr(at)) + 1) + k;
    }
    bars.back().push_back({key, len});
  }
  for (const auto& bar : bars) {
    int sum = 0;
    for (const Note& n : bar) sum += n.eighths;
    if (sum != 8) throw std::invalid_argument("a bar of the melody does not fill 4/4");
  }
  return bars;
}

// A small repeatable wobble for velocities, so repeated notes do not sound stamped.
int humanize(int velocity, int tick, int salt) {
  const int wobble = static_cast<int>(hashNoise(tick, salt, 97) * 9) - 4;
  return std::max(1, std::min(127, velocity + wobble));
}

// The key of `keyClass` nearest above or at `low`.
int placeAbove(int cls, int low) {
  return low + ((cls - low) % 12 + 12) % 12;
}

enum Section { kIntro, kVerse, kBridge, kReprise, kTag };

Section sectionOf(int bar) {
  if (bar < 4) return kIntro;
  if (bar < 12) return kVerse;
  if (bar < 20) return kBridge;
  if (bar < 28) return kReprise;
  return kTag;
}

void setup(MidiTrack& t, int channel, int program, int volume, int pan, int reverb, int chorus) {
  t.control(0, channel, 0, 0);  // bank: General MIDI
  t.program(0, channel, program);
  t.control(0, channel, 7, volume);
  t.control(0, channel, 10, pan);
  t.control(0, channel, 91, reverb);
  t.control(0, channel, 93, chorus);
}

MidiTrack melody() {
  MidiTrack t("Flute");
  setup(t, kMelodyCh, kFlute, 104, 64, 58, 12);
  const std::string verse =
      "G5:2 E5:1 G5:1 C6:2 B5:1 A5:1 | B5:2 G5:2 D5:4 | C6:2 A5:1 C6:1 E6:2 D6:1 C6:1 | "
      "B5:4 G5:2 E5:2 | A5:2 F5:1 A5:1 C6:2 A5:1 C6:1 | E6:3 D6:1 C6:4 | ";
  const std::string line =
      // Intro, with a pick-up into the verse.
      "r:8 | r:8 | r:8 | r:6 D5:1 F5:1 | " + verse +
      "D6:2 C6:1 A5:1 F5:2 A5:2 | G5:6 r:2 | "
      // Bridge.
      "A5:3 C6:3 A5:2 | B5:3 D6:3 B5:2 | G5:2 B5:2 D6:2 E6:2 | C6:6 B5:1 A5:1 | "
      "F5:3 A5:3 C6:2 | B5:2 D6:2 G5:4 | E5:2 F5:2 A5:2 C6:2 | D6:4 B5:2 A5:2 | " +
      // Reprise, closing on the tonic.
      verse + "F5:2 A5:2 B5:2 D6:2 | C6:6 r:2 | " +
      // Tag: down the scale to the leading note, which the first bar resolves.
      "A5:4 C6:2 E6:2 | D6:4 B5:2 G5:2 | A5:4 F5:2 A5:2 | B5:7 r:1";
  const auto bars = parseLine(line);
  if (bars.size() != kBars) throw std::logic_error("the melody is not 32 bars long");
  for (size_t b = 0; b < bars.size(); ++b) {
    int tick = static_cast<int>(b) * kBar;
    for (const Note& n : bars[b]) {
      const int len = n.eighths * kEighth;
      if (n.key >= 0) {
        // Phrase accents on the beat, slightly softer off it; notes a touch detached.
        const int base = (tick % kQuarter == 0 ? 96 : 86) + (tick % kBar == 0 ? 6 : 0);
        t.note(tick, len - 24, kMelodyCh, n.key, humanize(base, tick, 1));
      }
      tick += len;
    }
  }
  return t;
}

MidiTrack marimba(const std::vector<Span>& chords) {
  MidiTrack t("Marimba");
  setup(t, kArpCh, kMarimba, 86, 34, 50, 0);
  static const int pattern[8] = {0, 1, 2, 3, 4, 3, 2, 1};
  for (const Span& s : chords) {
    const Section sec = sectionOf(s.start / kBar);
    // Lighter under the tune, fuller where the melody rests or broadens.
    const int level = sec == kIntro || sec == kTag ? 82 : sec == kBridge ? 72 : 62;
    const int root = placeAbove(s.chord.root, 60);
    std::vector<int> tones;
    for (int iv : s.chord.tones) tones.push_back(root + iv);
    if (tones.size() == 3) tones.push_back(root + 12);
    tones.push_back(tones[1] + 12);
    for (int tick = s.start; tick < s.start + s.length; tick += kEighth) {
      const int step = ((tick % kBar) / kEighth) % 8;
      const int vel = humanize(level + (step % 2 == 0 ? 8 : 0), tick, 2);
      t.note(tick, kEighth - 10, kArpCh, tones[pattern[step]], vel);
    }
  }
  return t;
}

// Close voicing of the chord between G3 and F#4.
std::vector<int> closeVoicing(const Chord& c) {
  std::vector<int> keys;
  for (int iv : c.tones) keys.push_back(placeAbove((c.root + iv) % 12, 55));
  return keys;
}

MidiTrack strings(const std::vector<Span>& chords) {
  MidiTrack t("Strings");
  setup(t, kPadCh, kStrings, 70, 92, 80, 40);
  for (const Span& s : chords) {
    const Section sec = sectionOf(s.start / kBar);
    const int vel = sec == kBridge || sec == kTag ? 64 : 50;
    for (int key : closeVoicing(s.chord)) t.note(s.start, s.length - 12, kPadCh, key, vel);
  }
  return t;
}

MidiTrack electricPiano(const std::vector<Span>& chords) {
  MidiTrack t("Electric piano");
  setup(t, kKeysCh, kElectricPiano, 80, 76, 45, 30);
  for (const Span& s : chords) {
    const Section sec = sectionOf(s.start / kBar);
    if (sec != kBridge && sec != kReprise) continue;
    // Off-beat stabs on the "and" of two and four.
    for (int tick = s.start; tick < s.start + s.length; tick += kEighth) {
      const int step = (tick % kBar) / kEighth;
      if (step != 3 && step != 7) continue;
      for (int key : closeVoicing(s.chord))
        t.note(tick, kEighth - 40, kKeysCh, key + 12, humanize(58, tick, 3));
    }
  }
  return t;
}

MidiTrack bass(const std::vector<Span>& chords) {
  MidiTrack t("Bass");
  setup(t, kBassCh, kFingerBass, 104, 64, 20, 0);
  for (const Span& s : chords) {
    const int root = placeAbove(s.chord.bass, 40);
    const int fifth = placeAbove((s.chord.root + 7) % 12, 40);
    struct Step {
      int key, eighths;
    };
    // The last chord is held, so the loop's restart resolves it.
    const bool last = s.start + s.length == kBars * kBar;
    const std::vector<Step> steps =
        last ? std::vector<Step>{{root, 8}}
        : s.length == kBar
            ? std::vector<Step>{{root, 3}, {root, 1}, {fifth, 2}, {root + 12, 1}, {fifth, 1}}
            : std::vector<Step>{{root, 3}, {fifth, 1}};
    int tick = s.start;
    for (const Step& st : steps) {
      const int vel = tick % kQuarter == 0 ? 100 : 84;
      t.note(tick, st.eighths * kEighth - 30, kBassCh, st.key, humanize(vel, tick, 4));
      tick += st.eighths * kEighth;
    }
  }
  return t;
}

MidiTrack drums() {
  MidiTrack t("Drums");
  t.control(0, kDrumCh, 7, 100);
  t.control(0, kDrumCh, 10, 64);
  t.control(0, kDrumCh, 91, 40);
  t.program(0, kDrumCh, 0);
  auto hit = [&](int bar, int eighth, int key, int vel, int sixteenth = 0) {
    const int tick = bar * kBar + eighth * kEighth + sixteenth * kEighth / 2;
    t.note(tick, kEighth / 2, kDrumCh, key, humanize(vel, tick, key));
  };
  for (int bar = 0; bar < kBars; ++bar) {
    const Section sec = sectionOf(bar);
    const bool fill = bar == 11 || bar == 19 || bar == 27;
    const bool lastBar = bar == kBars - 1;
    if (bar == 4 || bar == 12 || bar == 20 || bar == 28) hit(bar, 0, kCrash, 92);
    for (int e = 0; e < 8; ++e) {
      if (fill && e >= 4) continue;
      if (lastBar && e >= 4) continue;
      switch (sec) {
        case kIntro:
          if (e == 0 || e == 4) hit(bar, e, kKick, 88);
          if (e == 2 || e == 6) hit(bar, e, kSideStick, 70);
          hit(bar, e, kClosedHat, e % 2 == 0 ? 58 : 40);
          break;
        case kVerse:
        case kReprise:
          if (e == 0 || e == 3 || e == 4) hit(bar, e, kKick, e == 3 ? 80 : 98);
          if (e == 2 || e == 6) hit(bar, e, kSnare, 88);
          if (e == 7 && bar % 2 == 1)
            hit(bar, e, kOpenHat, 56);
          else
            hit(bar, e, kClosedHat, e % 2 == 0 ? 70 : 46);
          if (sec == kReprise) {
            hit(bar, e, kShaker, 44);
            hit(bar, e, kShaker, 30, 1);
          }
          break;
        case kBridge:
          if (e == 0 || e == 5) hit(bar, e, kKick, 96);
          if (e == 2 || e == 6) hit(bar, e, kSnare, 84);
          if (e == 2 || e == 6) hit(bar, e, kTambourine, 52);
          hit(bar, e, kRide, e % 2 == 0 ? 66 : 44);
          break;
        case kTag:
          if (e == 0 || e == 3) hit(bar, e, kKick, 92);
          if (e == 4) hit(bar, e, kSnare, 86);
          hit(bar, e, kClosedHat, e % 2 == 0 ? 62 : 42);
          break;
      }
    }
    if (fill) {
      hit(bar, 4, kKick, 96);
      hit(bar, 4, kTomHigh, 92);
      hit(bar, 4, kTomHigh, 80, 1);
      hit(bar, 5, kTomHighMid, 90);
      hit(bar, 5, kTomHighMid, 80, 1);
      hit(bar, 6, kTomMid, 94);
      hit(bar, 6, kTomMid, 82, 1);
      hit(bar, 7, kTomLow, 100);
      hit(bar, 7, kSnare, 96, 1);
    }
    if (lastBar) {
      // A rising snare run that carries the ear back to the first bar.
      hit(bar, 4, kKick, 90);
      for (int k = 0; k < 8; ++k) hit(bar, 4 + k / 2, kSnare, 44 + 7 * k, k % 2);
    }
  }
  return t;
}

}  // namespace

std::vector<uint8_t> composeTune() {
  const std::vector<Span> chords = harmony({
      // Intro
      "C",
      "Am",
      "F",
      "G7",
      // Verse
      "C",
      "G/B",
      "Am",
      "Em/G",
      "F",
      "C/E",
      "Dm7",
      "G7",
      // Bridge
      "F",
      "G",
      "Em7",
      "Am",
      "Dm7",
      "G",
      "Fmaj7",
      "G7",
      // Reprise
      "C",
      "G/B",
      "Am",
      "Em/G",
      "F",
      "C/E",
      "Dm7 G7",
      "C",
      // Tag, ending on the dominant
      "Fmaj7",
      "Em7",
      "Dm7",
      "G7",
  });
  MidiTrack conductor("Skelmora");
  conductor.tempo(0, kTempo);
  conductor.timeSignature(0, 4, 2);
  std::vector<MidiTrack> tracks = {
      conductor,    melody(), marimba(chords), strings(chords), electricPiano(chords),
      bass(chords), drums()};
  return midiFile(tracks, kQuarter, kBars * kBar);
}

}  // namespace make_media
