// Starting programs on Windows: CreateProcess, batch files through the
// command interpreter.
#include <string.h>
#include <windows.h>

#include <string>
#include <system_error>
#include <vector>

#include "platform/child_process.hpp"
#include "platform/files.hpp"
#include "platform/last_error_win.hpp"

namespace pliego {

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

HANDLE processOf(const Child& child) { return reinterpret_cast<HANDLE>(child.process); }

}  // namespace

std::error_code launch(const Command& command, Child& child) {
  const bool batch = isBatchFile(command.program);
  const std::string interpreter = batch ? commandInterpreterPath() : "";
  const std::string program = batch ? interpreter : command.program;
  std::string line = commandLine(command, interpreter);
  InheritOnly inherit(command.inheritedHandle == kNoHandle ? nullptr : reinterpret_cast<HANDLE>(command.inheritedHandle));
  if (inherit.failed()) return lastWindowsError();

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
    return lastWindowsError();
  CloseHandle(info.hThread);
  child.process = reinterpret_cast<std::intptr_t>(info.hProcess);
  return {};
}

void poll(Child& child) {
  const HANDLE process = processOf(child);
  if (child.ended || WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  child.ending.status = static_cast<int>(code);
  CloseHandle(process);
  child.process = 0;
  child.ended = true;
}

void release(Child& child) {
  if (child.process) CloseHandle(processOf(child));
  child.process = 0;
}

std::string commandInterpreterPath() {
  char buffer[MAX_PATH];
  const DWORD count = GetEnvironmentVariableA("ComSpec", buffer, MAX_PATH);
  if (count > 0 && count < MAX_PATH && isFullPath(std::string(buffer, count))) return std::string(buffer, count);
  return systemFolderFile(systemFolder, "cmd.exe");
}

std::string textEditorPath() { return systemFolderFile(windowsFolder, "notepad.exe"); }

}  // namespace pliego
