// Locks on Linux: flock on the whole file.
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <fcntl.h>
#include <utility>

#include "platform/file_lock.hpp"

namespace pliego {

// EINTR is a try that a signal cut short: tried again, as a busy lock is.
std::error_code tryLockFile(const SharedFile& file, LockSpan) {
  if (::flock(file.fd, LOCK_EX | LOCK_NB) == 0) return {};
  const int error = errno;
  if (error == EWOULDBLOCK || error == EINTR) return LockError::Busy;
  if (error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS) return LockError::NotOffered;
  return {error, std::system_category()};
}

void unlockFile(const SharedFile& file, LockSpan) { ::flock(file.fd, LOCK_UN); }

// Read and write, or read only (flock needs no more) when the file is
// another user's read-only one. Never on a standard stream's number, which a
// started program would replace and so drop the lock. What is not a plain
// file of one name is refused as a folder would be.
std::error_code openLockFile(const std::string& path, SharedFile& file) {
  SharedFile opened = openSharedFile(path, SharedAccess::ReadWrite, SharedCreation::OrCreate, true);
  if (!opened.ok() && !opened.notPlain() &&
      (opened.error == std::errc::permission_denied || opened.error == std::errc::operation_not_permitted ||
       opened.error == std::errc::read_only_file_system))
    opened = openSharedFile(path, SharedAccess::Read, SharedCreation::Existing, true);
  if (!opened.ok()) return opened.notPlain() ? std::error_code(EISDIR, std::system_category()) : opened.error;
  if (opened.fd <= 2) {
    const int high = ::fcntl(opened.fd, F_DUPFD_CLOEXEC, 3);
    if (high < 0) return {errno, std::system_category()};
    opened.close();
    opened.fd = high;
  }
  file = std::move(opened);
  return {};
}

InheritableHandle FileLock::inheritableHandle() const { return file_.ok() ? file_.fd : kNoHandle; }

}  // namespace pliego
