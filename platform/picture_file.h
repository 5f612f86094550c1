// What every picture reader checks of a JPEG file before it decodes it, the same on every
// host: that it is a plain, not empty file within the size limit, that it is whole, and that
// its frame header claims no more pixels than a picture of the game can need.
#pragma once

#include <string>

namespace platform {

// The file's bytes. Throws common::FileError naming the cause (not a plain file, larger than
// the picture limit, empty).
std::string readPictureFile(const std::string& path);

// Throws common::FileError when the JPEG in `bytes` is cut short or its frame header claims
// more than 4096 pixels on a side: a decoder makes room for every pixel claimed, so a file of
// a few KB could take gigabytes.
void checkJpegShape(const std::string& path, const std::string& bytes);

}  // namespace platform
