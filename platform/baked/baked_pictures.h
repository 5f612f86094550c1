// Pictures decoded ahead by the desktop's own decoder and kept as 24-bit bitmaps, read where
// that decoder is not at hand: "title.jpg" is read from "title.bmp" beside it.
#pragma once

#include <string>

#include "platform/picture_reader.h"

namespace platform {

class BakedPictures : public PictureReader {
 public:
  // Throws common::FileError naming the asked-for file when its bitmap is missing or bad.
  Surface readPicture(const std::string& path) override;
  // Where the bitmap of a picture file lies.
  static std::string bakedPath(const std::string& path);
};

}  // namespace platform
