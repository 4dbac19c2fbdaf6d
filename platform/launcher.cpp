#include "platform/launcher.hpp"

#include <thread>

#include "platform/files.hpp"

#ifdef _WIN32
#include <string.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
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

// "C:\..." or "\\server\...": a path that no search completes.
bool isFullPath(const std::string& path) {
  return (path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) || path.rfind("\\\\", 0) == 0;
}

std::string systemFolderFile(UINT (*folderOf)(LPSTR, UINT), const char* name) {
  char buffer[MAX_PATH];
  const UINT count = folderOf(buffer, MAX_PATH);
  if (count == 0 || count >= MAX_PATH) return name;
  return joinPath(std::string(buffer, count), name);
}

UINT windowsFolder(LPSTR buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); }
UINT systemFolder(LPSTR buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }

// Paths are quoted; batch files run through the command interpreter, without
// its AutoRun commands, which strips the outer pair of quotes (/s).
std::string commandLine(const Command& command, const std::string& interpreter) {
  std::string line = quoted(command.program);
  for (const auto& argument : command.arguments)
    line += " " + (argument.find(' ') == std::string::npos ? argument : quoted(argument));
  if (isBatchFile(command.program)) line = quoted(interpreter) + " /d /s /c \"" + line + "\"";
  return line;
}

// Only `handle` is inherited, and only by this one program.
class InheritOnly {
 public:
  explicit InheritOnly(HANDLE handle) : handle_(handle) {
    if (!handle_) return;
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    buffer_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
    ready_ = InitializeProcThreadAttributeList(list_, 1, 0, &size) &&
             UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_, sizeof handle_,
                                       nullptr, nullptr) &&
             SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  ~InheritOnly() {
    if (!handle_) return;
    SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, 0);
    if (list_) DeleteProcThreadAttributeList(list_);
  }
  InheritOnly(const InheritOnly&) = delete;
  InheritOnly& operator=(const InheritOnly&) = delete;

  bool failed() const { return handle_ && !ready_; }
  BOOL inherits() const { return handle_ ? TRUE : FALSE; }
  DWORD flags() const { return handle_ ? EXTENDED_STARTUPINFO_PRESENT : 0; }
  LPPROC_THREAD_ATTRIBUTE_LIST list() const { return handle_ ? list_ : nullptr; }

 private:
  HANDLE handle_;
  std::vector<char> buffer_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
  bool ready_ = false;
};

std::string failure(DWORD error) { return "codigo de error de Windows " + std::to_string(error); }

std::string launch(const Command& command, HANDLE* process) {
  const bool batch = isBatchFile(command.program);
  const std::string interpreter = batch ? commandInterpreterPath() : "";
  const std::string program = batch ? interpreter : command.program;
  std::string line = commandLine(command, interpreter);
  InheritOnly inherit(command.inheritedHandle == kNoHandle ? nullptr : reinterpret_cast<HANDLE>(command.inheritedHandle));
  if (inherit.failed()) return failure(GetLastError());

  STARTUPINFOEXA startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = command.style == WindowStyle::Hidden ? SW_HIDE : SW_SHOWMAXIMIZED;
  startup.lpAttributeList = inherit.list();
  PROCESS_INFORMATION info{};
  const char* application = isFullPath(program) ? program.c_str() : nullptr;
  const char* folder = command.workingFolder.empty() ? nullptr : command.workingFolder.c_str();
  if (!CreateProcessA(application, line.data(), nullptr, nullptr, inherit.inherits(), inherit.flags(), nullptr,
                      folder, &startup.StartupInfo, &info))
    return failure(GetLastError());
  CloseHandle(info.hThread);
  if (process) *process = info.hProcess;
  else CloseHandle(info.hProcess);
  return "";
}

}  // namespace

std::string commandInterpreterPath() {
  char buffer[MAX_PATH];
  const DWORD count = GetEnvironmentVariableA("ComSpec", buffer, MAX_PATH);
  if (count > 0 && count < MAX_PATH && isFullPath(std::string(buffer, count))) return std::string(buffer, count);
  return systemFolderFile(systemFolder, "cmd.exe");
}

std::string textEditorPath() { return systemFolderFile(windowsFolder, "notepad.exe"); }

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
  if (command.inheritedHandle >= 0) fcntl(static_cast<int>(command.inheritedHandle), F_SETFD, 0);
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
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return std::strerror(errno);
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return std::strerror(error);
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
    return std::strerror(execError);
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
