#include "common/system_io.hpp"

#include <windows.h>

#include <cstring>

namespace pliego {

std::filesystem::path nativePath(std::string_view path) {
  if (path.empty()) return {};
  const int size = static_cast<int>(path.size());
  const int count = MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), count);
  return std::filesystem::path(std::move(wide));
}

std::string narrowPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, narrow.data(), count, nullptr, nullptr);
  return narrow;
}

std::FILE* openFile(std::string_view path, const char* mode) {
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(nativePath(path).c_str(), wideMode.c_str());
}

bool seekFile(std::FILE* file, std::int64_t offset, int from) { return _fseeki64(file, offset, from) == 0; }

std::int64_t tellFile(std::FILE* file) { return _ftelli64(file); }

std::tm localTime(std::time_t when) {
  std::tm local{};
  localtime_s(&local, &when);
  return local;
}

}  // namespace pliego
