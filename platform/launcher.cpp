#include "platform/launcher.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <thread>

#include "common/system_error_text.hpp"
#include "platform/files.hpp"

#ifdef _WIN32
#include <string.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pliego {

namespace {

// How much of a program's error output is kept; the rest is read and dropped.
constexpr std::size_t kErrorOutputKept = 4096;
constexpr auto kPollPause = std::chrono::milliseconds(20);

// A started program, until its ending has been asked for.
struct Child {
  std::uint64_t id = 0;
  Ending ending;
  bool ended = false;
#ifdef _WIN32
  HANDLE process = nullptr;
#else
  pid_t pid = 0;
  int errorOutput = -1;  // the read end of its error output
#endif
};

}  // namespace

std::string describe(const Command& command) {
  std::string text = command.program;
  for (const auto& argument : command.arguments) text += " " + argument;
  return text;
}

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

std::string launch(const Command& command, Child& child) {
  const bool batch = isBatchFile(command.program);
  const std::string interpreter = batch ? commandInterpreterPath() : "";
  const std::string program = batch ? interpreter : command.program;
  std::string line = commandLine(command, interpreter);
  InheritOnly inherit(command.inheritedHandle == kNoHandle ? nullptr : reinterpret_cast<HANDLE>(command.inheritedHandle));
  if (inherit.failed()) return windowsErrorText(GetLastError());

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
    return windowsErrorText(GetLastError());
  CloseHandle(info.hThread);
  child.process = info.hProcess;
  return "";
}

void poll(Child& child) {
  if (child.ended || WaitForSingleObject(child.process, 0) != WAIT_OBJECT_0) return;
  DWORD code = 0;
  GetExitCodeProcess(child.process, &code);
  child.ending.status = static_cast<int>(code);
  CloseHandle(child.process);
  child.process = nullptr;
  child.ended = true;
}

void release(Child& child) {
  if (child.process) CloseHandle(child.process);
  child.process = nullptr;
}

}  // namespace

std::string commandInterpreterPath() {
  char buffer[MAX_PATH];
  const DWORD count = GetEnvironmentVariableA("ComSpec", buffer, MAX_PATH);
  if (count > 0 && count < MAX_PATH && isFullPath(std::string(buffer, count))) return std::string(buffer, count);
  return systemFolderFile(systemFolder, "cmd.exe");
}

std::string textEditorPath() { return systemFolderFile(windowsFolder, "notepad.exe"); }

#else

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

// Forks the command and reports whether its exec succeeded.
std::string launch(const Command& command, Child& child) {
  std::vector<std::string> words{command.program};
  words.insert(words.end(), command.arguments.begin(), command.arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int errorOutput[2];
  if (pipe2(errorOutput, O_CLOEXEC) != 0) return systemErrorText(errno);
  int execReport[2];
  if (pipe2(execReport, O_CLOEXEC) != 0) {
    const int error = errno;
    closeBoth(errorOutput);
    return systemErrorText(error);
  }
  const pid_t pid = fork();
  if (pid < 0) {
    const int error = errno;
    closeBoth(errorOutput);
    closeBoth(execReport);
    return systemErrorText(error);
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
    return systemErrorText(execError);
  }
  fcntl(errorOutput[0], F_SETFL, O_NONBLOCK);
  child.pid = pid;
  child.errorOutput = errorOutput[0];
  return "";
}

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

void release(Child& child) {
  if (child.errorOutput >= 0) close(child.errorOutput);
  child.errorOutput = -1;
}

void poll(Child& child) {
  if (child.ended) return;
  drain(child);
  int status = 0;
  const pid_t done = waitpid(child.pid, &status, WNOHANG);
  if (done == 0 || (done < 0 && errno == EINTR)) return;
  if (done == child.pid)
    child.ending.status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  drain(child);  // what it wrote before it ended is in the pipe now
  release(child);
  child.ended = true;
}

}  // namespace

#endif

struct SystemLauncher::Children {
  std::mutex mutex;
  std::vector<Child> list;
  std::uint64_t lastId = 0;
  std::uint64_t trackedId = 0;

  void pollAll() {
    for (Child& child : list) poll(child);
  }
  const Child* find(std::uint64_t id) const {
    const auto at = std::find_if(list.begin(), list.end(), [id](const Child& child) { return child.id == id; });
    return at == list.end() ? nullptr : &*at;
  }
  // Polls every child until `ended` says so or the time is out.
  template <typename Test>
  bool pollUntil(std::chrono::milliseconds timeout, Test ended) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      {
        const std::lock_guard lock(mutex);
        pollAll();
        if (ended()) return true;
      }
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(kPollPause);
    }
  }
};

SystemLauncher::SystemLauncher() : children_(std::make_unique<Children>()) {}

SystemLauncher::~SystemLauncher() {
  for (Child& child : children_->list) release(child);
}

std::string SystemLauncher::launchWatched(const Command& command, bool tracked) {
  Child child;
  child.ending.command = describe(command);
  child.ending.tracked = tracked;
  std::string error = launch(command, child);
  if (!error.empty()) return error;
  const std::lock_guard lock(children_->mutex);
  child.id = ++children_->lastId;
  if (tracked) children_->trackedId = child.id;
  children_->list.push_back(std::move(child));
  return "";
}

std::string SystemLauncher::start(const Command& command) { return launchWatched(command, false); }

std::string SystemLauncher::startTracked(const Command& command) { return launchWatched(command, true); }

bool SystemLauncher::waitForTracked(std::chrono::milliseconds timeout) {
  return children_->pollUntil(timeout, [this] {
    const Child* tracked = children_->find(children_->trackedId);
    return !tracked || tracked->ended;
  });
}

std::optional<Ending> SystemLauncher::waitForLastStarted(std::chrono::milliseconds timeout) {
  std::optional<Ending> ending;
  children_->pollUntil(timeout, [this, &ending] {
    auto& list = children_->list;
    const auto last = std::find_if(list.begin(), list.end(),
                                   [this](const Child& child) { return child.id == children_->lastId; });
    if (last == list.end()) return true;
    if (!last->ended) return false;
    ending = std::move(last->ending);
    list.erase(last);
    return true;
  });
  return ending;
}

std::vector<Ending> SystemLauncher::takeEndings() {
  const std::lock_guard lock(children_->mutex);
  children_->pollAll();
  std::vector<Ending> endings;
  auto& list = children_->list;
  for (Child& child : list)
    if (child.ended) endings.push_back(std::move(child.ending));
  std::erase_if(list, [](const Child& child) { return child.ended; });
  return endings;
}

}  // namespace pliego
