#include "settings/private_profile.hpp"

#include <cstring>

#ifdef _WIN32
#include <windows.h>

namespace pliego {

std::uint32_t getPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path) {
  return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

static int platformWrite(const char* section, const char* key, const char* value, const char* path) {
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

static std::vector<std::string> platformWriteEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                     const char* path) {
  std::vector<std::string> failed;
  for (const auto& entry : entries)
    if (!WritePrivateProfileStringA(section, entry.key.c_str(), entry.value.c_str(), path)) failed.push_back(entry.key);
  return failed;
}

}  // namespace pliego

#else
#include "settings/own_profile.hpp"

namespace pliego {

std::uint32_t getPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path) {
  return ownGetPrivateProfileString(section, key, defaultText, buffer, size, path);
}

bool privateProfileReadable(const char* path) { return ownPrivateProfileReadable(path); }

static int platformWrite(const char* section, const char* key, const char* value, const char* path) {
  return ownWritePrivateProfileString(section, key, value, path);
}

static std::vector<std::string> platformWriteEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                     const char* path) {
  return ownWritePrivateProfileEntries(section, entries, path);
}

}  // namespace pliego
#endif

namespace pliego {

namespace {
bool breaksLine(const char* text) { return text && std::strpbrk(text, "\r\n") != nullptr; }
}  // namespace

// Nothing is quoted in the file: a CR or LF in a name or a value would end
// the line there and let the rest pass for lines of its own. Such a write is
// refused before it reaches the file, on every platform.
int writePrivateProfileString(const char* section, const char* key, const char* value, const char* path) {
  if (breaksLine(section) || breaksLine(key) || (key && breaksLine(value))) return 0;
  return platformWrite(section, key, value, path);
}

std::vector<std::string> writePrivateProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                    const char* path) {
  bool breaks = breaksLine(section);
  for (const auto& entry : entries) breaks = breaks || breaksLine(entry.key.c_str()) || breaksLine(entry.value.c_str());
  if (!breaks) return platformWriteEntries(section, entries, path);
  std::vector<std::string> all;
  for (const auto& entry : entries) all.push_back(entry.key);
  return all;
}

}  // namespace pliego
