#include "platform/file_lock.hpp"

#include <thread>

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
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
    h = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h;
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
// another user's read-only one. Never through a link, never blocking on a
// pipe, and never on a standard stream's number, which a started program
// would replace and so drop the lock.
int openLockFile(const std::string& path) {
  const int flags = O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  int fd = open(path.c_str(), O_RDWR | flags, 0666);
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) fd = open(path.c_str(), O_RDONLY | flags);
  if (fd < 0 || fd > 2) return fd;
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
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error_ = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    close(fd);
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
