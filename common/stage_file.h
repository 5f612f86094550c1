// Reading and writing stage.stg: 30 lines of 100 digits, CR LF line ends.
#pragma once

#include <string>

#include "common/stage_set.h"

namespace common {

// Fills stages 1..30. Throws FileError when the file cannot be read (readWholeFile), is
// empty or ends before its 30th line; stages read before the failure are left in `set`.
void loadStageFile(StageSet& set, const std::string& path);

// Parses file content by the same rules; false (and `lineCount` lines filled) when
// the content holds fewer than 30 lines.
bool parseStageText(StageSet& set, const std::string& text, int* lineCount = nullptr);

// The 3060-byte text that saveStageFile writes.
std::string formatStageText(const StageSet& set);

// Replaces the file atomically; throws FileError and leaves the old file whole on failure.
void saveStageFile(const StageSet& set, const std::string& path);

}  // namespace common
