#pragma once
// File-system services that differ between Windows and Linux.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pliego {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `folder` followed by the separator and `name`.
std::string joinPath(std::string_view folder, std::string_view name);

// Drops one trailing separator, so a drive root "F:\" becomes "F:" and the
// Linux root "/" becomes "".
std::string withoutTrailingSeparator(std::string folder);

// The folder that holds the running executable, without a trailing separator.
std::string executableFolder();

// The name of a plain, visible file in `folder` that matches `name` without
// regard to ASCII letter case; an exact match is preferred. Nothing when none.
std::optional<std::string> findFileNoCase(std::string_view folder, std::string_view name);

// The names of the plain, visible files in `folder` whose extension is
// `extension` (with its dot) without regard to ASCII case, in the order the
// file system gives them. Throws std::filesystem::filesystem_error when the
// folder cannot be read.
std::vector<std::string> listFilesWithExtension(std::string_view folder, std::string_view extension);

// A file the program writes in a shared folder, opened for writing.
struct OwnFile {
  std::FILE* file = nullptr;  // nothing when it could not be opened
  int error = 0;              // the errno (or Windows code) of the failure
  // Something else stands at the name: a link, a folder, a device, or a
  // file that has other names too. It is left as it was.
  bool notPlain = false;
};

// Opens `path` to write a file of the program's own: creates it, or empties
// it when it is a plain file with no other name (when `mustBeNew`, only
// creates it). Never follows a link, so that it never writes into another
// file.
OwnFile createOwnFile(const std::string& path, bool mustBeNew = false);

// The name of any entry of `folder` (a file, a folder, a link, hidden or
// not) that matches `name` without regard to ASCII letter case; an exact
// match is preferred. Nothing when none.
std::optional<std::string> findEntryNoCase(std::string_view folder, std::string_view name);

// True when `path` is a plain file itself, not a link to one.
bool isPlainFileNoLink(const std::string& path);

// A folder under the system's temporary folder that only this user may
// read, the same one for the whole run of the program; created on the first
// call. Throws std::filesystem::filesystem_error when it cannot be made.
const std::string& privateTempFolder();

// Makes a write past the process's file-size limit fail (EFBIG), so that the
// job tells it, instead of ending the program by a signal. Called once at
// start-up by every program built on the core.
void ignoreFileSizeLimitSignal();

}  // namespace pliego
