// What every picture reader checks of a JPEG file before it decodes it.
#include "platform/picture_file.h"

#include <cstdint>

#include "common/atomic_file.h"
#include "common/file_error.h"

namespace platform {

namespace {

// The decoder pads a cut-off picture with grey and calls it a success; a whole JPEG
// has its end marker after the start of its last scan.
bool endsWhole(const std::string& bytes) {
  size_t scan = std::string::npos;
  for (size_t i = bytes.size(); i-- > 1;) {
    if (static_cast<uint8_t>(bytes[i - 1]) == 0xFF && static_cast<uint8_t>(bytes[i]) == 0xDA) {
      scan = i;
      break;
    }
  }
  if (scan == std::string::npos) return false;
  for (size_t i = scan + 1; i + 1 < bytes.size(); ++i)
    if (static_cast<uint8_t>(bytes[i]) == 0xFF && static_cast<uint8_t>(bytes[i + 1]) == 0xD9)
      return true;
  return false;
}

// The decoder makes room for every pixel the frame header declares, so a file of a few KB
// could claim gigabytes. The game shows 500 x 350 of a picture.
constexpr int kMaxPictureSide = 4096;

// The width and height the frame header declares, found by walking the markers as the
// decoder does (it passes over stray bytes between them); false when no frame header comes
// before the first scan or the end, which the decoder refuses itself.
bool declaredSize(const std::string& bytes, int& width, int& height) {
  auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  size_t i = 2;  // after the start-of-image marker
  while (i + 4 <= bytes.size()) {
    const uint8_t marker = at(i + 1);
    if (at(i) != 0xFF || marker == 0xFF || marker == 0x00) {  // stray bytes, or fill
      ++i;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
      i += 2;
      continue;
    }
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (i + 9 > bytes.size()) return false;
      height = at(i + 5) << 8 | at(i + 6);
      width = at(i + 7) << 8 | at(i + 8);
      return true;
    }
    if (marker == 0xDA || marker == 0xD9) return false;
    i += 2 + static_cast<size_t>(at(i + 2) << 8 | at(i + 3));
  }
  return false;
}

}  // namespace

std::string readPictureFile(const std::string& path) {
  const std::string bytes = common::readWholeFile(path, common::kPictureFileLimit);
  // A decoder would only say that a size of 0 is not valid.
  if (bytes.empty()) throw common::FileError(path, "is empty");
  return bytes;
}

void checkJpegShape(const std::string& path, const std::string& bytes) {
  if (!endsWhole(bytes)) throw common::FileError(path, "the JPEG picture is cut short");
  int width = 0, height = 0;
  if (declaredSize(bytes, width, height) && (width > kMaxPictureSide || height > kMaxPictureSide))
    throw common::FileError(path, "is " + std::to_string(width) + " x " + std::to_string(height) +
                                      " pixels, more than " + std::to_string(kMaxPictureSide) +
                                      " on a side");
}

}  // namespace platform
