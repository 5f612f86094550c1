// Whole-file reads and atomic whole-file replacement.
#include "common/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/file_error.h"

namespace common {

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path, std::strerror(errno ? errno : ENOENT));
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) throw FileError(path, "read error");
  return buf.str();
}

namespace {

std::string folderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void fail(const std::string& path, const std::string& tmp, int fd, int err) {
  if (fd >= 0) ::close(fd);
  ::unlink(tmp.c_str());
  throw FileError(path, std::strerror(err));
}

}  // namespace

void replaceFileAtomically(const std::string& path, const std::string& content) {
  // A fixed name: a temporary left by a crash is simply overwritten by the next save.
  const std::string tmp = path + ".tmp";
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
  if (::fsync(fd) != 0) fail(path, tmp, fd, errno);
  if (::close(fd) != 0) fail(path, tmp, -1, errno);
  if (::rename(tmp.c_str(), path.c_str()) != 0) fail(path, tmp, -1, errno);
  // Make the rename itself durable.
  int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
