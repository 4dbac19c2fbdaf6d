#pragma once
// File-system services that differ between Windows and Linux.
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

}  // namespace pliego
