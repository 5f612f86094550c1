// JPEG files decoded into Surfaces.
#pragma once

#include <string>

#include "platform/raster.h"

namespace platform {

// Decodes a JPEG file. Throws common::FileError naming the cause when the file is
// missing, is no plain file, is empty or too large, is not a JPEG or cannot be decoded.
Surface decodeJpegFile(const std::string& path);

}  // namespace platform
