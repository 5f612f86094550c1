// Whole-file reads and atomic whole-file replacement.
#pragma once

#include <string>

namespace common {

// Throws FileError when the file cannot be opened or read, or is a folder.
std::string readWholeFile(const std::string& path);

// Writes `content` to a temporary file in the same folder, flushes it to disk and
// renames it over `path`, so readers see the old file or the new one, never a part.
// A symbolic link stays: the file at the end of its chain is replaced. The file keeps
// its mode. Throws FileError (and removes the temporary file) when any step fails, and
// before any step when the file could not be opened for writing.
void replaceFileAtomically(const std::string& path, const std::string& content);

// Program folder joined with a name written with a leading backslash
// ("\stage.stg"); the backslash becomes the path separator.
std::string inFolder(const std::string& folder, const std::string& backslashName);

}  // namespace common
