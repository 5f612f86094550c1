// The one way a program ends: by unwinding to its `main`.
#pragma once

namespace platform {

// Thrown where the process ends, from whatever loop is running: `main` returns the status
// once the stack has unwound, so the window and the sound device close in order. Tests
// catch it to look at what was left.
struct ProcessEnded {
  int status;
};

}  // namespace platform
