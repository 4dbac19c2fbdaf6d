#include "settings/cinifile.hpp"

#include <algorithm>

#include "settings/private_profile.hpp"

namespace pliego {

namespace {

constexpr std::uint32_t kValueBuffer = 255;
constexpr std::uint32_t kListBuffer = 8192;

std::string readProfile(const char* section, const char* key, const std::string& defaultText,
                        std::uint32_t size, const std::string& path) {
  std::string buffer(size, '\0');
  const std::uint32_t count =
      getPrivateProfileString(section, key, defaultText.c_str(), buffer.data(), size, path.c_str());
  buffer.resize(std::min(count, size));
  return buffer;
}

// The pieces of a NUL-separated list; text after the last NUL is left out.
void splitList(const std::string& list, bool keepEmpty, std::vector<std::string>& names,
               std::int32_t& count) {
  std::size_t start = 0;
  for (std::size_t p = list.find('\0'); p != std::string::npos; p = list.find('\0', start)) {
    if (p > start || keepEmpty) {
      names.push_back(list.substr(start, p - start));
      ++count;
    }
    start = p + 1;
  }
}

}  // namespace

bool cInifile::Readable() const { return privateProfileReadable(path_.c_str()); }

std::string cInifile::Value() const {
  return readProfile(section_.c_str(), key_.c_str(), default_, kValueBuffer, path_);
}

void cInifile::Value(const std::string& sValue) {
  std::string cleaned = sValue;
  std::erase(cleaned, '\0');
  lastReturnCode_ = writePrivateProfileString(section_.c_str(), key_.c_str(), cleaned.c_str(), path_.c_str());
}

std::vector<std::string> cInifile::WriteEntries(std::vector<ProfileEntry> entries) {
  for (auto& entry : entries) std::erase(entry.value, '\0');
  auto failed = writePrivateProfileEntries(section_.c_str(), entries, path_.c_str());
  lastReturnCode_ = failed.empty() ? 1 : 0;
  return failed;
}

void cInifile::DeleteKey() {
  lastReturnCode_ = writePrivateProfileString(section_.c_str(), key_.c_str(), nullptr, path_.c_str());
}

void cInifile::DeleteSection() {
  lastReturnCode_ = writePrivateProfileString(section_.c_str(), nullptr, nullptr, path_.c_str());
}

std::string cInifile::INISection() const {
  return readProfile(section_.c_str(), nullptr, default_, kListBuffer, path_);
}

void cInifile::INISection(const std::string& sSection) {
  // Without a key the whole current section goes; the text is not stored.
  lastReturnCode_ = writePrivateProfileString(section_.c_str(), nullptr, sSection.c_str(), path_.c_str());
}

std::string cInifile::Sections() const { return readProfile(nullptr, nullptr, default_, kListBuffer, path_); }

void cInifile::EnumerateCurrentSection(std::vector<std::string>& sKey, std::int32_t& iCount) const {
  sKey.clear();
  iCount = 0;
  splitList(INISection(), true, sKey, iCount);
}

void cInifile::EnumerateAllSections(std::vector<std::string>& sSections, std::int32_t& iCount) const {
  sSections.clear();
  iCount = 0;
  splitList(Sections(), false, sSections, iCount);
}

}  // namespace pliego
