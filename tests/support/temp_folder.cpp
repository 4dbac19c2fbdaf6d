#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/files.hpp"

namespace fs = std::filesystem;

namespace pliego::testing {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "pliego-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
  if (info) name += std::string("-") + info->name();
  path_ = narrowPath(fs::temp_directory_path() / name);
  fs::remove_all(nativePath(path_));
  fs::create_directories(nativePath(path_));
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::permissions(nativePath(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(nativePath(path_), ignored);
}

std::string TempFolder::file(const std::string& name) const { return joinPath(path_, name); }

void TempFolder::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(nativePath(file(name)), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string TempFolder::read(const std::string& name) const { return readBytes(file(name)); }

std::string readBytes(const std::string& path) {
  std::ifstream in(nativePath(path), std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool TempFolder::exists(const std::string& name) const { return fs::exists(nativePath(file(name))); }

std::vector<std::string> splitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const auto end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end in CR LF: " << bytes.substr(start);
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string joinCrLf(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

}  // namespace pliego::testing
