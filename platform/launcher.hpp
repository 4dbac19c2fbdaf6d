#pragma once
// Starting outside programs (the text editor, the print script) without
// waiting for them.
#include <chrono>
#include <string>
#include <vector>

#include "platform/inheritable_handle.hpp"

namespace pliego {

enum class WindowStyle { Hidden, MaximizedWithFocus };

struct Command {
  std::string program;  // a path, or a name looked up through PATH
  std::vector<std::string> arguments;
  std::string workingFolder;
  WindowStyle style = WindowStyle::Hidden;
  // An open handle the program keeps, with any lock on it, until it ends.
  // It is the only handle the program inherits.
  InheritableHandle inheritedHandle = kNoHandle;
};

class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // Starts the command and forgets it. Returns "" when it started, otherwise
  // the reason it could not be started.
  virtual std::string start(const Command& command) = 0;
  // Starts the command and remembers it, so that a later job can wait for it.
  virtual std::string startTracked(const Command& command) = 0;
  // Waits at most `timeout` for the remembered command to end. True when
  // nothing remembered is still running.
  virtual bool waitForTracked(std::chrono::milliseconds timeout) = 0;
};

#ifdef _WIN32
// The system's own programs by full path, so that a program of the same name
// lying in the program's folder or the current one is never started instead:
// the command interpreter from %ComSpec% (else cmd.exe in the system folder)
// and notepad.exe from the Windows folder.
std::string commandInterpreterPath();
std::string textEditorPath();
#endif

// The operating system's launcher: fork and exec on Linux, CreateProcess on
// Windows.
class SystemLauncher : public ProgramLauncher {
 public:
  SystemLauncher() = default;
  ~SystemLauncher() override;
  SystemLauncher(const SystemLauncher&) = delete;
  SystemLauncher& operator=(const SystemLauncher&) = delete;

  std::string start(const Command& command) override;
  std::string startTracked(const Command& command) override;
  bool waitForTracked(std::chrono::milliseconds timeout) override;

 private:
#ifdef _WIN32
  void* tracked_ = nullptr;  // process handle
#else
  int tracked_ = 0;  // process id
#endif
};

}  // namespace pliego
