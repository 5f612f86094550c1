// JPEG files decoded into Surfaces.
#include "platform/sdl/jpeg.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/file_error.h"
#include "platform/picture_file.h"

namespace platform {

Surface decodeJpegFile(const std::string& path) {
  const std::string bytes = readPictureFile(path);
  const std::unique_ptr<SDL_RWops, int (*)(SDL_RWops*)> rw(
      SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), SDL_RWclose);
  if (!rw) throw common::FileError(path, SDL_GetError());
  if (!IMG_isJPG(rw.get())) throw common::FileError(path, "not a JPEG picture");
  checkJpegShape(path, bytes);
  SDL_Surface* raw = IMG_LoadJPG_RW(rw.get());
  if (!raw)
    throw common::FileError(path, std::string("cannot decode the picture: ") + IMG_GetError());
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
