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
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.hpp"
#include "settings/safe_file.hpp"

namespace pliego {

namespace {

std::string_view orEmpty(const char* text) { return text ? std::string_view(text) : std::string_view(); }

// A text that starts and ends with the same quote loses those two quotes.
std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    return text.substr(1, text.size() - 2);
  return text;
}

// Trailing spaces go (a default of only spaces keeps one), then outer quotes.
std::string_view cleanDefault(const char* defaultText) {
  std::string_view text = orEmpty(defaultText);
  if (!text.empty() && text.find_first_not_of(' ') == std::string_view::npos) return " ";
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return unquoted(text);
}

std::uint32_t placeText(std::string_view text, char* buffer, std::uint32_t size) {
  if (size == 0) return 0;
  const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), size - 1));
  if (count > 0) std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return count;
}

// Names each followed by a NUL, then two NULs. A list that does not leave
// room for both is cut to size - 2 bytes.
std::uint32_t placeList(const std::vector<std::string_view>& names, char* buffer, std::uint32_t size) {
  if (size < 2) return placeText({}, buffer, size);
  std::string list;
  for (const auto name : names) {
    list += name;
    list += '\0';
  }
  const auto count = static_cast<std::uint32_t>(list.size() + 2 <= size ? list.size() : size - 2);
  if (count > 0) std::memcpy(buffer, list.data(), count);
  buffer[count] = buffer[count + 1] = '\0';
  return count;
}

std::string edited(const IniDocument& document, const char* section, const char* key, const char* value) {
  if (!key) return document.withoutSection(section);
  if (!value) return document.withoutKey(section, key);
  return document.withValue(trimIniBlanks(section), trimIniBlanks(key), trimLeadingIniBlanks(value));
}

}  // namespace

std::uint32_t getPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path) {
  if (!buffer) return 0;
  const IniDocument document(path ? readFileBytes(path).value_or(std::string()) : std::string());
  if (!section) return placeList(document.sectionNames(), buffer, size);
  if (!key) {
    const auto keys = document.keyNames(section);
    if (keys && !keys->empty()) return placeList(*keys, buffer, size);
    return placeText(cleanDefault(defaultText), buffer, size);
  }
  const auto value = document.value(trimIniBlanks(section), trimIniBlanks(key));
  return placeText(value ? unquoted(*value) : cleanDefault(defaultText), buffer, size);
}

bool privateProfileReadable(const char* path) {
  if (!path) return true;
  if (readFileBytes(path)) return true;
  std::error_code error;
  return !std::filesystem::exists(path, error) && !error;
}

static int platformWrite(const char* section, const char* key, const char* value, const char* path) {
  if (!section || !path || !*path) return 0;
  FileRewrite file(path);
  if (!file.readable()) return 0;
  const IniDocument document(file.bytes());
  const std::string content = edited(document, section, key, value);
  if (content == file.bytes()) return 1;
  return file.replace(content) ? 1 : 0;
}

static std::vector<std::string> platformWriteEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                     const char* path) {
  std::vector<std::string> all;
  for (const auto& entry : entries) all.push_back(entry.key);
  if (!section || !path || !*path) return all;
  FileRewrite file(path);
  if (!file.readable()) return all;
  std::string content = file.bytes();
  for (const auto& entry : entries)
    content = IniDocument(content).withValue(trimIniBlanks(section), trimIniBlanks(entry.key),
                                             trimLeadingIniBlanks(entry.value));
  if (content == file.bytes() || file.replace(content)) return {};
  return all;
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
