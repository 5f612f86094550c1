// A message window shown by the desktop's xmessage, for when SDL's own box cannot show.
#include "platform/sdl/plain_message.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

extern char** environ;

namespace platform {

bool showPlainMessage(const std::string& title, const std::string& text, std::string& why) {
  // The text goes in on standard input: as an argument, one that starts with "-" would be
  // taken for an option.
  int in[2];
  if (::pipe2(in, O_CLOEXEC) != 0) {
    why = std::string("xmessage: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, in[0], 0);
  // Its complaints about missing font character sets are no use to the player.
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = {"xmessage", "-title",   title, "-center", "-buttons",
                                   "OK:0",     "-default", "OK",  "-file",   "-"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawnp(&pid, "xmessage", &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  ::close(in[0]);
  if (spawned != 0) {
    ::close(in[1]);
    why = std::string("xmessage: ") + std::strerror(spawned);
    return false;
  }
  // A report is a line or two, far less than a pipe holds, so this never waits. If xmessage
  // is already gone the write fails; it must not end the process with SIGPIPE.
  ::signal(SIGPIPE, SIG_IGN);
  const std::string message = text + "\n";
  const ssize_t written = ::write(in[1], message.data(), message.size());
  (void)written;  // the exit status says whether the window showed
  ::close(in[1]);
  int status = 0;
  pid_t ended;
  while ((ended = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
  }
  if (ended < 0) {
    why = std::string("xmessage: ") + std::strerror(errno);
    return false;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  why = WIFEXITED(status) ? "xmessage ended with status " + std::to_string(WEXITSTATUS(status))
                          : "xmessage ended by signal " + std::to_string(WTERMSIG(status));
  return false;
}

}  // namespace platform
