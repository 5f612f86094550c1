// Whole files read and written as bytes, for tests that check what a program left on disk.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// The file's bytes; empty when it is missing or unreadable.
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace testing_support
