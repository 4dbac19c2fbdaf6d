#pragma once
// Whole-file reads and safe replacement of the INI file where the platform
// offers no private-profile functions.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shared_file.hpp"

namespace pliego {

// The bytes of a file; nothing when it is missing or cannot be read.
std::optional<std::string> readFileBytes(const std::string& path);

// A file read, changed and replaced as a whole. While the object lives it
// holds an exclusive lock on the file (when the file system offers one), so
// that two programs sharing the folder do not both rewrite it from the same
// old content; a missing file is created empty to be locked, and removed
// again when nothing is written to it. When another program keeps the lock
// for seconds, the file counts as unreadable and the write fails rather
// than losing that program's change.
class FileRewrite {
 public:
  explicit FileRewrite(const std::string& path);
  ~FileRewrite();
  FileRewrite(const FileRewrite&) = delete;
  FileRewrite& operator=(const FileRewrite&) = delete;

  // False when the file exists but cannot be read or locked, or its folder
  // is missing.
  bool readable() const { return readable_; }
  // The current bytes; empty for a missing file.
  const std::string& bytes() const { return bytes_; }
  // Writes `content` to a temporary file in the same folder, flushes it to
  // disk and renames it over the file. On failure the temporary file is
  // removed and the file stays as it was.
  bool replace(std::string_view content);

 private:
  // Opens the file into file_, creating it when missing; false when neither works.
  bool openOrCreate(std::chrono::steady_clock::time_point deadline);

  std::string path_;
  SharedFile file_;
  bool created_ = false;
  bool replaced_ = false;
  bool readable_ = false;
  std::string bytes_;
};

}  // namespace pliego
