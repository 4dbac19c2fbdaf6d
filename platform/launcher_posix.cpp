// Starting programs on Linux: fork and exec, with the error output kept.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/child_process.hpp"

namespace pliego {

namespace {

// In the started process: own session, given folder, no terminal input or
// output; its error output goes to `errorOutput`.
[[noreturn]] void becomeCommand(const Command& command, char* const* argv, int errorOutput, int execReport) {
  setsid();
  if (command.inheritedHandle >= 0) fcntl(static_cast<int>(command.inheritedHandle), F_SETFD, 0);
  // An editor that outlives the program may still write to its error output.
  if (command.style != WindowStyle::Hidden) signal(SIGPIPE, SIG_IGN);
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0);
    dup2(null, 1);
  }
  dup2(errorOutput, 2);
  if (!command.workingFolder.empty() && chdir(command.workingFolder.c_str()) != 0) {
    const int error = errno;
    (void)!write(execReport, &error, sizeof error);
    _exit(127);
  }
  execvp(argv[0], argv);
  const int error = errno;
  (void)!write(execReport, &error, sizeof error);
  _exit(127);
}

void closeBoth(int ends[2]) {
  close(ends[0]);
  close(ends[1]);
}

// How much of a program's error output is kept; the rest is read and dropped.
constexpr std::size_t kErrorOutputKept = 4096;

// Reads what the program wrote so far, so that it never waits on a full pipe.
void drain(Child& child) {
  char block[1024];
  for (;;) {
    const ssize_t got = read(child.errorOutput, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    const std::size_t room = kErrorOutputKept - std::min(kErrorOutputKept, child.ending.errorOutput.size());
    child.ending.errorOutput.append(block, std::min(room, static_cast<std::size_t>(got)));
  }
}

}  // namespace

// Forks the command and reports whether its exec succeeded.
std::error_code launch(const Command& command, Child& child) {
  std::vector<std::string> words{command.program};
  words.insert(words.end(), command.arguments.begin(), command.arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int errorOutput[2];
  if (pipe2(errorOutput, O_CLOEXEC) != 0) return {errno, std::generic_category()};
  int execReport[2];
  if (pipe2(execReport, O_CLOEXEC) != 0) {
    const int error = errno;
    closeBoth(errorOutput);
    return {error, std::generic_category()};
  }
  const pid_t pid = fork();
  if (pid < 0) {
    const int error = errno;
    closeBoth(errorOutput);
    closeBoth(execReport);
    return {error, std::generic_category()};
  }
  if (pid == 0) becomeCommand(command, argv.data(), errorOutput[1], execReport[1]);
  close(errorOutput[1]);
  close(execReport[1]);
  int execError = 0;
  ssize_t got;
  do got = read(execReport[0], &execError, sizeof execError);
  while (got < 0 && errno == EINTR);
  close(execReport[0]);
  if (got == sizeof execError) {
    waitpid(pid, nullptr, 0);
    close(errorOutput[0]);
    return {execError, std::generic_category()};
  }
  fcntl(errorOutput[0], F_SETFL, O_NONBLOCK);
  child.process = pid;
  child.errorOutput = errorOutput[0];
  return {};
}

void release(Child& child) {
  if (child.errorOutput >= 0) close(child.errorOutput);
  child.errorOutput = -1;
}

void poll(Child& child) {
  if (child.ended) return;
  drain(child);
  int status = 0;
  const pid_t done = waitpid(static_cast<pid_t>(child.process), &status, WNOHANG);
  if (done == 0 || (done < 0 && errno == EINTR)) return;
  if (done == static_cast<pid_t>(child.process))
    child.ending.status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  drain(child);  // what it wrote before it ended is in the pipe now
  release(child);
  child.ended = true;
}

}  // namespace pliego
