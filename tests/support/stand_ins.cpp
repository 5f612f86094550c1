// The block font and the flat JPEG reader.
#include "tests/support/stand_ins.h"

#include "common/file_error.h"
#include "platform/picture_file.h"

namespace testing_support {

namespace {

constexpr int kAdvance = 9, kGlyphWidth = 7, kGlyphHeight = 13, kTop = 3, kLineHeight = 19;

}  // namespace

platform::TextMask BlockFont::render(const std::string& text) {
  platform::TextMask mask;
  mask.width = kAdvance * static_cast<int>(text.size());
  mask.height = kLineHeight;
  for (int j = 0; j < kGlyphHeight; ++j) {
    for (size_t k = 0; k < text.size(); ++k) {
      const auto c = static_cast<unsigned char>(text[k]);
      if (c == ' ') continue;
      const int left = kAdvance * static_cast<int>(k) + 1;
      for (int i = 0; i < kGlyphWidth; ++i) {
        const bool border = i == 0 || j == 0 || i == kGlyphWidth - 1 || j == kGlyphHeight - 1;
        if (!border && !((c >> ((i + j) % 7)) & 1)) continue;
        // Runs along the row: extend the last span when it ends here.
        if (!mask.spans.empty() && mask.spans.back().y == kTop + j &&
            mask.spans.back().x + mask.spans.back().n == left + i)
          ++mask.spans.back().n;
        else
          mask.spans.push_back({kTop + j, left + i, 1});
      }
    }
  }
  return mask;
}

platform::Surface FlatJpegReader::readPicture(const std::string& path) {
  const std::string bytes = platform::readPictureFile(path);
  const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  if (bytes.size() < 4 || at(0) != 0xFF || at(1) != 0xD8)
    throw common::FileError(path, "not a JPEG picture");
  platform::checkJpegShape(path, bytes);
  // The segments up to the first frame header, which holds the height and the width.
  for (size_t i = 2; i + 9 < bytes.size() && at(i) == 0xFF;) {
    const uint8_t marker = at(i + 1);
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      const int h = at(i + 5) << 8 | at(i + 6), w = at(i + 7) << 8 | at(i + 8);
      uint32_t hash = 2166136261u;
      for (char b : bytes) hash = (hash ^ static_cast<uint8_t>(b)) * 16777619u;
      return platform::Surface(
          w, h,
          {static_cast<uint8_t>(40 + (hash & 127)), static_cast<uint8_t>(40 + (hash >> 8 & 127)),
           static_cast<uint8_t>(40 + (hash >> 16 & 127))});
    }
    i += 2 + (at(i + 2) << 8 | at(i + 3));
  }
  throw common::FileError(path, "cannot decode the picture: no frame header");
}

}  // namespace testing_support
