#include "common/Process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace runeplate {

namespace {

// In the child: puts `path` on descriptor `fd`, or ends the child.
void Redirect(const std::string& path, int flags, int fd) {
  if (path.empty()) return;
  const int opened = ::open(path.c_str(), flags, 0644);
  if (opened < 0 || ::dup2(opened, fd) < 0) ::_exit(126);
  ::close(opened);
}

}  // namespace

int RunProgram(const std::vector<std::string>& argv, const TProgramIo& io) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (!io.Dir.empty() && ::chdir(io.Dir.c_str()) != 0) ::_exit(126);
    Redirect(io.InputFrom, O_RDONLY, STDIN_FILENO);
    Redirect(io.OutputTo, O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
    if (!io.ErrorsTo.empty() && io.ErrorsTo == io.OutputTo) {
      if (::dup2(STDOUT_FILENO, STDERR_FILENO) < 0) ::_exit(126);
    } else {
      Redirect(io.ErrorsTo, O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO);
    }
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace runeplate
