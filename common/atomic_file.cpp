// Whole-file reads and atomic whole-file replacement.
#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/file_error.h"

namespace common {

namespace {

// Why a file that is not a plain file cannot be read or saved.
std::string notPlainFile(mode_t mode) {
  if (S_ISDIR(mode)) return "is a folder";
  if (S_ISFIFO(mode)) return "is a pipe, not a plain file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a plain file";
  if (S_ISSOCK(mode)) return "is a socket, not a plain file";
  return "is not a plain file";
}

[[noreturn]] void failRead(const std::string& path, int fd, const std::string& cause) {
  ::close(fd);
  throw FileError(path, cause);
}

}  // namespace

std::string readWholeFile(const std::string& path, size_t limit) {
  // Looked at before it is opened: opening a pipe waits for a writer, and opening a device
  // can act on it (a tape rewinds, a watchdog arms).
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) throw FileError(path, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) throw FileError(path, notPlainFile(st.st_mode));
  // Should the name be swapped for a pipe after that look, O_NONBLOCK still returns at once
  // and the second look refuses it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw FileError(path, std::strerror(errno));
  if (::fstat(fd, &st) != 0) failRead(path, fd, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) failRead(path, fd, notPlainFile(st.st_mode));
  const std::string tooLarge = "is larger than " + std::to_string(limit) + " bytes";
  if (static_cast<unsigned long long>(st.st_size) > limit) failRead(path, fd, tooLarge);
  // The size can change while the file is read, or be reported as 0 (/proc): the read
  // itself stops one byte past the limit.
  std::string text;
  char buf[65536];
  while (text.size() <= limit) {
    const size_t want = std::min(sizeof buf, limit + 1 - text.size());
    const ssize_t n = ::read(fd, buf, want);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      failRead(path, fd, std::strerror(errno));
    }
    text.append(buf, static_cast<size_t>(n));
  }
  if (text.size() > limit) failRead(path, fd, tooLarge);
  ::close(fd);
  return text;
}

namespace {

std::string folderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save must replace: the end of the chain when `path` is a symbolic link, so
// the link stays and its target gets the new content. The target need not exist yet.
std::string fileBehindLinks(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(at.c_str(), buf, sizeof buf);
    if (n < 0) throw FileError(path, std::strerror(errno));
    if (n == static_cast<ssize_t>(sizeof buf)) throw FileError(path, std::strerror(ENAMETOOLONG));
    std::string target(buf, static_cast<size_t>(n));
    // A relative target counts from the folder that holds the link.
    if (target.empty() || target[0] != '/') {
      const auto slash = at.rfind('/');
      if (slash != std::string::npos) target = at.substr(0, slash + 1) + target;
    }
    at = target;
  }
  throw FileError(path, std::strerror(ELOOP));
}

// Six letters or digits for a temporary's name, so that no save meets a name an earlier
// one left behind, or another save's.
std::string randomTag() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static std::atomic<uint64_t> calls{0};
  uint64_t bits = 0;
  if (::getentropy(&bits, sizeof bits) != 0) {
    // No randomness yet (early in a boot): the clock and a count differ from try to try, and
    // O_EXCL refuses a name that is taken anyway.
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    bits = static_cast<uint64_t>(ticks) * 0x9E3779B97F4A7C15u + calls++;
  }
  std::string tag;
  for (int i = 0; i < 6; ++i, bits /= sizeof kChars - 1) tag += kChars[bits % (sizeof kChars - 1)];
  return tag;
}

[[noreturn]] void fail(const std::string& path, const std::string& tmp, int fd, int err) {
  if (fd >= 0) ::close(fd);
  ::unlink(tmp.c_str());
  throw FileError(path, std::strerror(err));
}

}  // namespace

void replaceFileAtomically(const std::string& path, const std::string& content) {
  const std::string target = fileBehindLinks(path);
  // Only a plain file is replaced: the rename would put a plain file in the place of a
  // device, a pipe or a folder. The rename would also replace a file the user may not
  // write, as long as the folder is writable: refuse what a plain open for writing
  // refuses, and keep the file's mode.
  struct stat old;
  bool replacing = true;
  if (::lstat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) throw FileError(path, std::strerror(errno));
    replacing = false;
  } else if (!S_ISREG(old.st_mode)) {
    throw FileError(path, notPlainFile(old.st_mode));
  }
  if (replacing) {
    const int probe =
        ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (probe < 0) throw FileError(path, std::strerror(errno));
    // The name may have been given to something else since the first look.
    struct stat now;
    const int looked = ::fstat(probe, &now) == 0 ? 0 : errno;
    ::close(probe);
    if (looked != 0) throw FileError(path, std::strerror(looked));
    if (!S_ISREG(now.st_mode)) throw FileError(path, notPlainFile(now.st_mode));
  }
  // A new file under a name no one else uses: O_EXCL and O_NOFOLLOW refuse whatever
  // stands there, a link or a pipe left under that name included, and it is left alone.
  const std::string folder = folderOf(target);
  std::string tmp;
  int fd = -1, err = EEXIST;
  for (int tries = 0; tries < 100 && fd < 0 && err == EEXIST; ++tries) {
    tmp = target + "." + randomTag() + ".tmp";
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    err = errno;
  }
  if (fd < 0)
    throw FileError(path, "the folder " + folder + " cannot be written: " + std::strerror(err));
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(path, tmp, fd, errno);
    }
    done += static_cast<size_t>(n);
  }
  if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) fail(path, tmp, fd, errno);
  if (::fsync(fd) != 0) fail(path, tmp, fd, errno);
  if (::close(fd) != 0) fail(path, tmp, -1, errno);
  if (::rename(tmp.c_str(), target.c_str()) != 0) fail(path, tmp, -1, errno);
  // Make the rename itself durable.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

std::string inFolder(const std::string& folder, const std::string& backslashName) {
  std::string name = backslashName;
  if (!name.empty() && name[0] == '\\') name.erase(0, 1);
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace common
