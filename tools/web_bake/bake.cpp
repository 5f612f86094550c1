// Every string the game draws, made into masks by a font.
#include "tools/web_bake/bake.h"

#include "game/render/texts.h"

namespace web_bake {

platform::MaskSet bakeTexts(platform::MaskFont& font) {
  platform::MaskSet masks;
  for (const std::string& text : game::everyDrawnText()) masks[text] = font.maskFor(text);
  return masks;
}

}  // namespace web_bake
