// A message window shown by the desktop's xmessage, for when SDL's own box cannot show.
#pragma once

#include <string>

namespace platform {

// Shows `text` in a window titled `title` with one OK button and waits until it is closed.
// False, with the reason in `why`, when no such window could be shown.
bool showPlainMessage(const std::string& title, const std::string& text, std::string& why);

}  // namespace platform
