#pragma once
// Starting outside programs (the text editor, the print script) without
// waiting for them, and learning later how they ended.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
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

// The command line as the user would type it.
std::string describe(const Command& command);

// How a started program ended.
struct Ending {
  std::string command;      // as describe() tells it
  int status = 0;           // its exit status; 128 + the signal's number when a signal ended it
  std::string errorOutput;  // the start of what it wrote to its error output (Linux)
  bool tracked = false;     // started by startTracked
  bool failed() const { return status != 0; }
};

class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // Starts the command. No error when it started, otherwise the system's
  // reason it could not be started.
  virtual std::error_code start(const Command& command) = 0;
  // Starts the command and remembers it, so that a later job can wait for it.
  virtual std::error_code startTracked(const Command& command) = 0;
  // Waits at most `timeout` for the remembered command to end. True when
  // nothing remembered is still running.
  virtual bool waitForTracked(std::chrono::milliseconds timeout) = 0;
  // Waits at most `timeout` for the program started last to end. Its ending
  // when it has ended; that ending is then no longer among takeEndings().
  virtual std::optional<Ending> waitForLastStarted(std::chrono::milliseconds timeout) = 0;
  // The endings of started programs that have ended since they were last
  // asked for, oldest first. Does not wait.
  virtual std::vector<Ending> takeEndings() = 0;
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
// Windows. Safe to use from several threads.
class SystemLauncher : public ProgramLauncher {
 public:
  SystemLauncher();
  ~SystemLauncher() override;
  SystemLauncher(const SystemLauncher&) = delete;
  SystemLauncher& operator=(const SystemLauncher&) = delete;

  std::error_code start(const Command& command) override;
  std::error_code startTracked(const Command& command) override;
  bool waitForTracked(std::chrono::milliseconds timeout) override;
  std::optional<Ending> waitForLastStarted(std::chrono::milliseconds timeout) override;
  std::vector<Ending> takeEndings() override;

 private:
  struct Children;  // the started programs not yet asked for, per system
  std::error_code launchWatched(const Command& command, bool tracked);
  std::unique_ptr<Children> children_;
};

}  // namespace pliego
