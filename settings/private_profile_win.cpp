// The profile functions of kernel32.
#include "settings/private_profile.hpp"
#include "settings/system_profile.hpp"

#include <windows.h>

namespace pliego {

std::uint32_t getPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path) {
  return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

int systemWriteProfileString(const char* section, const char* key, const char* value, const char* path) {
  return WritePrivateProfileStringA(section, key, value, path);
}

bool privateProfileReadable(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  CloseHandle(file);
  return true;
}

std::vector<std::string> systemWriteProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                   const char* path) {
  std::vector<std::string> failed;
  for (const auto& entry : entries)
    if (!WritePrivateProfileStringA(section, entry.key.c_str(), entry.value.c_str(), path)) failed.push_back(entry.key);
  return failed;
}

}  // namespace pliego

