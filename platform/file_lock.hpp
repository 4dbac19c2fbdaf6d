#pragma once
// An exclusive lock on a file, shared by every workstation that runs the
// program from the same network folder. Advisory: it only keeps out other
// copies of this program.
#include <chrono>
#include <string>

#include "platform/inheritable_handle.hpp"

namespace pliego {

enum class LockResult {
  Held,        // the lock is ours
  Busy,         // another holder kept it until the time ran out
  Unavailable,  // the folder's file system cannot lock: go on without it
  Refused       // the lock file cannot be used (a folder, a link, no permission): `error()` tells why
};

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock on `path` (the file is created when missing), trying
  // until `timeout` has passed. A lock file that cannot be opened for
  // writing is locked through a read-only open.
  LockResult acquire(const std::string& path, std::chrono::milliseconds timeout);
  void release();
  // Why the last acquire was refused: an errno (or a Windows code).
  int error() const { return error_; }

  // The open handle that carries the lock; a program started with it keeps
  // the lock until that program ends; kNoHandle when no lock is held. On
  // Linux it is never a standard stream (0 to 2), which a started program
  // replaces.
  InheritableHandle inheritableHandle() const;

 private:
  int error_ = 0;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace pliego
