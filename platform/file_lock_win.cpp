// Locks on Windows: LockFileEx on one byte.
#include <windows.h>

#include <utility>

#include "platform/file_lock.hpp"

namespace pliego {

namespace {

OVERLAPPED where(LockSpan span) {
  OVERLAPPED at{};
  if (span == LockSpan::PastTheEnd) at.OffsetHigh = 0x7FFFFFFF;
  return at;
}

HANDLE handleOf(const SharedFile& file) { return static_cast<HANDLE>(file.handle); }

}  // namespace

std::error_code tryLockFile(const SharedFile& file, LockSpan span) {
  OVERLAPPED at = where(span);
  if (LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return {};
  const DWORD error = GetLastError();
  if (error == ERROR_LOCK_VIOLATION) return LockError::Busy;
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return LockError::NotOffered;
  return {static_cast<int>(error), std::system_category()};
}

void unlockFile(const SharedFile& file, LockSpan span) {
  OVERLAPPED at = where(span);
  UnlockFileEx(handleOf(file), 0, 1, 0, &at);
}

// Read and write, or read only when the file is another user's read-only one.
std::error_code openLockFile(const std::string& path, SharedFile& file) {
  SharedFile opened = openSharedFile(path, SharedAccess::ReadWrite, SharedCreation::OrCreate, true);
  if (!opened.ok() && !opened.notPlain() && opened.error.value() == ERROR_ACCESS_DENIED)
    opened = openSharedFile(path, SharedAccess::Read, SharedCreation::Existing, true);
  if (!opened.ok())
    return opened.notPlain() ? std::error_code(ERROR_ACCESS_DENIED, std::system_category()) : opened.error;
  file = std::move(opened);
  return {};
}

InheritableHandle FileLock::inheritableHandle() const {
  return file_.ok() ? reinterpret_cast<InheritableHandle>(file_.handle) : kNoHandle;
}

}  // namespace pliego
