// File-system services on Linux.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/files.hpp"
#include "platform/files_internal.hpp"
#include "platform/shared_file.hpp"

namespace fs = std::filesystem;

namespace pliego {

std::error_code replaceFile(std::string_view from, std::string_view to) {
  const std::string fromPath(from), toPath(to);
  if (renameat2(AT_FDCWD, fromPath.c_str(), AT_FDCWD, toPath.c_str(), RENAME_EXCHANGE) == 0) {
    unlink(fromPath.c_str());  // the old file, under the passing name now
    return {};
  }
  // Nothing to swap with, or a file system that cannot swap: renamed over.
  if (errno != ENOENT && errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return {errno, std::generic_category()};
  std::error_code error;
  fs::rename(nativePath(from), nativePath(to), error);
  return error;
}

namespace internal {

bool isDriveRoot(std::string_view) { return false; }

std::string executablePath() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).string();
}

bool isVisiblePlainFile(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return false;
  const std::string name = entry.path().filename().string();
  return !name.empty() && name.front() != '.';
}

bool isFolderOfThisUser(const fs::path& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

}  // namespace internal

namespace {

bool hasBytes(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && info.st_size > 0;
}

}  // namespace

// Opened without emptying it, so that a file found to have other names is
// left untouched. One that cannot be opened for writing (another
// workstation's, made under a strict umask) is replaced when the folder
// lets its name be removed.
OwnFile createOwnFile(const std::string& path, bool mustBeNew, bool everyoneWrites) {
  OwnFile result;
  SharedFile opened = openSharedFile(path, SharedAccess::Write,
                                     mustBeNew ? SharedCreation::MustBeNew : SharedCreation::OrCreate, everyoneWrites);
  if (!opened.ok()) {
    const bool denied =
        opened.error == std::errc::permission_denied || opened.error == std::errc::operation_not_permitted;
    if (!mustBeNew && denied && unlink(path.c_str()) == 0) return createOwnFile(path, true, everyoneWrites);
    result.error = opened.error;
    return result;
  }
  // ext4 writes a file that was emptied and written again out to the disk
  // when it is closed, which holds the job as long as the writing itself (and
  // a new, empty file emptied again alike). So a file with bytes is replaced
  // by a new one; where its name cannot be removed (a folder that only lets
  // its files be written), it is emptied.
  const bool hadBytes = hasBytes(opened.fd);
  if (!mustBeNew && hadBytes && unlink(path.c_str()) == 0) {
    opened.close();
    return createOwnFile(path, true, everyoneWrites);
  }
  if ((hadBytes && ftruncate(opened.fd, 0) != 0) || !(result.file = opened.release("wb")))
    result.error = {errno, std::system_category()};
  return result;
}

bool processEnded(long long process) { return kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH; }

std::error_code internal::makePrivateTempFolder(std::string& folder) {
  std::error_code error;
  const fs::path temp = fs::temp_directory_path(error);
  if (error) return error;
  removeFoldersOfEndedRuns(temp.string());
  std::string pattern =
      (temp / (std::string(internal::kPrivateFolderPrefix) + std::to_string(getpid()) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) return {errno, std::generic_category()};
  folder = pattern;
  return {};
}

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace pliego
