#pragma once
// File-system services that differ between Windows and Linux.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <string_view>
#include <vector>

#include "common/system_io.hpp"

#include "platform/shared_file.hpp"

namespace pliego {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// nativePath, narrowPath and openFile, the path rule of the whole program,
// come from common/system_io.hpp.

// `folder` followed by the separator and `name`; no second separator after a
// folder that ends in one (a drive root).
std::string joinPath(std::string_view folder, std::string_view name);

// Puts the file `from` in the place of `to` (a plain file, or nothing), in
// the same folder; `to` names a whole file, the old or the new, at every
// moment. On Linux the two names are swapped and the old file removed: ext4
// writes a file out to the disk at once when it is renamed over another,
// which takes as long as writing it, and not when names are swapped. Where
// the file system cannot swap, `from` is renamed over `to`.
std::error_code replaceFile(std::string_view from, std::string_view to);

// Drops one trailing separator, so the Linux root "/" becomes "". A Windows
// drive root keeps its separator: "F:\" is the root, "F:" would be the
// drive's current folder.
std::string withoutTrailingSeparator(std::string folder);

// The folder that holds the running executable, without a trailing separator.
std::string executableFolder();

// The name of a plain, visible file in `folder` that matches `name` without
// regard to ASCII letter case; an exact match is preferred. Nothing when none.
std::optional<std::string> findFileNoCase(std::string_view folder, std::string_view name);

// Puts in `names` the plain, visible files in `folder` whose extension is
// `extension` (with its dot) without regard to ASCII case, in the order the
// file system gives them. The system's error, and no names, when the folder
// cannot be read to the end.
[[nodiscard]] std::error_code listFilesWithExtension(std::string_view folder, std::string_view extension,
                                                     std::vector<std::string>& names);

// A file the program writes in a shared folder, opened for writing.
struct OwnFile {
  std::FILE* file = nullptr;  // nothing when it could not be opened
  std::error_code error;      // why not: a FileError, or the system's code
  // Something else stands at the name: a link, a folder, a device, or a
  // file that has other names too. It is left as it was.
  bool notPlain() const { return error == FileError::NotPlain || error == FileError::Exists; }
};

// Opens `path` to write a file of the program's own: creates it, or, when it
// is a plain file with no other name, replaces it by a new one (on Linux; it
// is emptied on Windows, and where its name cannot be removed). When
// `mustBeNew`, only creates it. Never follows a link, so that it never
// writes into another file. `everyoneWrites` as for openSharedFile.
OwnFile createOwnFile(const std::string& path, bool mustBeNew = false, bool everyoneWrites = false);

// The name of any entry of `folder` (a file, a folder, a link, hidden or
// not) that matches `name` without regard to ASCII letter case; an exact
// match is preferred. Nothing when none.
std::optional<std::string> findEntryNoCase(std::string_view folder, std::string_view name);

// True when `path` is a plain file itself, not a link to one.
bool isPlainFileNoLink(const std::string& path);

// A folder under the system's temporary folder that only this user may
// read, the same one for the whole run of the program, put in `folder`;
// made on the first call that succeeds. Its name is "pliegomatic-" and the
// process number (followed, on Linux, by "-" and six random letters); the
// folders of runs that ended are removed when it is made.
std::error_code privateTempFolder(std::string& folder);

// True when no process of this computer has the number `process` now.
bool processEnded(long long process);

// Removes the folders named as above, in `temp`, whose process no longer
// runs (on Linux, only those of this user). Nothing else is touched.
void removeFoldersOfEndedRuns(const std::string& temp);

// Makes a write past the process's file-size limit fail (EFBIG), so that the
// job tells it, instead of ending the program by a signal. Called once at
// start-up by every program built on the core.
void ignoreFileSizeLimitSignal();

}  // namespace pliego
