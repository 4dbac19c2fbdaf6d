#pragma once
// File-system services that differ between Windows and Linux.
#include <cstdio>
#include <filesystem>
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

// Paths are narrow text in the system's 8-bit code page: on Windows the ANSI
// code page, the one the "A" functions (GetModuleFileNameA, CreateFileA, the
// profile functions) take. These two are the one place where such a path
// becomes a std::filesystem::path and back; never build a path from a
// std::string directly, which on Windows would read it in another encoding.
std::filesystem::path nativePath(std::string_view path);
std::string narrowPath(const std::filesystem::path& path);

// Opens a file with the C library (`mode` as for fopen).
std::FILE* openFile(std::string_view path, const char* mode);

// `folder` followed by the separator and `name`; no second separator after a
// folder that ends in one (a drive root).
std::string joinPath(std::string_view folder, std::string_view name);

// Drops one trailing separator, so the Linux root "/" becomes "". A Windows
// drive root keeps its separator: "F:\" is the root, "F:" would be the
// drive's current folder.
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
