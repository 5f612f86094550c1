// Temporary folders, and the shipped files copied into a program folder.
#include "tests/support/folders.h"

#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir(const std::string& tag) {
  std::string pattern = (fs::temp_directory_path() / (tag + " XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  // A test may have taken the rights away to provoke a failure.
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string shippedFile(const std::string& name) {
  return std::string(BRACKLE_SOURCE_DIR) + "/assets/" + name;
}

std::vector<std::string> runtimeFiles() {
  std::vector<std::string> names;
  std::istringstream list(BRACKLE_RUNTIME_FILES);
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

void copyRuntimeFiles(const std::string& folder) {
  for (const std::string& name : runtimeFiles())
    fs::copy_file(shippedFile(name), fs::path(folder) / name, fs::copy_options::overwrite_existing);
}

}  // namespace testing_support
