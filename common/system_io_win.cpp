#include "common/system_io.hpp"

namespace pliego {

bool seekFile(std::FILE* file, std::int64_t offset, int from) { return _fseeki64(file, offset, from) == 0; }

std::int64_t tellFile(std::FILE* file) { return _ftelli64(file); }

std::tm localTime(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

}  // namespace pliego
