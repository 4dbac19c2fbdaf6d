#include "platform/file_lock.hpp"

#include <thread>
#include <utility>

#include "platform/shared_file.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pliego {

namespace {
constexpr auto kRetryPause = std::chrono::milliseconds(50);
}

FileLock::~FileLock() { release(); }

#ifdef _WIN32

namespace {

// Read and write, or read only when the file is another user's read-only one.
HANDLE openLockFile(const std::string& path) {
  SharedFile opened = openSharedFile(path, SharedAccess::ReadWrite, SharedCreation::OrCreate, true);
  if (!opened.ok() && !opened.notPlain && opened.error == ERROR_ACCESS_DENIED)
    opened = openSharedFile(path, SharedAccess::Read, SharedCreation::Existing, true);
  if (!opened.ok()) SetLastError(static_cast<DWORD>(opened.notPlain ? ERROR_ACCESS_DENIED : opened.error));
  return opened.ok() ? std::exchange(opened.handle, nullptr) : INVALID_HANDLE_VALUE;
}

}  // namespace

LockResult FileLock::acquire(const std::string& path, std::chrono::milliseconds timeout) {
  release();
  error_ = 0;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    HANDLE h = openLockFile(path);
    if (h == INVALID_HANDLE_VALUE) {
      error_ = static_cast<int>(GetLastError());
      return LockResult::Refused;
    }
    OVERLAPPED at{};
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      handle_ = h;
      return LockResult::Held;
    }
    const DWORD error = GetLastError();
    CloseHandle(h);
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return LockResult::Unavailable;
    if (error != ERROR_LOCK_VIOLATION) {
      error_ = static_cast<int>(error);
      return LockResult::Refused;
    }
    if (std::chrono::steady_clock::now() >= deadline) return LockResult::Busy;
    std::this_thread::sleep_for(kRetryPause);
  }
}

void FileLock::release() {
  if (handle_) CloseHandle(handle_);
  handle_ = nullptr;
}

InheritableHandle FileLock::inheritableHandle() const {
  return handle_ ? reinterpret_cast<InheritableHandle>(handle_) : kNoHandle;
}

#else

namespace {

// File systems that keep no locks: the job goes on without one, as before
// the lock existed.
bool cannotLock(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS; }

// Read and write, or read only (flock needs no more) when the file is
// another user's read-only one. Never on a standard stream's number, which a
// started program would replace and so drop the lock. What is not a plain
// file of one name is refused as a folder would be.
int openLockFile(const std::string& path) {
  SharedFile opened = openSharedFile(path, SharedAccess::ReadWrite, SharedCreation::OrCreate, true);
  if (!opened.ok() && !opened.notPlain && (opened.error == EACCES || opened.error == EPERM || opened.error == EROFS))
    opened = openSharedFile(path, SharedAccess::Read, SharedCreation::Existing, true);
  if (!opened.ok()) {
    errno = opened.notPlain ? EISDIR : opened.error;
    return -1;
  }
  const int fd = std::exchange(opened.fd, -1);
  if (fd > 2) return fd;
  const int high = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  const int error = errno;
  close(fd);
  errno = error;
  return high;
}

}  // namespace

LockResult FileLock::acquire(const std::string& path, std::chrono::milliseconds timeout) {
  release();
  error_ = 0;
  const int fd = openLockFile(path);
  if (fd < 0) {
    error_ = errno;
    return LockResult::Refused;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    const bool busy = error == EWOULDBLOCK || error == EINTR;
    if (!busy || std::chrono::steady_clock::now() >= deadline) {
      close(fd);
      if (busy) return LockResult::Busy;
      if (cannotLock(error)) return LockResult::Unavailable;
      error_ = error;
      return LockResult::Refused;
    }
    std::this_thread::sleep_for(kRetryPause);
  }
  fd_ = fd;
  return LockResult::Held;
}

void FileLock::release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

InheritableHandle FileLock::inheritableHandle() const { return fd_; }

#endif

}  // namespace pliego
