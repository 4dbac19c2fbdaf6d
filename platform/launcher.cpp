#include "platform/launcher.hpp"

#include <thread>

#include "common/system_error_text.hpp"

#ifdef _WIN32
#include <string.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pliego {

#ifdef _WIN32

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

bool isBatchFile(const std::string& program) {
  return program.size() > 4 && _stricmp(program.c_str() + program.size() - 4, ".bat") == 0;
}

// Batch files run through the command interpreter; paths are quoted.
std::string commandLine(const Command& command) {
  std::string line = quoted(command.program);
  for (const auto& argument : command.arguments)
    line += " " + (argument.find(' ') == std::string::npos ? argument : quoted(argument));
  if (isBatchFile(command.program)) line = "cmd.exe /c \"" + line + "\"";
  return line;
}

std::string launch(const Command& command, HANDLE* process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = command.style == WindowStyle::Hidden ? SW_HIDE : SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION info{};
  std::string line = commandLine(command);
  const char* folder = command.workingFolder.empty() ? nullptr : command.workingFolder.c_str();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info))
    return windowsErrorText(GetLastError());
  CloseHandle(info.hThread);
  if (process) *process = info.hProcess;
  else CloseHandle(info.hProcess);
  return "";
}

}  // namespace

SystemLauncher::~SystemLauncher() {
  if (tracked_) CloseHandle(tracked_);
}

std::string SystemLauncher::start(const Command& command) { return launch(command, nullptr); }

std::string SystemLauncher::startTracked(const Command& command) {
  HANDLE process = nullptr;
  std::string error = launch(command, &process);
  if (error.empty()) {
    if (tracked_) CloseHandle(tracked_);
    tracked_ = process;
  }
  return error;
}

bool SystemLauncher::waitForTracked(std::chrono::milliseconds timeout) {
  if (!tracked_) return true;
  if (WaitForSingleObject(tracked_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
  CloseHandle(tracked_);
  tracked_ = nullptr;
  return true;
}

#else

namespace {

// In the started process: own session, given folder, no terminal I/O.
[[noreturn]] void becomeCommand(const Command& command, char* const* argv, int errorPipe) {
  setsid();
  if (command.inheritedHandle >= 0) fcntl(command.inheritedHandle, F_SETFD, 0);
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
  }
  if (!command.workingFolder.empty() && chdir(command.workingFolder.c_str()) != 0) {
    const int error = errno;
    (void)!write(errorPipe, &error, sizeof error);
    _exit(127);
  }
  execvp(argv[0], argv);
  const int error = errno;
  (void)!write(errorPipe, &error, sizeof error);
  _exit(127);
}

// Forks the command (through an intermediate process when `detach`, so that
// nothing is left to reap) and reports whether its exec succeeded.
std::string launch(const Command& command, bool detach, pid_t* pid) {
  std::vector<std::string> words{command.program};
  words.insert(words.end(), command.arguments.begin(), command.arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return systemErrorText(errno);
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return systemErrorText(error);
  }
  if (child == 0) {
    close(pipeEnds[0]);
    if (detach) {
      const pid_t grandchild = fork();
      if (grandchild < 0) {
        const int error = errno;
        (void)!write(pipeEnds[1], &error, sizeof error);
        _exit(127);
      }
      if (grandchild > 0) _exit(0);
    }
    becomeCommand(command, argv.data(), pipeEnds[1]);
  }
  close(pipeEnds[1]);
  int execError = 0;
  ssize_t got;
  do got = read(pipeEnds[0], &execError, sizeof execError);
  while (got < 0 && errno == EINTR);
  close(pipeEnds[0]);
  if (detach) waitpid(child, nullptr, 0);
  if (got == sizeof execError) {
    if (!detach) waitpid(child, nullptr, 0);
    return systemErrorText(execError);
  }
  if (pid) *pid = child;
  return "";
}

}  // namespace

SystemLauncher::~SystemLauncher() = default;

std::string SystemLauncher::start(const Command& command) { return launch(command, true, nullptr); }

std::string SystemLauncher::startTracked(const Command& command) {
  waitForTracked(std::chrono::milliseconds(0));  // reaps an earlier one that has ended
  pid_t pid = 0;
  std::string error = launch(command, false, &pid);
  if (error.empty()) tracked_ = pid;
  return error;
}

bool SystemLauncher::waitForTracked(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (tracked_ != 0) {
    const pid_t done = waitpid(tracked_, nullptr, WNOHANG);
    if (done == tracked_ || (done < 0 && errno == ECHILD)) {
      tracked_ = 0;
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

#endif

}  // namespace pliego
