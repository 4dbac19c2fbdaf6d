#include "platform/files.hpp"

#include <filesystem>
#include <system_error>

#include "common/text.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace pliego {

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += kPathSeparator;
  path += name;
  return path;
}

std::string withoutTrailingSeparator(std::string folder) {
  if (!folder.empty() && (folder.back() == kPathSeparator || folder.back() == '/')) folder.pop_back();
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

fs::path folderPath(std::string_view folder) { return folder.empty() ? fs::path("/") : fs::path(std::string(folder)); }

}  // namespace

std::optional<std::string> findFileNoCase(std::string_view folder, std::string_view name) {
  std::error_code error;
  const fs::directory_entry exact(folderPath(folder) / std::string(name), error);
  if (!error && isVisiblePlainFile(exact)) return std::string(name);
  const std::string wanted = toUpperAscii(name);
  for (fs::directory_iterator it(folderPath(folder), error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (toUpperAscii(candidate) == wanted && isVisiblePlainFile(*it)) return candidate;
  }
  return std::nullopt;
}

std::vector<std::string> listFilesWithExtension(std::string_view folder, std::string_view extension) {
  std::vector<std::string> names;
  const std::string wanted = toUpperAscii(extension);
  for (const auto& entry : fs::directory_iterator(folderPath(folder))) {
    const std::string name = entry.path().filename().string();
    if (name.size() > wanted.size() && toUpperAscii(name.substr(name.size() - wanted.size())) == wanted &&
        isVisiblePlainFile(entry))
      names.push_back(name);
  }
  return names;
}

}  // namespace pliego
