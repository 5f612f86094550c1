// Whole-file reads and atomic whole-file replacement.
#pragma once

#include <cstddef>
#include <string>

namespace common {

// Upper bounds on what a read takes in: the files the programs keep are a few KB (text) or
// a few hundred KB (pictures, sounds), and a file far beyond that is not one of them.
constexpr size_t kTextFileLimit = size_t{1} << 20;
constexpr size_t kPictureFileLimit = size_t{8} << 20;
constexpr size_t kSoundFileLimit = size_t{8} << 20;

// The file's bytes. Throws FileError when the file cannot be opened or read, is not a plain
// file (after links), or holds more than `limit` bytes. A pipe or a device is refused
// without being read, so a read never waits on it and never runs without end.
std::string readWholeFile(const std::string& path, size_t limit = kTextFileLimit);

// Writes `content` to a new temporary file in the same folder, flushes it to disk and
// renames it over `path`, so readers see the old file or the new one, never a part.
// A symbolic link stays: the file at the end of its chain is replaced. The file keeps
// its mode. Only a plain file is replaced, or a new one made. Throws FileError (and
// removes the temporary file) when any step fails, and before any step when the file
// could not be opened for writing or is not a plain file.
void replaceFileAtomically(const std::string& path, const std::string& content);

// Program folder joined with a name written with a leading backslash
// ("\stage.stg"); the backslash becomes the path separator.
std::string inFolder(const std::string& folder, const std::string& backslashName);

}  // namespace common
