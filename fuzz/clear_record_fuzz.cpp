// Fuzz target: any bytes read as a cleared record without harm; the flags read
// survive a write and a reread unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/base/clear_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool flags[31] = {};
  const int read = game::parseClearRecord(text, flags);
  if (read < 0 || read > 31) std::abort();
  // Flags after the point where reading stopped stay false.
  for (int i = read; i < 31; ++i)
    if (flags[i]) std::abort();
  const std::string saved = game::formatClearRecord(flags);
  bool again[31] = {};
  if (game::parseClearRecord(saved, again) != 31) std::abort();
  for (int i = 0; i < 31; ++i)
    if (again[i] != flags[i]) std::abort();
  return 0;
}
