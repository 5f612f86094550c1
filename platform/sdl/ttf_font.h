// The play surface's font from the installed faces, through SDL_ttf and fontconfig.
#pragma once

#include <memory>
#include <string>

#include "platform/text_mask.h"

namespace platform {

class TtfFont : public MaskFont {
 public:
  // The named Japanese Gothic face if installed, else a proportional Japanese Gothic,
  // italic, 14.25 pt at 96 dpi (19 px). Throws std::runtime_error when no usable face is
  // found.
  static std::unique_ptr<TtfFont> openGameFont();
  ~TtfFont() override;

 protected:
  TextMask render(const std::string& text) override;

 private:
  explicit TtfFont(void* ttf) : ttf_(ttf) {}
  void* ttf_;
};

// Path of a font file for the family, by fontconfig; empty when nothing matches it.
std::string findFontFile(const std::string& family, bool exactFamily);

}  // namespace platform
