// Pictures read from the bitmaps the build decoded them into.
#include "platform/baked/baked_pictures.h"

#include <stdexcept>

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "platform/bmp.h"

namespace platform {

std::string BakedPictures::bakedPath(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + ".bmp";
}

Surface BakedPictures::readPicture(const std::string& path) {
  std::string bytes;
  try {
    bytes = common::readWholeFile(bakedPath(path));
  } catch (const common::FileError& e) {
    throw common::FileError(path, e.cause());
  }
  try {
    return decodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  } catch (const std::runtime_error& e) {
    throw common::FileError(path, e.what());
  }
}

}  // namespace platform
