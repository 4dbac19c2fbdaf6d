#include "common/system_io.hpp"

#include <sys/types.h>

namespace pliego {

std::filesystem::path nativePath(std::string_view path) { return std::filesystem::path(std::string(path)); }

std::string narrowPath(const std::filesystem::path& path) { return path.string(); }

std::FILE* openFile(std::string_view path, const char* mode) { return std::fopen(std::string(path).c_str(), mode); }

bool seekFile(std::FILE* file, std::int64_t offset, int from) {
  return fseeko(file, static_cast<off_t>(offset), from) == 0;
}

std::int64_t tellFile(std::FILE* file) { return static_cast<std::int64_t>(ftello(file)); }

std::tm localTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

}  // namespace pliego
