#pragma once
// Exclusive locks on files of the shared folder, held against the other
// workstations that run the program from it. Advisory: they only keep out
// other copies of this program. One primitive, lockFile, serves the work
// lock, the record's appends and the INI's rewrites, so that the same fault
// gets the same answer everywhere.
#include <atomic>
#include <chrono>
#include <string>
#include <system_error>

#include "platform/inheritable_handle.hpp"
#include "platform/shared_file.hpp"

namespace pliego {

// Why a lock is not held, beside the system's own faults.
enum class LockError {
  Busy = 1,    // another holder kept it until the time ran out, or the wait was cancelled
  NotOffered,  // the folder's file system keeps no locks: a caller may go on without one
};

const std::error_category& lockErrorCategory();

inline std::error_code make_error_code(LockError error) { return {static_cast<int>(error), lockErrorCategory()}; }

// What a lock covers: the whole file, or a byte far past any real end of it,
// so that readers are never kept out (Windows locks bytes, Linux whole files).
enum class LockSpan { Whole, PastTheEnd };

// How long a lock is tried for, and how often.
struct LockPatience {
  std::chrono::steady_clock::time_point deadline;
  std::chrono::milliseconds pause;            // between tries
  const std::atomic<bool>* cancel = nullptr;  // when set, the trying stops as if the time were out
};

// Takes an exclusive lock on the open `file`, until `unlockFile` or the
// file's closing. {} when it is held; LockError::Busy, LockError::NotOffered,
// or the system's code of a fault of the lock itself, after which no caller
// goes on.
std::error_code lockFile(const SharedFile& file, LockSpan span, const LockPatience& patience);
void unlockFile(const SharedFile& file, LockSpan span);

// One try of lockFile, as each system makes it.
std::error_code tryLockFile(const SharedFile& file, LockSpan span);

// The work lock: a lock file of its own, whose lock a started program may
// keep until it ends.
class FileLock {
 public:
  // Takes the lock on `path` (the file is created when missing), trying
  // until `timeout` has passed. A lock file that cannot be opened for
  // writing is locked through a read-only open. Answers as lockFile does, or
  // why the lock file cannot be used (a folder, a link, no permission).
  std::error_code acquire(const std::string& path, std::chrono::milliseconds timeout);
  void release() { file_.close(); }

  // The open handle that carries the lock; a program started with it keeps
  // the lock until that program ends; kNoHandle when no lock is held. On
  // Linux it is never a standard stream (0 to 2), which a started program
  // replaces.
  InheritableHandle inheritableHandle() const;

 private:
  SharedFile file_;
};

// Opens the work lock's file as FileLock does, per system.
std::error_code openLockFile(const std::string& path, SharedFile& file);

}  // namespace pliego

template <>
struct std::is_error_code_enum<pliego::LockError> : std::true_type {};
