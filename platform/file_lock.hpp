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
  Busy,        // another holder kept it until the time ran out
  Unavailable  // the folder's file system cannot lock: go on without it
};

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock on `path` (the file is created when missing), trying
  // until `timeout` has passed.
  LockResult acquire(const std::string& path, std::chrono::milliseconds timeout);
  void release();

  // The open handle that carries the lock; a program started with it keeps
  // the lock until that program ends. kNoHandle when no lock is held.
  InheritableHandle inheritableHandle() const;

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace pliego
