#pragma once
// A temporary folder with one INI file path, and the private-profile calls in
// the shape the tests need.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "settings/private_profile.hpp"
#include "support/temp_folder.hpp"

namespace pliego::testing {

class IniFolder : public ::testing::Test {
 protected:
  TempFolder folder;
  const std::string ini = folder.file("Pliegomatic.ini");

  void give(const std::string& bytes) const { folder.write("Pliegomatic.ini", bytes); }
  std::string contents() const { return folder.read("Pliegomatic.ini"); }

  // What a read places in a buffer of `size`, up to the returned count; the
  // byte after it must be a NUL.
  std::string read(const char* section, const char* key, const char* defaultText = "",
                   std::uint32_t size = 255) const {
    std::vector<char> buffer(size + 1, 'X');
    const std::uint32_t count = getPrivateProfileString(section, key, defaultText, buffer.data(), size, ini.c_str());
    EXPECT_LT(count, size);
    EXPECT_EQ(buffer[count], '\0') << "no NUL after the count";
    return std::string(buffer.data(), count);
  }
  int write(const char* section, const char* key, const char* value) const {
    return writePrivateProfileString(section, key, value, ini.c_str());
  }

  // Identity of the file on disk: a rewrite gives a new one.
  ino_t inode() const {
    struct stat info {};
    EXPECT_EQ(::stat(ini.c_str(), &info), 0);
    return info.st_ino;
  }
};

// Names each followed by a NUL.
inline std::string nulList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += name + '\0';
  return list;
}

}  // namespace pliego::testing
