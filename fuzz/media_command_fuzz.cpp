// Fuzz target: any text either reads as a music command or is refused; what reads has a
// one-word lower-case alias, reads back the same from its plain form, and ignores case.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/media_command.h"

using platform::MediaCommand;
using platform::MediaVerb;

namespace {

// The command as the game would write it; the path is quoted so its own blanks survive.
std::string plainText(const MediaCommand& c) {
  switch (c.verb) {
    case MediaVerb::kOpen:
      return "open \"" + c.path + "\" alias " + c.alias;
    case MediaVerb::kPlay:
      return "play " + c.alias + " notify";
    case MediaVerb::kStatus:
      return "status " + c.alias + " mode";
    case MediaVerb::kSeek:
      return "seek " + c.alias + " to start";
    case MediaVerb::kStop:
      return "stop " + c.alias;
    case MediaVerb::kClose:
      return "close " + c.alias;
  }
  std::abort();
}

std::string upper(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto parsed = platform::parseMediaCommand(text);

  // Letter case never changes what is understood; only the path keeps the case it has.
  const auto shouted = platform::parseMediaCommand(upper(text));
  if (parsed.has_value() != shouted.has_value()) std::abort();
  if (!parsed) return 0;
  MediaCommand expected = *parsed;
  if (expected.verb == MediaVerb::kOpen) expected.path = upper(expected.path);
  if (!(*shouted == expected)) std::abort();

  const std::string& alias = parsed->alias;
  if (alias.empty()) std::abort();
  for (char ch : alias) {
    const auto u = static_cast<unsigned char>(ch);
    if (std::isspace(u) || std::tolower(u) != u) std::abort();
  }
  if (parsed->verb != MediaVerb::kOpen && !parsed->path.empty()) std::abort();

  const auto again = platform::parseMediaCommand(plainText(*parsed));
  if (!again || !(*again == *parsed)) std::abort();
  return 0;
}
