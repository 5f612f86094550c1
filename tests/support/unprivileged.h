// Runs a piece of a test as a user without root's rights over files.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace testing_support {

// Runs `body` in a child process, as "nobody" when the tests run as root (root may write
// any file, so its refusals cannot be seen), and returns what `body` returned, or a line
// starting with "child:" when the child could not run it. Folders the body uses must be
// open to that user.
inline std::string runUnprivileged(const std::function<std::string()>& body) {
  int out[2];
  if (::pipe(out) != 0) return "child: no pipe";
  const pid_t child = ::fork();
  if (child < 0) return "child: no fork";
  if (child == 0) {
    ::close(out[0]);
    std::string answer;
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
          ::setuid(nobody->pw_uid) != 0)
        answer = "child: cannot become nobody";
    }
    if (answer.empty()) answer = body();
    size_t done = 0;
    while (done < answer.size()) {
      const ssize_t n = ::write(out[1], answer.data() + done, answer.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(out[1]);
  std::string answer;
  char buf[256];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) answer.append(buf, n);
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child: ended abnormally";
  return answer;
}

}  // namespace testing_support
