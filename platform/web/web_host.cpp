// The game in a browser page: the C++ half of the web host; the page's half is web_host.js.
#include "platform/web/web_host.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "platform/media_command.h"
#include "platform/midi_length.h"

// The page's half, each a call into Module.brackle (web_host.js).
EM_JS(double, web_now, (), { return performance.now(); });
EM_JS(void, web_show, (int w, int h), { Module.brackle.show(w, h); });
EM_JS(void, web_present, (const uint32_t* rgba, int w, int h),
      { Module.brackle.present(new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4), w, h); });
// Writes the oldest queued event into out[0..4] (type, button, x, y) and its key names into
// key/code; 0 when the queue is empty.
EM_JS(int, web_take_event, (double* out, char* key, char* code, int size), {
  const e = Module.brackle.take();
  if (!e) return 0;
  HEAPF64[out >> 3] = e.type;
  HEAPF64[(out >> 3) + 1] = e.button || 0;
  HEAPF64[(out >> 3) + 2] = e.x || 0;
  HEAPF64[(out >> 3) + 3] = e.y || 0;
  stringToUTF8(e.key || "", key, size);
  stringToUTF8(e.code || "", code, size);
  return 1;
});
EM_ASYNC_JS(void, web_wait, (double ms), { await Module.brackle.wait(ms); });
EM_JS(int, web_script_size, (), { return lengthBytesUTF8(Module.brackle.script || "") + 1; });
EM_JS(void, web_script, (char* out, int size),
      { stringToUTF8(Module.brackle.script || "", out, size); });
EM_JS(int, web_recording, (), { return Module.brackle.recording ? 1 : 0; });
EM_JS(void, web_frame, (int n, uint32_t hash, double busyMs, int hashed), {
  Module.brackle.frame(n, hashed ? (hash >>> 0).toString(16).padStart(8, "0") : null, busyMs);
});
EM_JS(void, web_log, (const char* line), { Module.brackle.log.push(UTF8ToString(line)); });
EM_JS(void, web_report, (const char* title, const char* text),
      { Module.brackle.report(UTF8ToString(title), UTF8ToString(text)); });
EM_ASYNC_JS(int, web_restore_saves, (const char* dir),
            { return await Module.brackle.restoreSaves(UTF8ToString(dir)) ? 1 : 0; });
EM_ASYNC_JS(int, web_store_saves, (), { return await Module.brackle.storeSaves() ? 1 : 0; });
EM_JS(void, web_music_open, (const char* alias, const char* url),
      { Module.brackle.music.open(UTF8ToString(alias), UTF8ToString(url)); });
EM_JS(void, web_music_play, (const char* alias, int fromStart),
      { Module.brackle.music.play(UTF8ToString(alias), fromStart != 0); });
EM_JS(void, web_music_pause, (), { Module.brackle.music.pause(); });
EM_JS(void, web_music_halt, (), { Module.brackle.music.halt(); });
EM_JS(double, web_music_position, (), { return Module.brackle.music.position(); });
EM_JS(void, web_click, (const char* path), { Module.brackle.click(UTF8ToString(path)); });

namespace platform {
namespace {

// Where the saved files are kept between runs: a folder of the browser's storage.
constexpr const char* kSaveFolder = "/saved";

// The game's keys: the keypad by position, so its digits count whether Num Lock is on or
// not; the others by what they print, so letters follow the keyboard's layout.
constexpr std::pair<const char*, Key> kPadKeys[] = {{"Numpad1", Key::kPad1},
                                                    {"Numpad3", Key::kPad3},
                                                    {"Numpad7", Key::kPad7},
                                                    {"Numpad9", Key::kPad9}};
constexpr std::pair<const char*, Key> kKeys[] = {{"Backspace", Key::kBackspace},
                                                 {"z", Key::kZ},
                                                 {"Z", Key::kZ},
                                                 {"u", Key::kU},
                                                 {"U", Key::kU},
                                                 {"r", Key::kR},
                                                 {"R", Key::kR},
                                                 {"m", Key::kM},
                                                 {"M", Key::kM},
                                                 {"Escape", Key::kEscape},
                                                 {"ArrowLeft", Key::kLeft},
                                                 {"ArrowRight", Key::kRight},
                                                 {"ArrowUp", Key::kUp},
                                                 {"ArrowDown", Key::kDown},
                                                 {"F1", Key::kF1},
                                                 {"?", Key::kQuestion},
                                                 {"h", Key::kH},
                                                 {"H", Key::kH},
                                                 {"a", Key::kA},
                                                 {"A", Key::kA},
                                                 {"y", Key::kY},
                                                 {"Y", Key::kY},
                                                 {"ShiftCtrlZ", Key::kShiftCtrlZ},
                                                 {"Enter", Key::kEnter},
                                                 {" ", Key::kSpace}};

std::optional<Key> gameKey(const char* key, const char* code) {
  for (const auto& [c, k] : kPadKeys)
    if (std::strcmp(code, c) == 0) return k;
  for (const auto& [name, k] : kKeys)
    if (std::strcmp(key, name) == 0) return k;
  // A modifier pressed alone is no key of its own.
  for (const char* modifier :
       {"Shift", "Control", "Alt", "AltGraph", "Meta", "OS", "CapsLock", "NumLock", "Unidentified"})
    if (std::strcmp(key, modifier) == 0) return std::nullopt;
  return Key::kOther;
}

bool isRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

enum MediaError : int {
  kUnrecognizedCommand = 1,
  kFileNotFound,
  kNotMidi,
  kAliasInUse,
  kUnknownAlias,
};

}  // namespace

bool WebSound::isPlaying(const std::string& alias) const {
  const Device& d = devices_.at(alias);
  return alias == current_ && !d.paused && !d.rewound && web_music_position() * 1000 < d.lengthMs;
}

int WebSound::mciSendString(const std::string& command, std::string* reply) {
  if (reply) reply->clear();
  const std::optional<MediaCommand> c = parseMediaCommand(command);
  if (!c) return kUnrecognizedCommand;
  if (c->verb == MediaVerb::kOpen) {
    if (devices_.count(c->alias)) return kAliasInUse;
    std::optional<double> length;
    try {
      const std::string bytes = common::readWholeFile(c->path, common::kSoundFileLimit);
      length = midiLengthMs(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    } catch (const common::FileError&) {
      return kFileNotFound;
    }
    if (!length) return kNotMidi;
    // The page fetches the rendered tune by its name, beside the page.
    std::string name = std::filesystem::path(c->path).filename().string();
    name = name.substr(0, name.find_last_of('.')) + ".mp3";
    devices_[c->alias].lengthMs = *length;
    web_music_open(c->alias.c_str(), name.c_str());
    return 0;
  }
  const auto it = devices_.find(c->alias);
  if (it == devices_.end()) return kUnknownAlias;
  Device& d = it->second;
  const std::string& alias = c->alias;
  switch (c->verb) {
    case MediaVerb::kPlay:
      if (isPlaying(alias)) return 0;
      // Goes on from a pause; otherwise plays once from the start, replacing what still
      // sounds. The game rewinds and plays again to loop.
      web_music_play(alias.c_str(), !(alias == current_ && d.paused));
      current_ = alias;
      d.paused = d.rewound = false;
      return 0;
    case MediaVerb::kStatus:
      if (reply) *reply = isPlaying(alias) ? "playing" : "stopped";
      return 0;
    case MediaVerb::kSeek:
      d.paused = false;
      // After the end only the last notes' release is left: let it ring until the next play.
      if (alias == current_ && web_music_position() * 1000 >= d.lengthMs) {
        d.rewound = true;
      } else if (alias == current_) {
        web_music_halt();
        current_.clear();
      }
      return 0;
    case MediaVerb::kStop:
      if (!isPlaying(alias)) return 0;
      web_music_pause();
      d.paused = true;
      return 0;
    default:  // close
      if (alias == current_) {
        web_music_halt();
        current_.clear();
      }
      devices_.erase(it);
      return 0;
  }
}

void WebSound::mciExecute(const std::string& command) {
  const int error = mciSendString(command, nullptr);
  if (error != 0)
    std::fprintf(stderr, "media command \"%s\" failed (%d)\n", command.c_str(), error);
}

void WebSound::playWave(const std::string& path) {
  // Only plain files; a missing one plays nothing (and cuts off the click still sounding).
  web_click(isRegularFile(path) ? path.c_str() : "");
}

WebHost::WebHost(std::string caption, std::string folder)
    : caption_(std::move(caption)), folder_(std::move(folder)) {
  // The files saved by earlier runs go back into the program folder before anything reads it.
  if (!web_restore_saves(kSaveFolder)) std::printf("the browser keeps no saved files here\n");
  std::error_code ec;
  for (const auto& f : std::filesystem::directory_iterator(kSaveFolder, ec))
    if (f.is_regular_file(ec))
      std::filesystem::copy_file(f.path(), std::filesystem::path(folder_) / f.path().filename(),
                                 std::filesystem::copy_options::overwrite_existing, ec);
  record_ = web_recording() != 0;
  std::string script(static_cast<size_t>(web_script_size()), '\0');
  web_script(script.data(), static_cast<int>(script.size()));
  script.resize(std::strlen(script.c_str()));
  try {
    script_ = parseEventScript(script);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
}

void WebHost::showWindow(const Surface& picture, WindowEvents& events) {
  picture_ = &picture;
  events_ = &events;
  web_show(picture.width(), picture.height());
  busySince_ = web_now();
  present();
}

uint32_t WebHost::tickCount() {
  ++ticksRead_;
  // Milliseconds since the page began, wrapping at 2^32 as the desktop's count does.
  return static_cast<uint32_t>(static_cast<uint64_t>(web_now()));
}

void WebHost::takePageEvents() {
  double v[4];
  char key[32], code[32];
  while (web_take_event(v, key, code, sizeof key)) {
    ScriptEvent e;
    e.frame = frame_;
    e.type = static_cast<ScriptEvent::Type>(static_cast<int>(v[0]));
    e.button = static_cast<int>(v[1]);
    e.x = static_cast<float>(v[2]);
    e.y = static_cast<float>(v[3]);
    if (e.type == ScriptEvent::Type::kKey) {
      const std::optional<Key> k = gameKey(key, code);
      if (!k) continue;
      e.key = *k;
    }
    pending_.push_back(e);
  }
}

void WebHost::deliverEvents() {
  if (ticksRead_ >= 2) {
    const double now = web_now();
    busy_ += now - busySince_;
    busySince_ = now;
    ++frame_;
    const bool hashed = record_ && picture_;
    web_frame(frame_, hashed ? pictureHash(*picture_) : 0, busy_, hashed);
    busy_ = 0;
    busySince_ = web_now();  // the hash is the page's test aid, not the game's time
    for (; scriptNext_ < script_.size() && script_[scriptNext_].frame <= frame_; ++scriptNext_) {
      pending_.push_back(script_[scriptNext_]);
      pending_.back().frame = frame_;
    }
  }
  ticksRead_ = 0;
  takePageEvents();
  while (!pending_.empty()) {
    const ScriptEvent e = pending_.front();
    pending_.pop_front();
    if (!events_) continue;
    if (record_) web_log(formatEvent(e).c_str());
    deliverEvent(*events_, e);  // may end the process
  }
  present();
}

void WebHost::waitForEvents(uint32_t ms) {
  busy_ += web_now() - busySince_;
  web_wait(ms);
  busySince_ = web_now();
}

void WebHost::present() {
  if (!picture_) return;
  const size_t n = static_cast<size_t>(picture_->width()) * picture_->height();
  // Only a changed picture goes to the page; an idle title would be drawn twenty times a
  // second otherwise.
  if (shown_.size() == n * 3 && std::memcmp(shown_.data(), picture_->data(), n * 3) == 0) return;
  shown_.assign(picture_->data(), picture_->data() + n * 3);
  // The canvas takes RGBA; a word a pixel, in the machine's little-endian order.
  rgba_.resize(n);
  const uint8_t* s = picture_->data();
  for (size_t i = 0; i < n; ++i, s += 3)
    rgba_[i] = 0xff000000u | uint32_t{s[2]} << 16 | uint32_t{s[1]} << 8 | s[0];
  web_present(rgba_.data(), picture_->width(), picture_->height());
}

Font& WebHost::font() {
  if (!font_) {
    const std::string path = folder_ + "/texts.msk";
    try {
      font_ = std::make_unique<BakedFont>(decodeMaskFile(common::readWholeFile(path)));
    } catch (const common::FileError& e) {
      runtimeError(e.file(), e.cause());
    } catch (const std::exception& e) {
      runtimeError(path, e.what());
    }
  }
  return *font_;
}

void WebHost::fileWritten(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(kSaveFolder, ec);
  std::filesystem::copy_file(
      path, std::filesystem::path(kSaveFolder) / std::filesystem::path(path).filename(),
      std::filesystem::copy_options::overwrite_existing, ec);
  if (ec || !web_store_saves())
    std::printf("%s could not be kept in the browser's storage\n", path.c_str());
}

void WebHost::reportError(const std::string& file, const std::string& cause) {
  const std::string line = file + ": " + cause;
  std::fprintf(stderr, "%s: run-time error: %s\n", caption_.c_str(), line.c_str());
  const std::string name = std::filesystem::path(file).filename().string();
  web_report((caption_ + ": " + (name.empty() ? file : name)).c_str(), line.c_str());
}

}  // namespace platform
