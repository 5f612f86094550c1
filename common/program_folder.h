// The folder of the running program, where every file the programs use lies.
#pragma once

#include <string>

namespace common {

// The folder of the running executable (from /proc/self/exe), without a trailing
// separator; "." when the system does not say.
std::string executableFolder();

}  // namespace common
