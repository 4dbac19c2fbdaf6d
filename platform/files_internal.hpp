#pragma once
// What files.cpp needs from the file of its system.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace pliego::internal {

inline constexpr std::string_view kPrivateFolderPrefix = "pliegomatic-";

// "F:\": the root of a drive, as opposed to "F:", the drive's current folder.
bool isDriveRoot(std::string_view folder);

// The running executable's full path.
std::string executablePath();

// A plain file the user can see: not a folder, not hidden, not a system file.
bool isVisiblePlainFile(const std::filesystem::directory_entry& entry);

// A folder, and one of this user's (the temporary folder is the user's own on Windows).
bool isFolderOfThisUser(const std::filesystem::path& path);

// Makes this run's private folder (see privateTempFolder).
std::error_code makePrivateTempFolder(std::string& folder);

}  // namespace pliego::internal
