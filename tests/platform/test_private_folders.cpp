// The preview's private folders in the temporary folder: each run of the
// program has one, and the folders of runs that ended are removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "support/temp_folder.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

long thisProcess() {
#ifdef _WIN32
  return static_cast<long>(GetCurrentProcessId());
#else
  return static_cast<long>(getpid());
#endif
}

// No process of this or any computer has the number 999999999.
TEST(PrivateFolders, FoldersOfRunsThatEndedAreRemovedAndNothingElse) {
  TempFolder temp;
  const fs::path root = nativePath(temp.path());
  const std::string ours = "pliegomatic-" + std::to_string(thisProcess());
  const std::vector<std::string> kept = {ours + "-x1y2z3",  ours,          "pliegomatic-abc", "pliegomatic-",
                                        "otro-999999999", "pliegomatic-999999999-"};
  for (const std::string& name : kept) {
    fs::create_directory(root / name);
    temp.write(name + "/WRITE.TXT", "copia\r\n");
  }
  for (const std::string name : {"pliegomatic-999999999-a1B2c3", "pliegomatic-999999999"}) {
    fs::create_directory(root / name);
    temp.write(name + "/WRITE.TXT", "copia\r\n");
  }
  temp.write("pliegomatic-999999999.txt", "un archivo\r\n");
#ifndef _WIN32
  TempFolder outside;
  outside.write("WRITE.TXT", "ajeno\r\n");
  fs::create_directory_symlink(outside.path(), root / "pliegomatic-999999998-enlace");
#endif

  removeFoldersOfEndedRuns(temp.path());

  EXPECT_FALSE(temp.exists("pliegomatic-999999999-a1B2c3"));
  EXPECT_FALSE(temp.exists("pliegomatic-999999999"));
  for (const std::string& name : kept) EXPECT_TRUE(temp.exists(name + "/WRITE.TXT")) << name;
  EXPECT_TRUE(temp.exists("pliegomatic-999999999.txt"));
#ifndef _WIN32
  EXPECT_EQ(outside.read("WRITE.TXT"), "ajeno\r\n");
#endif
}

// The folder of this run is made once, readable by this user only, and its
// name tells the run it belongs to.
TEST(PrivateFolders, ThisRunsFolderIsNamedAfterItsProcess) {
  std::string folder, again;
  ASSERT_EQ(privateTempFolder(folder), std::error_code());
  ASSERT_EQ(privateTempFolder(again), std::error_code());
  EXPECT_EQ(folder, again);
  const std::string name = narrowPath(nativePath(folder).filename());
  EXPECT_TRUE(name.starts_with("pliegomatic-" + std::to_string(thisProcess()))) << name;
  EXPECT_TRUE(fs::is_directory(nativePath(folder)));
}

}  // namespace
