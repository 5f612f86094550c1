// The game window on SDL2: ticks, mouse, keys, close, presenting the play surface; it hands
// out the sound, the font and the picture reader.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/icon.h"
#include "platform/sdl/jpeg.h"
#include "platform/sdl/media.h"
#include "platform/sdl/ttf_font.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class SdlHost : public Host {
 public:
  // `caption` names the window; its client area is width x height.
  SdlHost(std::string caption, int width, int height);
  ~SdlHost() override;

  // The window's icon; set before showWindow.
  void setIcon(const IconImage& icon) { icon_ = icon; }

  void showWindow(const Surface& picture, WindowEvents& events) override;
  uint32_t tickCount() override;
  void deliverEvents() override;
  void waitForEvents(uint32_t ms) override;
  Sound& sound() override { return *media_; }
  // Opened at the first call; without a usable face, the run-time error report.
  Font& font() override;
  PictureReader& pictures() override { return jpeg_; }
  std::string programFolder() override;

 protected:
  void reportError(const std::string& file, const std::string& cause) override;

 private:
  void present();
  // F11 and Alt+Enter: the whole screen, at the largest whole scale, or the window again.
  void toggleFullScreen();
  // Presents only when the picture differs from the one on screen or the window asked to
  // be redrawn: an idle title would otherwise be drawn twenty times a second.
  void presentIfChanged();
  bool toPicture(int wx, int wy, float& x, float& y) const;

  std::string caption_;
  int width_, height_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  const Surface* picture_ = nullptr;
  WindowEvents* events_ = nullptr;
  bool captured_ = false;       // a button went down on the picture and is still held
  std::vector<uint8_t> shown_;  // the pixels last presented
  bool stale_ = true;           // the window must be redrawn whatever the picture
  std::unique_ptr<Media> media_;
  std::unique_ptr<TtfFont> font_;
  JpegReader jpeg_;
  IconImage icon_;
};

}  // namespace platform
