#include "platform/locked_append.hpp"

#include <cstdint>
#include <string>
#include <thread>

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

constexpr auto kRetryPause = std::chrono::milliseconds(2);

// What goes before the bytes: the first line in a new file, and a line end
// after a last line that lost its own (a hand edit, an append cut short), so
// that the new line is never glued to it.
std::string withLeadIn(std::int64_t size, char lastByte, std::string_view firstLine, std::string_view bytes) {
  std::string all;
  if (size == 0)
    all = firstLine;
  else if (lastByte == '\r')
    all = "\n";
  else if (lastByte != '\n')
    all = "\r\n";
  all += bytes;
  return all;
}

bool stopped(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

}  // namespace

#ifdef _WIN32

namespace {

char lastByteOf(HANDLE h, std::int64_t size) {
  char last = '\n';
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>((size - 1) & 0xFFFFFFFF);
  at.OffsetHigh = static_cast<DWORD>((size - 1) >> 32);
  DWORD read = 0;
  if (size > 0 && (!ReadFile(h, &last, 1, &read, &at) || read != 1)) last = '\n';
  return last;
}

void cutBackTo(HANDLE h, std::int64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = size;
  SetFileInformationByHandle(h, FileEndOfFileInfo, &end, sizeof end);
}

}  // namespace

// The lock covers one byte far past any real end of the file, so that
// readers of the file are never kept out while an append runs.
AppendResult appendLocked(const std::string& path, std::string_view firstLine, std::string_view bytes,
                          std::chrono::milliseconds patience, const std::atomic<bool>* cancel) {
  SharedFile file = openSharedFile(path, SharedAccess::Append, SharedCreation::OrCreate, true);
  if (!file.ok()) return AppendResult::Failed;
  HANDLE h = file.handle;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  OVERLAPPED lockAt{};
  lockAt.OffsetHigh = 0x7FFFFFFF;
  bool locked = false;
  for (;;) {
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &lockAt)) {
      locked = true;
      break;
    }
    if (GetLastError() != ERROR_LOCK_VIOLATION) break;  // no locks here: append without one
    if (std::chrono::steady_clock::now() >= deadline || stopped(cancel)) return AppendResult::Busy;
    std::this_thread::sleep_for(kRetryPause);
  }
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(h, &size);
  if (ok) {
    const std::string all = withLeadIn(size.QuadPart, lastByteOf(h, size.QuadPart), firstLine, bytes);
    OVERLAPPED atEnd{};
    atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    ok = WriteFile(h, all.data(), static_cast<DWORD>(all.size()), &written, &atEnd) && written == all.size();
    if (!ok && locked) cutBackTo(h, size.QuadPart);
  }
  if (locked) UnlockFileEx(h, 0, 1, 0, &lockAt);
  return file.close() && ok ? AppendResult::Done : AppendResult::Failed;
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

char lastByteOf(int fd, std::int64_t size) {
  char last = '\n';
  if (size > 0 && ::pread(fd, &last, 1, size - 1) != 1) last = '\n';
  return last;
}

}  // namespace

AppendResult appendLocked(const std::string& path, std::string_view firstLine, std::string_view bytes,
                          std::chrono::milliseconds patience, const std::atomic<bool>* cancel) {
  SharedFile file = openSharedFile(path, SharedAccess::Append, SharedCreation::OrCreate, true);
  if (!file.ok()) return AppendResult::Failed;
  const int fd = file.fd;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  bool locked = true;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {  // no locks here: append without one
      locked = false;
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline || stopped(cancel)) return AppendResult::Busy;
    std::this_thread::sleep_for(kRetryPause);
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (ok) {
    ok = writeAll(fd, withLeadIn(info.st_size, lastByteOf(fd, info.st_size), firstLine, bytes));
    // Without the lock another workstation's line may follow: it is kept.
    if (!ok && locked) (void)::ftruncate(fd, info.st_size);
  }
  const bool closed = file.close();  // also releases the lock
  return ok && closed ? AppendResult::Done : AppendResult::Failed;
}

#endif

}  // namespace pliego
