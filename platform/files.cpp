#include "platform/files.hpp"

#include <filesystem>
#include <mutex>
#include <system_error>

#include "common/text.hpp"
#include "platform/files_internal.hpp"

namespace fs = std::filesystem;

namespace pliego {

using internal::isVisiblePlainFile;
using internal::kPrivateFolderPrefix;

namespace {

bool isSeparator(char c) { return c == kPathSeparator || c == '/'; }

}  // namespace

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || !isSeparator(path.back())) path += kPathSeparator;
  path += name;
  return path;
}

namespace {

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

}  // namespace

void removeFoldersOfEndedRuns(const std::string& temp) {
  std::error_code error;
  for (fs::directory_iterator it(nativePath(temp), error), end; !error && it != end; it.increment(error)) {
    const long long process = privateFolderProcess(narrowPath(it->path().filename()));
    std::error_code ignored;
    if (process != 0 && internal::isFolderOfThisUser(it->path()) && processEnded(process))
      fs::remove_all(it->path(), ignored);
  }
}

std::string withoutTrailingSeparator(std::string folder) {
  if (!folder.empty() && isSeparator(folder.back()) && !internal::isDriveRoot(folder)) folder.pop_back();
  return folder;
}

std::string executableFolder() {
  const std::string exe = internal::executablePath();
  const auto slash = exe.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  return withoutTrailingSeparator(exe.substr(0, slash + 1));
}

namespace {

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

std::error_code listFilesWithExtension(std::string_view folder, std::string_view extension,
                                       std::vector<std::string>& names) {
  names.clear();
  const std::string wanted = toUpperAscii(extension);
  std::error_code error;
  for (fs::directory_iterator it(folderPath(folder), error), end; !error && it != end; it.increment(error)) {
    const std::string name = narrowPath(it->path().filename());
    if (name.size() > wanted.size() && toUpperAscii(name.substr(name.size() - wanted.size())) == wanted &&
        isVisiblePlainFile(*it))
      names.push_back(name);
  }
  if (error) names.clear();
  return error;
}

std::optional<std::string> findEntryNoCase(std::string_view folder, std::string_view name) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(folderPath(folder) / nativePath(name), error))) return std::string(name);
  const std::string wanted = toUpperAscii(name);
  for (fs::directory_iterator it(folderPath(folder), error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = narrowPath(it->path().filename());
    if (toUpperAscii(candidate) == wanted) return candidate;
  }
  return std::nullopt;
}

std::error_code privateTempFolder(std::string& folder) {
  static std::mutex mutex;
  static std::string made;
  const std::lock_guard lock(mutex);
  if (made.empty())
    if (const std::error_code error = internal::makePrivateTempFolder(made)) return error;
  folder = made;
  return {};
}

bool isPlainFileNoLink(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::symlink_status(nativePath(path), error));
}

}  // namespace pliego
