// The baked text file: every string's mask, made ahead by the desktop's font, and the font
// that draws from it where no font can be opened.
#pragma once

#include <map>
#include <string>

#include "platform/text_mask.h"

namespace platform {

using MaskSet = std::map<std::string, TextMask>;

// The file's bytes: a magic word, then each string with its size and its spans.
std::string encodeMaskFile(const MaskSet& masks);
// Throws std::runtime_error on bytes that are not a whole mask file.
MaskSet decodeMaskFile(const std::string& bytes);

// Draws only the strings of its set. Any other string is a string the bake missed: it
// draws nothing, is counted, and says so on standard error (the browser's console).
class BakedFont : public MaskFont {
 public:
  explicit BakedFont(MaskSet masks) : masks_(std::move(masks)) {}
  int missing() const { return missing_; }

 protected:
  TextMask render(const std::string& text) override;

 private:
  MaskSet masks_;
  int missing_ = 0;
};

}  // namespace platform
