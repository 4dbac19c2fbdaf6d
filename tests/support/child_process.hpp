#pragma once
// Runs a piece of a test in a forked process, for what must not touch the
// test process itself: resource limits, signals, another user, a second
// workstation.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace pliego::testing {

struct ChildEnd {
  bool exited = false;  // ended by itself, with `code`
  int code = -1;
  int signal = 0;  // the signal that ended it, when it did not end by itself
};

// Runs `body` in a child process; its return value is the exit code.
inline pid_t startChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

inline ChildEnd waitChild(pid_t pid) {
  int status = 0;
  ChildEnd end;
  if (waitpid(pid, &status, 0) != pid) return end;
  end.exited = WIFEXITED(status);
  if (end.exited) end.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  return end;
}

inline ChildEnd runChild(const std::function<int()>& body) { return waitChild(startChild(body)); }

}  // namespace pliego::testing
