// The game window on SDL2: ticks, mouse, close, presenting the play surface, sound.
#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "common/program_folder.h"
#include "platform/sdl/plain_message.h"
#include "platform/viewport.h"

namespace platform {

namespace {

// The game's number for an SDL button: 1 left, 2 right, 4 middle; 0 for the side buttons
// and any other, which the game never sees.
int pointerButton(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 4;
    default:
      return 0;
  }
}

// The game's keys: the keypad by position, so its digits count whether Num Lock is on or
// not; the others by what they print, so letters follow the keyboard's layout.
constexpr std::pair<SDL_Scancode, Key> kPadKeys[] = {{SDL_SCANCODE_KP_1, Key::kPad1},
                                                     {SDL_SCANCODE_KP_3, Key::kPad3},
                                                     {SDL_SCANCODE_KP_7, Key::kPad7},
                                                     {SDL_SCANCODE_KP_9, Key::kPad9}};
constexpr std::pair<SDL_Keycode, Key> kKeys[] = {{SDLK_BACKSPACE, Key::kBackspace},
                                                 {SDLK_z, Key::kZ},
                                                 {SDLK_u, Key::kU},
                                                 {SDLK_r, Key::kR},
                                                 {SDLK_m, Key::kM},
                                                 {SDLK_ESCAPE, Key::kEscape},
                                                 {SDLK_LEFT, Key::kLeft},
                                                 {SDLK_RIGHT, Key::kRight},
                                                 {SDLK_UP, Key::kUp},
                                                 {SDLK_DOWN, Key::kDown},
                                                 {SDLK_F1, Key::kF1},
                                                 {SDLK_QUESTION, Key::kQuestion},
                                                 {SDLK_h, Key::kH},
                                                 {SDLK_a, Key::kA},
                                                 {SDLK_y, Key::kY},
                                                 {SDLK_RETURN, Key::kEnter},
                                                 {SDLK_KP_ENTER, Key::kEnter},
                                                 {SDLK_SPACE, Key::kSpace}};

std::optional<Key> gameKey(const SDL_Keysym& k) {
  for (const auto& [code, key] : kPadKeys)
    if (k.scancode == code) return key;
  const bool shift = (k.mod & KMOD_SHIFT) != 0, ctrl = (k.mod & KMOD_CTRL) != 0;
  // Keyboards type "?" with Shift on another key; it comes as that key.
  if (k.sym == SDLK_SLASH && shift) return Key::kQuestion;
  if (k.sym == SDLK_z && shift && ctrl) return Key::kShiftCtrlZ;
  for (const auto& [sym, key] : kKeys)
    if (k.sym == sym) return key;
  switch (k.sym) {  // a modifier pressed alone is no key of its own
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
    case SDLK_LCTRL:
    case SDLK_RCTRL:
    case SDLK_LALT:
    case SDLK_RALT:
    case SDLK_LGUI:
    case SDLK_RGUI:
    case SDLK_MODE:
    case SDLK_CAPSLOCK:
    case SDLK_NUMLOCKCLEAR:
      return std::nullopt;
    default:
      return Key::kOther;
  }
}

}  // namespace

SdlHost::SdlHost(std::string caption, int width, int height)
    : caption_(std::move(caption)), width_(width), height_(height) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) runtimeError("window", SDL_GetError());
  media_ = std::make_unique<Media>();
}

SdlHost::~SdlHost() {
  font_.reset();
  media_.reset();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

void SdlHost::showWindow(const Surface& picture, WindowEvents& events) {
  picture_ = &picture;
  events_ = &events;
  window_ = SDL_CreateWindow(caption_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             width_, height_, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  if (!window_) runtimeError("window", SDL_GetError());
  if (!icon_.rgba.empty()) {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        icon_.rgba.data(), icon_.width, icon_.height, 32, icon_.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon) {
      SDL_SetWindowIcon(window_, icon);
      SDL_FreeSurface(icon);
    }
  }
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) runtimeError("window", SDL_GetError());
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                               picture.width(), picture.height());
  if (!texture_) runtimeError("window", SDL_GetError());
  present();
}

uint32_t SdlHost::tickCount() {
  return SDL_GetTicks();
}

bool SdlHost::toPicture(int wx, int wy, float& x, float& y) const {
  int w = width_, h = height_;
  if (window_) SDL_GetWindowSize(window_, &w, &h);
  const Viewport v =
      picture_ ? fitViewport(w, h, picture_->width(), picture_->height()) : Viewport{};
  x = v.toSurfaceX(wx);
  y = v.toSurfaceY(wy);
  return picture_ && x >= 0 && y >= 0 && x < picture_->width() && y < picture_->height();
}

void SdlHost::deliverEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (!events_) continue;
    float x, y;
    switch (e.type) {
      case SDL_QUIT:
        events_->closeRequested();
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            e.window.event == SDL_WINDOWEVENT_SHOWN || e.window.event == SDL_WINDOWEVENT_RESTORED)
          stale_ = true;
        break;
      case SDL_MOUSEBUTTONDOWN: {
        // Only presses on the play surface count; it then keeps the pointer until release.
        if (!toPicture(e.button.x, e.button.y, x, y) && !captured_) break;
        const int button = pointerButton(e.button.button);
        if (button == 0) break;
        captured_ = true;
        SDL_CaptureMouse(SDL_TRUE);
        events_->picMouseDown(button, x, y);
        break;
      }
      case SDL_MOUSEMOTION: {
        const bool over = toPicture(e.motion.x, e.motion.y, x, y);
        if (!over && !captured_) break;
        int buttons = 0;
        if (e.motion.state & SDL_BUTTON_LMASK) buttons |= 1;
        if (e.motion.state & SDL_BUTTON_RMASK) buttons |= 2;
        if (e.motion.state & SDL_BUTTON_MMASK) buttons |= 4;
        events_->picMouseMove(buttons, x, y);
        break;
      }
      case SDL_KEYDOWN: {
        if (e.key.repeat) break;
        const SDL_Keysym& k = e.key.keysym;
        const bool enter = k.sym == SDLK_RETURN || k.sym == SDLK_KP_ENTER;
        if (k.sym == SDLK_F11 || (enter && (k.mod & KMOD_ALT))) {
          toggleFullScreen();
        } else if (const std::optional<Key> key = gameKey(k)) {
          events_->keyDown(*key);
        }
        break;
      }
      case SDL_MOUSEBUTTONUP: {
        // A side button's release is no more the game's than its press: reported, it would
        // clear a held left press.
        const int button = pointerButton(e.button.button);
        if (button == 0) break;
        const bool over = toPicture(e.button.x, e.button.y, x, y);
        if (!over && !captured_) break;
        if ((SDL_GetMouseState(nullptr, nullptr) &
             (SDL_BUTTON_LMASK | SDL_BUTTON_RMASK | SDL_BUTTON_MMASK)) == 0) {
          captured_ = false;
          SDL_CaptureMouse(SDL_FALSE);
        }
        events_->picMouseUp(button, x, y);
        break;
      }
      default:
        break;
    }
  }
  presentIfChanged();
}

void SdlHost::toggleFullScreen() {
  if (!window_) return;
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  stale_ = true;
}

void SdlHost::presentIfChanged() {
  if (!picture_) return;
  const size_t size = static_cast<size_t>(picture_->width()) * picture_->height() * 3;
  if (!stale_ && shown_.size() == size && std::memcmp(shown_.data(), picture_->data(), size) == 0)
    return;
  present();
  shown_.assign(picture_->data(), picture_->data() + size);
  stale_ = false;
}

void SdlHost::present() {
  if (!renderer_ || !picture_) return;
  SDL_UpdateTexture(texture_, nullptr, picture_->data(), picture_->width() * 3);
  // Whole-number scaling only, so pixels stay crisp; black around the surface.
  int w = width_, h = height_;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  const Viewport v = fitViewport(w, h, picture_->width(), picture_->height());
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const SDL_Rect dst{v.left, v.top, picture_->width() * v.scale, picture_->height() * v.scale};
  SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
  SDL_RenderPresent(renderer_);
}

void SdlHost::waitForEvents(uint32_t ms) {
  SDL_WaitEventTimeout(nullptr, static_cast<int>(ms > 0x7fffffff ? 0x7fffffff : ms));
}

Font& SdlHost::font() {
  if (!font_) {
    try {
      font_ = TtfFont::openGameFont();
    } catch (const std::exception& e) {
      runtimeError("font", e.what());
    }
  }
  return *font_;
}

std::string SdlHost::programFolder() {
  return common::executableFolder();
}

void SdlHost::reportError(const std::string& file, const std::string& cause) {
  const std::string line = file + ": " + cause;
  std::fprintf(stderr, "%s: run-time error: %s\n", caption_.c_str(), line.c_str());
  // The title names the file too, so the box stands apart from the game window.
  const std::string name = std::filesystem::path(file).filename().string();
  const std::string title = caption_ + ": " + (name.empty() ? file : name);
  const SDL_MessageBoxButtonData ok{
      SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"};
  const SDL_MessageBoxData box{
      SDL_MESSAGEBOX_ERROR, window_, title.c_str(), line.c_str(), 1, &ok, nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) {
    // SDL's box needs the X server's core fonts, which a minimal desktop may lack.
    std::fprintf(stderr, "%s: the message box could not be shown: %s\n", caption_.c_str(),
                 SDL_GetError());
    std::string why;
    if (!showPlainMessage(title, line, why))
      std::fprintf(stderr, "%s: nor could a plain message window: %s\n", caption_.c_str(),
                   why.c_str());
  }
}

}  // namespace platform
