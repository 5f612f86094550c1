// Whole-file reads and atomic whole-file replacement.
#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "common/file_error.h"

namespace common {

std::string readWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(path, std::strerror(errno));
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw FileError(path, "is a folder");
  }
  std::string text;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      throw FileError(path, std::strerror(err));
    }
    text.append(buf, static_cast<size_t>(n));
  }
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

[[noreturn]] void fail(const std::string& path, const std::string& tmp, int fd, int err) {
  if (fd >= 0) ::close(fd);
  ::unlink(tmp.c_str());
  throw FileError(path, std::strerror(err));
}

}  // namespace

void replaceFileAtomically(const std::string& path, const std::string& content) {
  const std::string target = fileBehindLinks(path);
  // The rename would replace a file the user may not write, as long as the folder is
  // writable: refuse what a plain open for writing refuses, and keep the file's mode.
  struct stat old;
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing) {
    const int probe = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (probe < 0) throw FileError(path, std::strerror(errno));
    ::close(probe);
  }
  // A fixed name: a temporary left by a crash is simply overwritten by the next save.
  const std::string tmp = target + ".tmp";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError(path, std::strerror(errno));
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
  int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
