// A font and a picture reader that need no desktop libraries, for the windowless tests of a
// build without them: text and pictures that are plain but behave as the real ones do.
#pragma once

#include <string>

#include "platform/picture_reader.h"
#include "platform/text_mask.h"

namespace testing_support {

// Every character a box 9 pixels apart, its border and a pattern of its code inside, so
// texts of different characters or lengths differ; a blank draws nothing.
class BlockFont : public platform::MaskFont {
 protected:
  platform::TextMask render(const std::string& text) override;
};

// Reads a JPEG's size from its frame header and gives a picture of that size in one colour
// made from the file's bytes, so two pictures differ. Refuses what the real reader refuses:
// a missing file, one that is not a JPEG, and one cut short.
class FlatJpegReader : public platform::PictureReader {
 public:
  platform::Surface readPicture(const std::string& path) override;
};

}  // namespace testing_support
