#include "settings/own_profile.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.hpp"
#include "settings/ini_encoding.hpp"
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

// The file after one edit of its text, in the file's own encoding.
std::string editedFile(const std::string& file, const std::function<IniEdit(const IniDocument&)>& edit) {
  const DecodedIni decoded(file);
  const IniEdit change = edit(IniDocument(decoded.text()));
  return change.changes() ? decoded.spliced(file, change.begin, change.end, change.insert) : file;
}

std::string edited(const std::string& file, const char* section, const char* key, const char* value) {
  return editedFile(file, [&](const IniDocument& document) {
    if (!key) return document.removingSection(section);
    if (!value) return document.removingKey(section, key);
    return document.storing(trimIniBlanks(section), trimIniBlanks(key), trimLeadingIniBlanks(value));
  });
}

}  // namespace

std::uint32_t ownGetPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path) {
  if (!buffer) return 0;
  const DecodedIni decoded(path ? readFileBytes(path).value_or(std::string()) : std::string());
  const IniDocument document(decoded.text());
  if (!section) return placeList(document.sectionNames(), buffer, size);
  if (!key) {
    const auto keys = document.keyNames(section);
    if (keys && !keys->empty()) return placeList(*keys, buffer, size);
    return placeText(cleanDefault(defaultText), buffer, size);
  }
  const auto value = document.value(trimIniBlanks(section), trimIniBlanks(key));
  return placeText(value ? unquoted(*value) : cleanDefault(defaultText), buffer, size);
}

bool ownPrivateProfileReadable(const char* path) {
  if (!path) return true;
  if (readFileBytes(path)) return true;
  std::error_code error;
  return !std::filesystem::exists(path, error) && !error;
}

int ownWritePrivateProfileString(const char* section, const char* key, const char* value, const char* path) {
  if (!section || !path || !*path) return 0;
  FileRewrite file(path);
  if (!file.readable()) return 0;
  const std::string content = edited(file.bytes(), section, key, value);
  if (content == file.bytes()) return 1;
  return file.replace(content) ? 1 : 0;
}

std::vector<std::string> ownWritePrivateProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                       const char* path) {
  std::vector<std::string> all;
  for (const auto& entry : entries) all.push_back(entry.key);
  if (!section || !path || !*path) return all;
  FileRewrite file(path);
  if (!file.readable()) return all;
  std::string content = file.bytes();
  for (const auto& entry : entries)
    content = edited(content, section, entry.key.c_str(), entry.value.c_str());
  if (content == file.bytes() || file.replace(content)) return {};
  return all;
}

}  // namespace pliego
