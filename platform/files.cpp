#include "platform/files.hpp"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/text.hpp"
#include "platform/shared_file.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pliego {

#ifdef _WIN32

fs::path nativePath(std::string_view path) {
  if (path.empty()) return {};
  const int size = static_cast<int>(path.size());
  const int count = MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), count);
  return fs::path(std::move(wide));
}

std::string narrowPath(const fs::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, narrow.data(), count, nullptr, nullptr);
  return narrow;
}

std::FILE* openFile(std::string_view path, const char* mode) {
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(nativePath(path).c_str(), wideMode.c_str());
}

#else

fs::path nativePath(std::string_view path) { return fs::path(std::string(path)); }

std::string narrowPath(const fs::path& path) { return path.string(); }

std::FILE* openFile(std::string_view path, const char* mode) { return std::fopen(std::string(path).c_str(), mode); }

#endif

namespace {

bool isSeparator(char c) { return c == kPathSeparator || c == '/'; }

// "F:\": the root of a drive, as opposed to "F:", the drive's current folder.
bool isDriveRoot(std::string_view folder) {
#ifdef _WIN32
  return folder.size() == 3 && folder[1] == ':' && isSeparator(folder[2]);
#else
  (void)folder;
  return false;
#endif
}

}  // namespace

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || !isSeparator(path.back())) path += kPathSeparator;
  path += name;
  return path;
}

void replaceFile(std::string_view from, std::string_view to, std::error_code& error) {
#ifndef _WIN32
  const std::string fromPath(from), toPath(to);
  if (renameat2(AT_FDCWD, fromPath.c_str(), AT_FDCWD, toPath.c_str(), RENAME_EXCHANGE) == 0) {
    unlink(fromPath.c_str());  // the old file, under the passing name now
    return;
  }
  // Nothing to swap with, or a file system that cannot swap: renamed over.
  if (errno != ENOENT && errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
    error.assign(errno, std::generic_category());
    return;
  }
#endif
  fs::rename(nativePath(from), nativePath(to), error);
}

namespace {

constexpr std::string_view kPrivateFolderPrefix = "pliegomatic-";

// The process that made the private folder `name` ("pliegomatic-<number>",
// or that followed by "-" and letters); 0 when the name is not of that form.
long long privateFolderProcess(std::string_view name) {
  if (!name.starts_with(kPrivateFolderPrefix)) return 0;
  name.remove_prefix(kPrivateFolderPrefix.size());
  const std::size_t dash = name.find('-');
  const std::string_view number = name.substr(0, dash);
  if (dash != std::string_view::npos && dash + 1 == name.size()) return 0;
  if (number.empty() || number.size() > 10 || number.find_first_not_of("0123456789") != std::string_view::npos)
    return 0;
  return std::stoll(std::string(number));
}

bool isFolderOfThisUser(const fs::path& path);

}  // namespace

void removeFoldersOfEndedRuns(const std::string& temp) {
  std::error_code error;
  for (fs::directory_iterator it(nativePath(temp), error), end; !error && it != end; it.increment(error)) {
    const long long process = privateFolderProcess(narrowPath(it->path().filename()));
    std::error_code ignored;
    if (process != 0 && isFolderOfThisUser(it->path()) && processEnded(process)) fs::remove_all(it->path(), ignored);
  }
}

std::string withoutTrailingSeparator(std::string folder) {
  if (!folder.empty() && isSeparator(folder.back()) && !isDriveRoot(folder)) folder.pop_back();
  return folder;
}

std::string executableFolder() {
#ifdef _WIN32
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string exe(buffer, n);
#else
  std::error_code error;
  const std::string exe = fs::read_symlink("/proc/self/exe", error).string();
#endif
  const auto slash = exe.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  return withoutTrailingSeparator(exe.substr(0, slash + 1));
}

namespace {

// A plain file the user can see: not a folder, not hidden, not a system file.
bool isVisiblePlainFile(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return false;
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
#else
  const std::string name = entry.path().filename().string();
  return !name.empty() && name.front() != '.';
#endif
}

fs::path folderPath(std::string_view folder) { return folder.empty() ? fs::path("/") : nativePath(folder); }

}  // namespace

std::optional<std::string> findFileNoCase(std::string_view folder, std::string_view name) {
  std::error_code error;
  const fs::directory_entry exact(folderPath(folder) / nativePath(name), error);
  if (!error && isVisiblePlainFile(exact)) return std::string(name);
  const std::string wanted = toUpperAscii(name);
  for (fs::directory_iterator it(folderPath(folder), error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = narrowPath(it->path().filename());
    if (toUpperAscii(candidate) == wanted && isVisiblePlainFile(*it)) return candidate;
  }
  return std::nullopt;
}

std::vector<std::string> listFilesWithExtension(std::string_view folder, std::string_view extension) {
  std::vector<std::string> names;
  const std::string wanted = toUpperAscii(extension);
  for (const auto& entry : fs::directory_iterator(folderPath(folder))) {
    const std::string name = narrowPath(entry.path().filename());
    if (name.size() > wanted.size() && toUpperAscii(name.substr(name.size() - wanted.size())) == wanted &&
        isVisiblePlainFile(entry))
      names.push_back(name);
  }
  return names;
}

std::optional<std::string> findEntryNoCase(std::string_view folder, std::string_view name) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(folderPath(folder) / std::string(name), error))) return std::string(name);
  const std::string wanted = toUpperAscii(name);
  for (fs::directory_iterator it(folderPath(folder), error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (toUpperAscii(candidate) == wanted) return candidate;
  }
  return std::nullopt;
}

bool isPlainFileNoLink(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::symlink_status(nativePath(path), error));
}

#ifdef _WIN32

OwnFile createOwnFile(const std::string& path, bool mustBeNew, bool everyoneWrites) {
  OwnFile result;
  SharedFile opened = openSharedFile(path, SharedAccess::Write,
                                     mustBeNew ? SharedCreation::MustBeNew : SharedCreation::OrCreate, everyoneWrites);
  result.notPlain = opened.notPlain;
  result.error = opened.error;
  if (!opened.ok()) return result;
  if (!SetEndOfFile(opened.handle)) {
    result.error = static_cast<int>(GetLastError());
    return result;
  }
  result.file = opened.release("wb");
  if (!result.file) result.error = static_cast<int>(GetLastError());
  return result;
}

bool processEnded(long long process) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
  if (!handle) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process; others are denied access
  DWORD code = 0;
  const bool ended = GetExitCodeProcess(handle, &code) && code != STILL_ACTIVE;
  CloseHandle(handle);
  return ended;
}

namespace {

// The temporary folder is the user's own on Windows.
bool isFolderOfThisUser(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() == fs::file_type::directory;
}

}  // namespace

const std::string& privateTempFolder() {
  static const std::string folder = [] {
    const fs::path temp = fs::temp_directory_path();
    removeFoldersOfEndedRuns(narrowPath(temp));
    const fs::path path = temp / (std::string(kPrivateFolderPrefix) + std::to_string(GetCurrentProcessId()));
    fs::create_directories(path);
    return narrowPath(path);
  }();
  return folder;
}

void ignoreFileSizeLimitSignal() {}

#else

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
    const bool denied = opened.error == EACCES || opened.error == EPERM;
    if (!mustBeNew && !opened.notPlain && denied && unlink(path.c_str()) == 0)
      return createOwnFile(path, true, everyoneWrites);
    result.error = opened.error;
    result.notPlain = opened.notPlain;
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
  if ((hadBytes && ftruncate(opened.fd, 0) != 0) || !(result.file = opened.release("wb"))) result.error = errno;
  return result;
}

bool processEnded(long long process) { return kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH; }

namespace {

bool isFolderOfThisUser(const fs::path& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

}  // namespace

const std::string& privateTempFolder() {
  static const std::string folder = [] {
    const fs::path temp = fs::temp_directory_path();
    removeFoldersOfEndedRuns(temp.string());
    std::string pattern = (temp / (std::string(kPrivateFolderPrefix) + std::to_string(getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
      throw fs::filesystem_error("mkdtemp", pattern, std::error_code(errno, std::generic_category()));
    return pattern;
  }();
  return folder;
}

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

#endif

}  // namespace pliego
