// JPEG files decoded into Surfaces, through SDL_image.
#pragma once

#include <string>

#include "platform/picture_reader.h"

namespace platform {

// Decodes a JPEG file. Throws common::FileError naming the cause when the file is
// missing, is no plain file, is empty or too large, is not a JPEG or cannot be decoded.
Surface decodeJpegFile(const std::string& path);

class JpegReader : public PictureReader {
 public:
  Surface readPicture(const std::string& path) override { return decodeJpegFile(path); }
};

}  // namespace platform
