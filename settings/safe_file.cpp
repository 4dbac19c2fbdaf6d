#include "settings/safe_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/file_lock.hpp"
#include "platform/files.hpp"
#include "platform/identity.hpp"
#include "platform/shared_file.hpp"

namespace fs = std::filesystem;

namespace pliego {

namespace {

bool readAll(int fd, std::string& out) {
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    out.append(chunk, static_cast<std::size_t>(n));
  }
}

std::string folderOf(const std::string& path) {
  const std::string folder = fs::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// How long a write waits for another program that is rewriting the file.
constexpr auto kLockPatience = std::chrono::seconds(5);

// Tries for the lock until `deadline`, in short steps so that a writer that
// keeps rewriting the file does not starve this one.
std::error_code lockUntil(const SharedFile& file, std::chrono::steady_clock::time_point deadline) {
  return lockFile(file, LockSpan::Whole, {deadline, std::chrono::milliseconds(1)});
}

// True when `path` still names the file open as `fd` (another writer may have
// renamed a new file over it while we waited for the lock).
bool stillNamed(int fd, const std::string& path) {
  struct stat opened {}, named {};
  return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// This host's name, as temporary file names carry it: several workstations
// share the folder, and a process id means something only on its own host.
std::string hostName() {
  std::string host = workstationName();
  std::replace(host.begin(), host.end(), '/', '_');
  return host;
}

// Temporary files are named ".<file>.<host>.<process id>.<counter>.tmp".
std::string temporaryPrefix(const fs::path& target) { return "." + target.filename().string() + "."; }

// Creates a new hidden file beside `path`; not open when none can be created.
SharedFile createTemporary(const std::string& path, std::string& name) {
  static std::atomic<unsigned> counter{0};
  const fs::path target(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string leaf = temporaryPrefix(target) + hostName() + "." + std::to_string(::getpid()) + "." +
                             std::to_string(counter++) + ".tmp";
    name = (target.parent_path() / leaf).string();
    SharedFile created = openSharedFile(name, SharedAccess::Write, SharedCreation::MustBeNew, true);
    if (created.error != FileError::Exists) return created;
  }
  return {};
}

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True when the temporary file `leaf` (a name of our own naming) can no longer
// be in use: its process, of this host, is gone, or it is older than a day.
bool isStale(const std::string& leaf, const std::string& prefix, const struct stat& info) {
  constexpr std::string_view kSuffix = ".tmp";
  if (!leaf.starts_with(prefix) || !leaf.ends_with(kSuffix) || !S_ISREG(info.st_mode)) return false;
  std::string_view middle(leaf);
  middle = middle.substr(prefix.size(), middle.size() - prefix.size() - kSuffix.size());  // host.pid.counter
  const std::size_t counterDot = middle.rfind('.');
  if (counterDot == std::string_view::npos || counterDot == 0 || !allDigits(middle.substr(counterDot + 1)))
    return false;
  const std::size_t pidDot = middle.rfind('.', counterDot - 1);
  if (pidDot == std::string_view::npos) return false;
  const std::string_view pid = middle.substr(pidDot + 1, counterDot - pidDot - 1);
  if (!allDigits(pid) || pid.size() > 9) return false;
  constexpr long kDay = 24 * 60 * 60;
  if (std::time(nullptr) - info.st_mtime > kDay) return true;
  const pid_t owner = static_cast<pid_t>(std::stol(std::string(pid)));
  return middle.substr(0, pidDot) == hostName() && owner != ::getpid() && processEnded(owner);
}

// Removes what saves killed half-way left in the folder.
void removeStaleTemporaries(const std::string& path) {
  const fs::path target(path);
  const std::string prefix = temporaryPrefix(target);
  std::error_code error;
  for (fs::directory_iterator it(folderOf(path), error), end; !error && it != end; it.increment(error)) {
    const std::string leaf = it->path().filename().string();
    struct stat info {};
    if (leaf.starts_with(prefix) && ::lstat(it->path().c_str(), &info) == 0 && isStale(leaf, prefix, info))
      ::unlink(it->path().c_str());
  }
}

void syncFolder(const std::string& path) {
  const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// The file is opened by the shared folder's rule: a link, a pipe or a
// second name of another file is never read nor replaced.
std::optional<std::string> readFileBytes(const std::string& path) {
  SharedFile opened = openSharedFile(path, SharedAccess::Read, SharedCreation::Existing, false);
  if (!opened.ok()) return std::nullopt;
  std::string bytes;
  if (!readAll(opened.fd, bytes)) return std::nullopt;
  return bytes;
}

FileRewrite::FileRewrite(const std::string& path) : path_(path) {
  const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
  while (openOrCreate(deadline)) {
    const std::error_code lock = lockUntil(file_, deadline);
    // Another writer may have renamed a new file over the name, or removed
    // the empty one it created, meanwhile: then the name must be opened again.
    if (lock == LockError::NotOffered || (!lock && stillNamed(file_.fd, path_))) {
      readable_ = readAll(file_.fd, bytes_);
      return;
    }
    file_.close();
    created_ = false;
    // Busy, or a fault of the lock: not readable, so the write fails.
    if (lock || std::chrono::steady_clock::now() >= deadline) return;
  }
}

// A missing file is created empty, so that the first write locks it like any
// other: without that, two first writes would each rename their own file
// over the name and one of them would be lost.
bool FileRewrite::openOrCreate(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    file_ = openSharedFile(path_, SharedAccess::Read, SharedCreation::Existing, false);
    if (file_.ok()) return true;
    if (file_.error != std::errc::no_such_file_or_directory) return false;
    file_ = openSharedFile(path_, SharedAccess::ReadWrite, SharedCreation::MustBeNew, true);
    if (file_.ok()) {
      created_ = true;
      return true;
    }
    if (file_.error != FileError::Exists) {
      // Nothing to lock and nowhere to create: a removal finds nothing to do,
      // a write fails when it cannot create its temporary file.
      std::error_code error;
      readable_ = fs::is_directory(folderOf(path_), error);
      return false;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
  }
}

// A file created here that received nothing is removed again, still under
// the lock, so that a write that stores nothing leaves no file behind.
FileRewrite::~FileRewrite() {
  if (!file_.ok()) return;
  if (created_ && !replaced_ && stillNamed(file_.fd, path_)) ::unlink(path_.c_str());
  file_.close();  // also releases the lock
}

bool FileRewrite::replace(std::string_view content) {
  if (!readable_) return false;
  // A read-only file refuses writes, as it does for the Windows functions.
  if (file_.ok() && ::access(path_.c_str(), W_OK) != 0) return false;
  removeStaleTemporaries(path_);
  std::string temporary;
  SharedFile out = createTemporary(path_, temporary);
  if (!out.ok()) return false;
  struct stat old {};
  if (file_.ok() && ::fstat(file_.fd, &old) == 0) ::fchmod(out.fd, old.st_mode & 07777);
  shareWithFolderGroup(out.fd, temporary);
  bool ok = !writeAtEnd(out, content) && ::fsync(out.fd) == 0;
  ok = out.close() && ok;
  ok = ok && ::rename(temporary.c_str(), path_.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  syncFolder(path_);
  replaced_ = true;
  return true;
}

}  // namespace pliego
