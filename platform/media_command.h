// The music command texts, read into a verb, an alias and (for "open") a file path.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class MediaVerb { kOpen, kPlay, kStatus, kSeek, kStop, kClose };

struct MediaCommand {
  MediaVerb verb = MediaVerb::kOpen;
  std::string alias;  // in lower case, one word
  std::string path;   // "open" only: surrounding blanks and one pair of quotes taken off
  bool operator==(const MediaCommand&) const = default;
};

// Reads exactly the texts the game sends, in any letter case:
//   "open <path> alias <name>"   (the path may hold blanks; it need not be quoted)
//   "play <name> [notify]", "status <name> mode", "seek <name> to start",
//   "stop <name>", "close <name>".
// Anything else is not a command.
std::optional<MediaCommand> parseMediaCommand(const std::string& text);

}  // namespace platform
