#include "settings/private_profile.hpp"

#include <cstring>

#include "settings/system_profile.hpp"

namespace pliego {

namespace {
bool breaksLine(const char* text) { return text && std::strpbrk(text, "\r\n") != nullptr; }
}  // namespace

// Nothing is quoted in the file: a CR or LF in a name or a value would end
// the line there and let the rest pass for lines of its own. Such a write is
// refused before it reaches the file, on every platform.
int writePrivateProfileString(const char* section, const char* key, const char* value, const char* path) {
  if (breaksLine(section) || breaksLine(key) || (key && breaksLine(value))) return 0;
  return systemWriteProfileString(section, key, value, path);
}

std::vector<std::string> writePrivateProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                    const char* path) {
  bool breaks = breaksLine(section);
  for (const auto& entry : entries) breaks = breaks || breaksLine(entry.key.c_str()) || breaksLine(entry.value.c_str());
  if (!breaks) return systemWriteProfileEntries(section, entries, path);
  std::vector<std::string> all;
  for (const auto& entry : entries) all.push_back(entry.key);
  return all;
}

}  // namespace pliego
