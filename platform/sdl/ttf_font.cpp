// The play surface's font from the installed faces, through SDL_ttf and fontconfig.
#include "platform/sdl/ttf_font.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <stdexcept>

namespace platform {

std::string findFontFile(const std::string& family, bool exactFamily) {
  if (!FcInit()) return {};
  FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult res;
  FcPattern* match = FcFontMatch(nullptr, pat, &res);
  std::string path;
  if (match) {
    FcChar8* file = nullptr;
    FcChar8* got = nullptr;
    const bool sameFamily = FcPatternGetString(match, FC_FAMILY, 0, &got) == FcResultMatch &&
                            family == reinterpret_cast<const char*>(got);
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        (!exactFamily || sameFamily))
      path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pat);
  return path;
}

std::unique_ptr<TtfFont> TtfFont::openGameFont() {
  if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error(TTF_GetError());
  std::string path;
  for (const char* family : {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPAexGothic"}) {
    path = findFontFile(family, true);
    if (!path.empty()) break;
  }
  if (path.empty()) path = findFontFile("sans-serif:lang=ja", false);
  if (path.empty()) throw std::runtime_error("no Japanese Gothic font is installed");
  // 14.25 points at 96 dots per inch is 19 pixels.
  TTF_Font* f = TTF_OpenFont(path.c_str(), 19);
  if (!f) throw std::runtime_error(path + ": " + TTF_GetError());
  TTF_SetFontStyle(f, TTF_STYLE_ITALIC);
  TTF_SetFontHinting(f, TTF_HINTING_NORMAL);
  return std::unique_ptr<TtfFont>(new TtfFont(f));
}

TtfFont::~TtfFont() {
  TTF_CloseFont(static_cast<TTF_Font*>(ttf_));
}

TextMask TtfFont::render(const std::string& text) {
  TextMask m;
  if (text.empty()) return m;
  SDL_Surface* s = TTF_RenderUTF8_Solid(static_cast<TTF_Font*>(ttf_), text.c_str(),
                                        SDL_Color{255, 255, 255, 255});
  if (!s) return m;
  // Solid rendering gives an 8-bit surface whose index 0 is the background.
  m.width = s->w;
  m.height = s->h;
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < s->w;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      int end = x;
      while (end < s->w && row[end]) ++end;
      m.spans.push_back({y, x, end - x});
      x = end;
    }
  }
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  return m;
}

}  // namespace platform
