// A write replaces the file as a whole or not at all.
// Linux only: limits the file size with setrlimit.
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// Anyone who may write the shared folder could plant the link: what it
// points at is never read nor written, nor created.
TEST_F(ProfileSafeWrite, SymbolicLinkIsRefusedAndWhatItPointsAtIsKept) {
  folder.write("real.ini", "[A]\r\nx=1\r\n");
  for (const std::string target : {"real.ini", "nuevo.ini"}) {
    SCOPED_TRACE(target);
    fs::remove(ini);
    fs::create_symlink(folder.file(target), ini);
    EXPECT_EQ(write("A", "x", "2"), 0);
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(folder.read("real.ini"), "[A]\r\nx=1\r\n");
    EXPECT_FALSE(folder.exists("nuevo.ini"));
  }
}

TEST_F(ProfileSafeWrite, UnreadableFileIsNotTakenForAMissingOne) {
  fs::create_directory(ini);  // a folder where the file should be
  EXPECT_EQ(write("A", "x", "1"), 0);
  EXPECT_TRUE(fs::is_directory(ini));
  EXPECT_TRUE(fs::is_empty(ini));
}

std::string thisHost() {
  char name[256] = {};
  ::gethostname(name, sizeof name - 1);
  return name;
}

// A process id that no process has any more.
pid_t goneProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

// Temporary files that a save killed half-way left behind: those of a process
// of this host that is gone, and any older than a day, go with the next save;
// others' files and those of live writers stay.
TEST_F(ProfileSafeWrite, TheNextSaveRemovesStaleTemporaryFilesOfOurOwnNaming) {
  give("[A]\r\nx=1\r\n");
  const std::string host = thisHost();
  const std::string gone = ".Pliegomatic.ini." + host + "." + std::to_string(goneProcess()) + ".3.tmp";
  const std::string live = ".Pliegomatic.ini." + host + "." + std::to_string(getppid()) + ".0.tmp";
  const std::string otherHost = ".Pliegomatic.ini.otra-estacion.1.0.tmp";
  const std::string oldOtherHost = ".Pliegomatic.ini.otra-estacion.2.0.tmp";
  const std::string notOurs[] = {"notas.tmp", ".Pliegomatic.ini.tmp", ".Otro.ini." + host + ".1.0.tmp",
                                 ".Pliegomatic.ini." + host + ".x.0.tmp"};
  for (const auto& name : {gone, live, otherHost, oldOtherHost}) folder.write(name, std::string(5000, 'v'));
  for (const auto& name : notOurs) folder.write(name, "no tocar");
  const auto twoDaysAgo = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(folder.file(oldOtherHost), twoDaysAgo);
  fs::last_write_time(folder.file(notOurs[0]), twoDaysAgo);

  EXPECT_NE(write("A", "x", "2"), 0);

  std::vector<std::string> expected = {"Pliegomatic.ini", live, otherHost};
  expected.insert(expected.end(), std::begin(notOurs), std::end(notOurs));
  auto names = folderNames();
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(contents(), "[A]\r\nx=2\r\n");
}

}  // namespace
#endif
