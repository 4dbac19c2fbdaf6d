// File-system services on Windows.
#include <windows.h>

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "platform/files_internal.hpp"
#include "platform/last_error_win.hpp"
#include "platform/shared_file.hpp"

namespace fs = std::filesystem;

namespace pliego {

std::error_code replaceFile(std::string_view from, std::string_view to) {
  std::error_code error;
  fs::rename(nativePath(from), nativePath(to), error);
  return error;
}

namespace internal {

bool isDriveRoot(std::string_view folder) {
  return folder.size() == 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
}

std::string executablePath() {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n);
}

bool isVisiblePlainFile(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return false;
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY));
}

bool isFolderOfThisUser(const fs::path& path) {
  std::error_code error;
  return fs::symlink_status(path, error).type() == fs::file_type::directory;
}

}  // namespace internal

OwnFile createOwnFile(const std::string& path, bool mustBeNew, bool everyoneWrites) {
  OwnFile result;
  SharedFile opened = openSharedFile(path, SharedAccess::Write,
                                     mustBeNew ? SharedCreation::MustBeNew : SharedCreation::OrCreate, everyoneWrites);
  result.error = opened.error;
  if (!opened.ok()) return result;
  if (!SetEndOfFile(opened.handle)) {
    result.error = lastWindowsError();
    return result;
  }
  result.file = opened.release("wb");
  if (!result.file) result.error = lastWindowsError();
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

std::error_code internal::makePrivateTempFolder(std::string& folder) {
  std::error_code error;
  const fs::path temp = fs::temp_directory_path(error);
  if (error) return error;
  removeFoldersOfEndedRuns(narrowPath(temp));
  const fs::path path = temp / (std::string(internal::kPrivateFolderPrefix) + std::to_string(GetCurrentProcessId()));
  fs::create_directories(path, error);
  if (!error) folder = narrowPath(path);
  return error;
}

void ignoreFileSizeLimitSignal() {}

}  // namespace pliego
