// Picture files read into RGB pixels.
#pragma once

#include <string>

#include "platform/raster.h"

namespace platform {

class PictureReader {
 public:
  virtual ~PictureReader() = default;
  // Reads a JPEG picture file. Throws common::FileError naming the file and the cause when
  // it is missing, is no picture or cannot be decoded whole.
  virtual Surface readPicture(const std::string& path) = 0;
};

}  // namespace platform
