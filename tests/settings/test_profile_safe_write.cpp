// A write replaces the file as a whole or not at all.
#include <filesystem>

#include "settings/file_size_limit.hpp"
#include "settings/ini_fixture.hpp"

using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

class ProfileSafeWrite : public IniFolder {
 protected:
  std::vector<std::string> folderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename());
    return names;
  }
};

TEST_F(ProfileSafeWrite, WriteThatFailsPartWayLeavesTheOldFile) {
  const std::string old = "; a mano\r\n[A]\r\nx=1\r\n";
  give(old);
  const std::string big(20000, 'v');
  int result = -1;
  {
    const FileSizeLimit limit(4096);
    result = write("A", "x", big.c_str());
  }
  EXPECT_EQ(result, 0);
  EXPECT_EQ(contents(), old);
  EXPECT_EQ(folderNames(), std::vector<std::string>{"Pliegomatic.ini"});
  // Once the limit is gone the same write goes through.
  EXPECT_NE(write("A", "x", big.c_str()), 0);
  EXPECT_EQ(read("A", "x", "", 30000), big);
}

TEST_F(ProfileSafeWrite, LeavesNoTemporaryFileAndKeepsThePermissions) {
  give("[A]\r\nx=1\r\n");
  fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_NE(write("A", "x", "2"), 0);
  EXPECT_EQ(contents(), "[A]\r\nx=2\r\n");
  EXPECT_EQ(folderNames(), std::vector<std::string>{"Pliegomatic.ini"});
  EXPECT_EQ(fs::status(ini).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileSafeWrite, SymbolicLinkKeepsPointingAtTheRealFile) {
  folder.write("real.ini", "[A]\r\nx=1\r\n");
  fs::create_symlink(folder.file("real.ini"), ini);
  EXPECT_NE(write("A", "x", "2"), 0);
  EXPECT_TRUE(fs::is_symlink(ini));
  EXPECT_EQ(folder.read("real.ini"), "[A]\r\nx=2\r\n");
}

TEST_F(ProfileSafeWrite, UnreadableFileIsNotTakenForAMissingOne) {
  fs::create_directory(ini);  // a folder where the file should be
  EXPECT_EQ(write("A", "x", "1"), 0);
  EXPECT_TRUE(fs::is_directory(ini));
  EXPECT_TRUE(fs::is_empty(ini));
}

}  // namespace
