// Our own profile functions, where the system has none.
#include "settings/private_profile.hpp"
#include "settings/system_profile.hpp"
#include "settings/own_profile.hpp"

namespace pliego {

std::uint32_t getPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path) {
  return ownGetPrivateProfileString(section, key, defaultText, buffer, size, path);
}

bool privateProfileReadable(const char* path) { return ownPrivateProfileReadable(path); }

int systemWriteProfileString(const char* section, const char* key, const char* value, const char* path) {
  return ownWritePrivateProfileString(section, key, value, path);
}

std::vector<std::string> systemWriteProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                   const char* path) {
  return ownWritePrivateProfileEntries(section, entries, path);
}

}  // namespace pliego
