// Media commands for the background music, and the click player, over SDL2_mixer.
#include "platform/sdl/media.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"

namespace platform {
namespace {

enum MediaError : int {
  kUnrecognizedCommand = 1,
  kNoDevice,
  kFileNotFound,
  kNotMidi,
  kAliasInUse,
  kUnknownAlias,
  kCannotLoad,
  kCannotPlay,
};

const char* errorText(int error) {
  switch (error) {
    case kUnrecognizedCommand:
      return "unrecognised command";
    case kNoDevice:
      return "no audio device";
    case kFileNotFound:
      return "file not found";
    case kNotMidi:
      return "not a MIDI file";
    case kAliasInUse:
      return "alias already open";
    case kUnknownAlias:
      return "no device open under that alias";
    case kCannotLoad:
      return "the sequencer cannot load the file";
    case kCannotPlay:
      return "the sequencer cannot play";
    default:
      return "unknown error";
  }
}

// The General MIDI bank the game is packaged with; the mixer's own default otherwise.
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kClickChannel = 0;

// Mix_Init and Mix_Quit are process-wide; the last Media to go unloads the decoders.
int liveMixers = 0;

bool isRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// A sound file's bytes, read once: only a plain file within the limit, so a pipe cannot
// block the game nor a device fill its memory; nothing when it cannot be read.
std::optional<std::string> soundFile(const std::string& path) {
  try {
    return common::readWholeFile(path, common::kSoundFileLimit);
  } catch (const common::FileError&) {
    return std::nullopt;
  }
}

}  // namespace

struct Media::Impl {
  struct Device {
    std::string bytes;  // the MIDI file, which the synthesiser may read while it plays
    Mix_Music* music = nullptr;
    double lengthMs = 0;   // the sequence's length; it counts as stopped after that
    bool paused = false;   // stopped part-way; "play" goes on from there
    bool rewound = false;  // sent to the start after its end; "play" restarts it
  };

  bool sdlAudio = false;  // the audio subsystem is initialised
  bool mixer = false;     // the mixer holds an open device
  std::string midiBackEnd;
  std::map<std::string, Device> devices;  // by lower-case alias
  std::string current;                    // alias whose music the mixer last started
  Mix_Chunk* click = nullptr;
  std::string detail;  // the library's words for the last failure

  // How far the current music has played, counted in output frames by the mixer's
  // thread: the audio clock, which a wall clock only approximates.
  std::atomic<bool> counting{false};
  std::atomic<uint64_t> framesPlayed{0};
  int frameBytes = 4;
  int rate = 32000;
  static void countFrames(void* self, Uint8*, int bytes) {
    Impl* impl = static_cast<Impl*>(self);
    if (impl->counting) impl->framesPlayed += static_cast<uint64_t>(bytes / impl->frameBytes);
  }

  // The synthesiser reports a tune as playing until its last release has died away,
  // seconds after the final event; the sequence itself is over at its length.
  bool pastEnd(const Device& d) const {
    return static_cast<double>(framesPlayed) * 1000 / rate >= d.lengthMs;
  }
  bool sounding(const std::string& alias) const {
    return alias == current && Mix_PlayingMusic() && !Mix_PausedMusic();
  }
  bool isPlaying(const std::string& alias) const {
    const Device& d = devices.at(alias);
    return sounding(alias) && !d.rewound && !pastEnd(d);
  }
  void halt(const std::string& alias) {
    if (alias != current) return;
    Mix_HaltMusic();
    counting = false;
    current.clear();
  }

  int open(std::string path, const std::string& name);
  int play(const std::string& alias);
  void rewind(const std::string& alias);
  void stop(const std::string& alias);
};

int Media::Impl::open(std::string path, const std::string& name) {
  if (devices.count(name)) return kAliasInUse;
  if (!mixer) return kNoDevice;

  if (!isRegularFile(path)) {
    // A name formed with the other platform's separator still finds the file.
    std::string slashed = path;
    for (char& c : slashed)
      if (c == '\\') c = '/';
    if (slashed == path || !isRegularFile(slashed)) return kFileNotFound;
    path = slashed;
  }
  std::optional<std::string> bytes = soundFile(path);
  if (!bytes) return kFileNotFound;
  // Only well-formed MIDI files are let through: the synthesiser reads the tracks only
  // when it plays, so a bad one would open and then play nothing.
  const std::optional<double> length =
      midiLengthMs(std::vector<uint8_t>(bytes->begin(), bytes->end()));
  if (!length) return kNotMidi;
  // The bytes stay in the device's own node, where the synthesiser was given them.
  Device& d = devices[name];
  d.bytes = std::move(*bytes);
  d.lengthMs = *length;
  SDL_RWops* rw = SDL_RWFromConstMem(d.bytes.data(), static_cast<int>(d.bytes.size()));
  d.music = rw ? Mix_LoadMUSType_RW(rw, MUS_MID, 1) : nullptr;
  if (!d.music) {
    detail = Mix_GetError();
    devices.erase(name);
    return kCannotLoad;
  }
  return 0;
}

int Media::Impl::play(const std::string& alias) {
  Device& d = devices.at(alias);
  if (isPlaying(alias)) return 0;
  if (alias == current && d.paused && Mix_PlayingMusic()) {
    Mix_ResumeMusic();
    counting = true;
    d.paused = false;
    return 0;
  }
  // Once from the start; the game rewinds and plays again to loop. Starting replaces
  // whatever the mixer still sounds in one step, so the loop has no dropout.
  if (Mix_PlayMusic(d.music, 1) != 0) {
    detail = Mix_GetError();
    return kCannotPlay;
  }
  Mix_ResumeMusic();  // a pause left behind by another device would hold it
  if (!current.empty() && current != alias) devices[current].paused = false;
  current = alias;
  framesPlayed = 0;
  counting = true;
  d.paused = false;
  d.rewound = false;
  return 0;
}

void Media::Impl::rewind(const std::string& alias) {
  Device& d = devices.at(alias);
  d.paused = false;
  // After the end only the last notes' release is left: let it ring until the next play.
  if (sounding(alias) && pastEnd(d)) {
    d.rewound = true;
    return;
  }
  halt(alias);
}

void Media::Impl::stop(const std::string& alias) {
  Device& d = devices.at(alias);
  if (!isPlaying(alias)) return;
  Mix_PauseMusic();
  counting = false;
  d.paused = true;
}

Media::Media() : impl_(std::make_unique<Impl>()) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  impl_->sdlAudio = true;
  if (liveMixers++ == 0) Mix_Init(MIX_INIT_MID);
  std::error_code ec;
  if (std::filesystem::exists(kSoundFont, ec)) Mix_SetSoundFonts(kSoundFont);
  // 32 kHz: the synthesizer's cost grows with the rate, and General MIDI voices lose
  // nothing audible above 16 kHz.
  if (Mix_OpenAudio(32000, AUDIO_S16SYS, 2, 1024) != 0) return;
  impl_->mixer = true;
  Uint16 format = AUDIO_S16SYS;
  int channels = 2;
  Mix_QuerySpec(&impl_->rate, &format, &channels);
  impl_->frameBytes = std::max(1, channels * static_cast<int>(SDL_AUDIO_BITSIZE(format)) / 8);
  Mix_SetPostMix(&Impl::countFrames, impl_.get());
  // The mixer tries FluidSynth first for MIDI; name what it will use.
  for (const char* preferred : {"FLUIDSYNTH", "TIMIDITY", "NATIVEMIDI"}) {
    if (Mix_HasMusicDecoder(preferred)) {
      impl_->midiBackEnd = preferred;
      break;
    }
  }
  // The click owns one channel that nothing else is given.
  Mix_ReserveChannels(1);
  // At full volume the mixer drives FluidSynth at unit gain, where a full General MIDI
  // arrangement clips; half leaves room for the click on top.
  Mix_VolumeMusic(MIX_MAX_VOLUME / 2);
}

Media::~Media() {
  if (impl_->mixer) {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    for (auto& [alias, d] : impl_->devices) Mix_FreeMusic(d.music);
    Mix_HaltChannel(-1);
    if (impl_->click) Mix_FreeChunk(impl_->click);
    Mix_CloseAudio();
  }
  if (impl_->sdlAudio) {
    if (--liveMixers == 0) Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool Media::hasAudio() const {
  return impl_->mixer;
}

const std::string& Media::midiBackEnd() const {
  return impl_->midiBackEnd;
}

int Media::mciSendString(const std::string& command, std::string* reply) {
  if (reply) reply->clear();
  impl_->detail.clear();
  const std::optional<MediaCommand> parsed = parseMediaCommand(command);
  if (!parsed) return kUnrecognizedCommand;
  const MediaVerb verb = parsed->verb;
  const std::string& alias = parsed->alias;
  if (verb == MediaVerb::kOpen) return impl_->open(parsed->path, alias);
  const auto it = impl_->devices.find(alias);
  if (it == impl_->devices.end()) return kUnknownAlias;
  Impl::Device& d = it->second;

  if (verb == MediaVerb::kPlay) return impl_->play(alias);
  if (verb == MediaVerb::kStatus) {
    if (reply) *reply = impl_->isPlaying(alias) ? "playing" : "stopped";
    return 0;
  }
  if (verb == MediaVerb::kSeek) {
    impl_->rewind(alias);
    return 0;
  }
  if (verb == MediaVerb::kStop) {
    impl_->stop(alias);
    return 0;
  }
  impl_->halt(alias);  // close
  Mix_FreeMusic(d.music);
  impl_->devices.erase(it);
  return 0;
}

void Media::mciExecute(const std::string& command) {
  const int error = mciSendString(command, nullptr);
  if (error == 0) return;
  std::fprintf(stderr, "media command \"%s\" failed (%d): %s%s%s\n", command.c_str(), error,
               errorText(error), impl_->detail.empty() ? "" : ": ", impl_->detail.c_str());
}

void Media::playWave(const std::string& path) {
  if (!impl_->mixer) return;
  // A new click cuts off the one still sounding, as does a click that cannot be read.
  Mix_HaltChannel(kClickChannel);
  if (impl_->click) {
    Mix_FreeChunk(impl_->click);
    impl_->click = nullptr;
  }
  const std::optional<std::string> bytes = soundFile(path);
  if (!bytes) return;
  impl_->click =
      Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
  if (impl_->click) Mix_PlayChannel(kClickChannel, impl_->click, 0);
}

}  // namespace platform
