// A file that cannot be read or written: which file, and why, for the run-time error report.
#pragma once

#include <stdexcept>
#include <string>

namespace common {

class FileError : public std::runtime_error {
 public:
  FileError(std::string file, std::string cause)
      : std::runtime_error(file + ": " + cause), file_(std::move(file)), cause_(std::move(cause)) {}
  const std::string& file() const { return file_; }
  const std::string& cause() const { return cause_; }

 private:
  std::string file_;
  std::string cause_;
};

}  // namespace common
