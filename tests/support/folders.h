// Temporary folders, and the files the programs read from their own folder as shipped.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// A temporary folder whose path holds a blank, as a user's may; removed with the object.
class TempDir {
 public:
  explicit TempDir(const std::string& tag = "brackle test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A file of assets/ as shipped, in the source tree.
std::string shippedFile(const std::string& name);
// The names of the files the programs read from their folder (stage.stg, pictures, sounds).
std::vector<std::string> runtimeFiles();
// Copies those files, as shipped, into `folder`.
void copyRuntimeFiles(const std::string& folder);

}  // namespace testing_support
