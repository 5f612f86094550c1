// The music command texts, read into a verb, an alias and (for "open") a file path.
#include "platform/media_command.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace platform {
namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string trimBlanks(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> words(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// `rest` is everything after "open". The path may hold blanks and is not quoted, so the
// alias is the word after the last " alias ".
std::optional<MediaCommand> parseOpen(const std::string& rest) {
  const auto at = lower(rest).rfind(" alias ");
  if (at == std::string::npos) return std::nullopt;
  std::string path = trimBlanks(rest.substr(0, at));
  const std::vector<std::string> alias = words(rest.substr(at + 7));
  if (path.empty() || alias.size() != 1) return std::nullopt;
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
    path = path.substr(1, path.size() - 2);
  return MediaCommand{MediaVerb::kOpen, lower(alias[0]), path};
}

}  // namespace

std::optional<MediaCommand> parseMediaCommand(const std::string& command) {
  const std::string text = trimBlanks(command);
  const auto blank = text.find(' ');
  if (blank == std::string::npos) return std::nullopt;
  const std::string verb = lower(text.substr(0, blank));
  if (verb == "open") return parseOpen(text.substr(blank));

  const std::vector<std::string> w = words(lower(text));
  // A verb followed by nothing but tabs or line breaks names no alias.
  if (w.size() < 2) return std::nullopt;
  const size_t n = w.size();
  MediaCommand c;
  c.alias = w[1];
  if (verb == "play" && (n == 2 || (n == 3 && w[2] == "notify"))) {
    c.verb = MediaVerb::kPlay;
  } else if (verb == "status" && n == 3 && w[2] == "mode") {
    c.verb = MediaVerb::kStatus;
  } else if (verb == "seek" && n == 4 && w[2] == "to" && w[3] == "start") {
    c.verb = MediaVerb::kSeek;
  } else if (verb == "stop" && n == 2) {
    c.verb = MediaVerb::kStop;
  } else if (verb == "close" && n == 2) {
    c.verb = MediaVerb::kClose;
  } else {
    return std::nullopt;
  }
  return c;
}

}  // namespace platform
