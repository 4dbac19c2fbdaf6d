#include "platform/shared_file.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/files.hpp"

namespace pliego {

SharedFile& SharedFile::operator=(SharedFile&& other) noexcept {
  if (this == &other) return *this;
  close();
  fd = std::exchange(other.fd, -1);
  error = other.error;
  return *this;
}

bool SharedFile::close() {
  const bool closed = fd < 0 || ::close(fd) == 0;
  fd = -1;
  return closed;
}

std::FILE* SharedFile::release(const char* mode) {
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, mode);
  if (!file) ::close(fd);
  fd = -1;
  return file;
}

namespace {

int accessFlags(SharedAccess access) {
  switch (access) {
    case SharedAccess::Read: return O_RDONLY;
    case SharedAccess::Write: return O_WRONLY;
    case SharedAccess::ReadWrite: return O_RDWR;
    case SharedAccess::Append: break;
  }
  return O_RDWR | O_APPEND;
}

int creationFlags(SharedCreation creation) {
  switch (creation) {
    case SharedCreation::Existing: return 0;
    case SharedCreation::OrCreate: return O_CREAT;
    case SharedCreation::MustBeNew: break;
  }
  return O_CREAT | O_EXCL;
}

// Some network file systems count no names at all: that is taken as one.
bool plainWithOneName(const struct stat& info) { return S_ISREG(info.st_mode) && info.st_nlink <= 1; }

// Why an open failed: for what stands at the name, or the system's code.
std::error_code refusedForWhatStandsThere(int error, SharedCreation creation) {
  if (error == EEXIST && creation == SharedCreation::MustBeNew) return FileError::Exists;
  if (error == ELOOP || error == EISDIR || error == ENXIO || error == EMLINK) return FileError::NotPlain;
  return {error, std::system_category()};
}

std::string folderOf(const std::string& path) {
  const std::string folder = narrowPath(nativePath(path).parent_path());
  return folder.empty() ? std::string(".") : folder;
}

}  // namespace

// The folder's group gets the file, and read and write on it. Only the
// file's owner may change that; a failure leaves the file as it was.
void shareWithFolderGroup(int fd, const std::string& path) {
  struct stat file {}, folder {};
  if (::fstat(fd, &file) != 0 || file.st_uid != ::geteuid()) return;
  if (::stat(folderOf(path).c_str(), &folder) != 0 || !(folder.st_mode & S_IWGRP)) return;
  if (file.st_gid != folder.st_gid && ::fchown(fd, static_cast<uid_t>(-1), folder.st_gid) != 0) return;
  if ((file.st_mode & 0660) != 0660) (void)::fchmod(fd, (file.st_mode & 07777) | 0660);
}

// Whatever is not a plain file is refused before it is opened, so that no
// device is ever opened; the check after the opening settles a change made
// in between.
SharedFile openSharedFile(const std::string& path, SharedAccess access, SharedCreation creation,
                          bool everyoneWrites) {
  SharedFile result;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 &&
      (!plainWithOneName(info) || creation == SharedCreation::MustBeNew)) {
    result.error = plainWithOneName(info) ? FileError::Exists : FileError::NotPlain;
    return result;
  }
  const int flags = accessFlags(access) | creationFlags(creation) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    result.error = refusedForWhatStandsThere(errno, creation);
    return result;
  }
  if (::fstat(fd, &info) != 0 || !plainWithOneName(info)) {
    ::close(fd);
    result.error = FileError::NotPlain;
    return result;
  }
  if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    result.error = {errno, std::system_category()};
    ::close(fd);
    return result;
  }
  if (everyoneWrites) shareWithFolderGroup(fd, path);
  result.fd = fd;
  return result;
}

std::optional<std::int64_t> sizeOf(const SharedFile& file) {
  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return std::nullopt;
  return static_cast<std::int64_t>(info.st_size);
}

bool byteAt(const SharedFile& file, std::int64_t offset, char& byte) {
  return ::pread(file.fd, &byte, 1, static_cast<off_t>(offset)) == 1;
}

std::error_code writeAtEnd(const SharedFile& file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = ::write(file.fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return {errno, std::system_category()};
    if (done == 0) return std::make_error_code(std::errc::io_error);
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return {};
}

void cutBackTo(const SharedFile& file, std::int64_t size) { (void)::ftruncate(file.fd, static_cast<off_t>(size)); }

}  // namespace pliego
