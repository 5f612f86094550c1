// Fuzz target: any bytes either load as a stage file or are refused; what loads
// survives a save and a reload unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/stage_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  common::StageSet set;
  int lines = -1;
  const bool loaded = common::parseStageText(set, text, &lines);
  if (lines < 0 || lines > 30 || loaded != (lines == 30)) std::abort();
  // Stage 0 and index 10 are never filled.
  for (int a = 0; a <= 10; ++a)
    for (int b = 0; b <= 10; ++b)
      if (set(a, b, 0) || set(10, a, b + 1 > 30 ? 30 : b + 1) ||
          set(a, 10, b + 1 > 30 ? 30 : b + 1))
        std::abort();
  if (!loaded) return 0;
  const std::string saved = common::formatStageText(set);
  if (saved.size() != 3060) std::abort();
  common::StageSet again;
  if (!common::parseStageText(again, saved) || !(again == set)) std::abort();
  return 0;
}
