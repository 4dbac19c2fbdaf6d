#pragma once
// The C library's calls and the path conversions that differ by system:
// opening a file by its narrow path, file positions past 2 GB, the local time.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace pliego {

// Paths are narrow text in the system's 8-bit code page: on Windows the ANSI
// code page, the one the "A" functions (GetModuleFileNameA, CreateFileA, the
// profile functions) take. These two are the one place where such a path
// becomes a std::filesystem::path and back; never build a path from a
// std::string directly, which on Windows would read it in another encoding.
std::filesystem::path nativePath(std::string_view path);
std::string narrowPath(const std::filesystem::path& path);

// Opens a file with the C library (`mode` as for fopen), by the rule above.
std::FILE* openFile(std::string_view path, const char* mode);

// fseek and ftell with 64-bit offsets.
bool seekFile(std::FILE* file, std::int64_t offset, int from);
std::int64_t tellFile(std::FILE* file);

// `when` in the computer's time zone.
std::tm localTime(std::time_t when);

}  // namespace pliego
