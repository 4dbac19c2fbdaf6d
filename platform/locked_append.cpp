#include "platform/locked_append.hpp"

#include <string>
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

constexpr auto kRetryPause = std::chrono::milliseconds(2);

std::string withFirstLine(bool empty, std::string_view firstLine, std::string_view bytes) {
  std::string all;
  if (empty) all = firstLine;
  all += bytes;
  return all;
}

}  // namespace

#ifdef _WIN32

// The lock covers one byte far past any real end of the file, so that
// readers of the file are never kept out while an append runs.
AppendResult appendLocked(const std::string& path, std::string_view firstLine, std::string_view bytes,
                          std::chrono::milliseconds patience) {
  HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return AppendResult::Failed;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  OVERLAPPED at{};
  at.OffsetHigh = 0x7FFFFFFF;
  bool locked = false;
  for (;;) {
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      locked = true;
      break;
    }
    if (GetLastError() != ERROR_LOCK_VIOLATION) break;  // no locks here: append without one
    if (std::chrono::steady_clock::now() >= deadline) {
      CloseHandle(h);
      return AppendResult::Busy;
    }
    std::this_thread::sleep_for(kRetryPause);
  }
  LARGE_INTEGER size{};
  const bool sized = GetFileSizeEx(h, &size);
  const std::string all = withFirstLine(sized && size.QuadPart == 0, firstLine, bytes);
  DWORD written = 0;
  const bool ok = sized && WriteFile(h, all.data(), static_cast<DWORD>(all.size()), &written, nullptr) &&
                  written == all.size();
  if (locked) UnlockFileEx(h, 0, 1, 0, &at);
  CloseHandle(h);
  return ok ? AppendResult::Done : AppendResult::Failed;
}

#else

namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return true;
}

}  // namespace

AppendResult appendLocked(const std::string& path, std::string_view firstLine, std::string_view bytes,
                          std::chrono::milliseconds patience) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return AppendResult::Failed;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) break;  // no locks here: append without one
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(fd);
      return AppendResult::Busy;
    }
    std::this_thread::sleep_for(kRetryPause);
  }
  struct stat info {};
  const bool sized = ::fstat(fd, &info) == 0;
  const bool ok = sized && writeAll(fd, withFirstLine(info.st_size == 0, firstLine, bytes));
  const bool closed = ::close(fd) == 0;  // also releases the lock
  return ok && closed ? AppendResult::Done : AppendResult::Failed;
}

#endif

}  // namespace pliego
