#include "platform/file_lock.hpp"

#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace pliego {

namespace {
constexpr auto kRetryPause = std::chrono::milliseconds(50);
}

FileLock::~FileLock() { release(); }

#ifdef _WIN32

LockResult FileLock::acquire(const std::string& path, std::chrono::milliseconds timeout) {
  release();
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return LockResult::Unavailable;
    OVERLAPPED at{};
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      handle_ = h;
      return LockResult::Held;
    }
    const DWORD error = GetLastError();
    CloseHandle(h);
    if (error != ERROR_LOCK_VIOLATION) return LockResult::Unavailable;
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

LockResult FileLock::acquire(const std::string& path, std::chrono::milliseconds timeout) {
  release();
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return LockResult::Unavailable;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK || errno == EINTR;
    if (!busy || std::chrono::steady_clock::now() >= deadline) {
      close(fd);
      return busy ? LockResult::Busy : LockResult::Unavailable;
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
