// JPEG files decoded into Surfaces.
#include "platform/jpeg.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstring>

#include "common/file_error.h"

namespace platform {

Surface decodeJpegFile(const std::string& path) {
  SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
  if (!rw) throw common::FileError(path, std::strerror(errno ? errno : ENOENT));
  if (!IMG_isJPG(rw)) {
    SDL_RWclose(rw);
    throw common::FileError(path, "not a JPEG picture");
  }
  SDL_Surface* raw = IMG_LoadJPG_RW(rw);
  SDL_RWclose(rw);
  if (!raw) throw common::FileError(path, std::string("cannot decode the picture: ") + IMG_GetError());
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(raw);
  if (!rgb) throw common::FileError(path, SDL_GetError());
  Surface out(rgb->w, rgb->h);
  SDL_LockSurface(rgb);
  for (int y = 0; y < rgb->h; ++y)
    std::memcpy(out.row(y), static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch,
                static_cast<size_t>(rgb->w) * 3);
  SDL_UnlockSurface(rgb);
  SDL_FreeSurface(rgb);
  return out;
}

}  // namespace platform
