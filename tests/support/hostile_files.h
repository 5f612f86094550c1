// Files that fight back, for tests of the readers and the savers: a full disk, a pipe, a
// device node, and what a save left in a folder.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

// While it lives, every write to a plain file fails as on a full disk (with EFBIG: the
// process may grow no file), for root too.
class FullDisk {
 public:
  FullDisk() {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    signal_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit none = old_;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
  }
  ~FullDisk() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, signal_);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit old_{};
  sighandler_t signal_ = SIG_DFL;
};

// A named pipe at `path`: opening it to read waits for a writer, reading it for ever.
inline void makePipe(const std::string& path) {
  if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make the pipe " + path);
}

// A device that reads as endless zeros, for a link to lead to. As root it is a node of the
// test's own in `folder`, so a save that wrongly replaced it would not hit the system's
// /dev/zero; anyone else gets that one, which they cannot replace. Empty when root may not
// make device nodes here.
inline std::string zeroDevice(const std::string& folder) {
  if (::geteuid() != 0) return "/dev/zero";
  const std::string node = folder + "/zero";
  return ::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) == 0 ? node : std::string();
}

// The names in `folder`, sorted: what a save left there.
inline std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testing_support
