#pragma once
// A fresh folder under the system's temporary folder, removed afterwards,
// with small helpers to write and read files as bytes.
#include <filesystem>
#include <string>
#include <vector>

namespace pliego::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // Paths in the system's code page, joined with the system's separator.
  std::string file(const std::string& name) const;
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

// The bytes of the file at `path` ("" when it cannot be read).
std::string readBytes(const std::string& path);

// The lines of `bytes`, each of which must end in CR LF.
std::vector<std::string> splitCrLf(const std::string& bytes);
// Lines joined, each followed by CR LF.
std::string joinCrLf(const std::vector<std::string>& lines);

}  // namespace pliego::testing
