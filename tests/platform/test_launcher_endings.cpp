// How started programs ended: exit status and error output, learnt from real
// programs run by /bin/sh.
// Linux only: exit status and error output of /bin/sh scripts.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/launcher.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

using std::chrono::seconds;

Command shell(const std::string& script, const std::string& folder = "") {
  return {"/bin/sh", {"-c", script}, folder, WindowStyle::Hidden};
}

// Every ending taken before `patience` runs out, polling as the window does.
std::vector<Ending> endingsWithin(SystemLauncher& launcher, std::size_t count, seconds patience = seconds(30)) {
  std::vector<Ending> all;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (all.size() < count && std::chrono::steady_clock::now() < deadline) {
    for (Ending& ending : launcher.takeEndings()) all.push_back(std::move(ending));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return all;
}

TEST(LauncherEndings, StatusAndErrorOutputOfTheCommandStartedLast) {
  SystemLauncher launcher;
  struct Row {
    const char* script;
    int status;
    const char* errorOutput;
  } rows[] = {
      {"exit 0", 0, ""},
      {"echo 'cat: /dev/lp0: Permiso denegado' >&2; exit 1", 1, "cat: /dev/lp0: Permiso denegado\n"},
      {"echo a la salida; echo primera >&2; echo segunda >&2; exit 3", 3, "primera\nsegunda\n"},
      {"kill -TERM $$", 128 + 15, ""},
  };
  for (const Row& row : rows) {
    ASSERT_FALSE(launcher.startTracked(shell(row.script)));
    const auto ending = launcher.waitForLastStarted(seconds(30));
    ASSERT_TRUE(ending) << row.script;
    EXPECT_EQ(ending->status, row.status) << row.script;
    EXPECT_EQ(ending->errorOutput, row.errorOutput) << row.script;
    EXPECT_EQ(ending->command, std::string("/bin/sh -c ") + row.script);
    EXPECT_TRUE(ending->tracked);
  }
  // Taken by the wait: not told again.
  EXPECT_TRUE(launcher.takeEndings().empty());
}

TEST(LauncherEndings, AProgramStillRunningIsNotAnEndingAndALaterOneIsKeptForTheWindow) {
  TempFolder dir;
  SystemLauncher launcher;
  ASSERT_FALSE(launcher.start(shell("sleep 1; echo 'no hay visor' >&2; exit 4", dir.path())));
  EXPECT_FALSE(launcher.waitForLastStarted(std::chrono::milliseconds(100)));
  EXPECT_TRUE(launcher.takeEndings().empty());
  const auto endings = endingsWithin(launcher, 1);
  ASSERT_EQ(endings.size(), 1u);
  EXPECT_EQ(endings[0].status, 4);
  EXPECT_EQ(endings[0].errorOutput, "no hay visor\n");
  EXPECT_FALSE(endings[0].tracked);
}

// An earlier copy that ends while the next job waits for it is still told.
TEST(LauncherEndings, WaitingForTheTrackedCommandKeepsItsEnding) {
  SystemLauncher launcher;
  ASSERT_FALSE(launcher.startTracked(shell("exit 2")));
  ASSERT_TRUE(launcher.waitForTracked(seconds(30)));
  const auto endings = launcher.takeEndings();
  ASSERT_EQ(endings.size(), 1u);
  EXPECT_EQ(endings[0].status, 2);
}

// Much error output neither blocks the program nor is kept whole.
TEST(LauncherEndings, LongErrorOutputIsReadAsItComesAndOnlyItsStartIsKept) {
  SystemLauncher launcher;
  ASSERT_FALSE(launcher.startTracked(shell("yes 'renglon de error' | head -c 300000 >&2; exit 5")));
  ASSERT_TRUE(launcher.waitForTracked(seconds(60)));
  const auto ending = launcher.waitForLastStarted(std::chrono::milliseconds(0));
  ASSERT_TRUE(ending);
  EXPECT_EQ(ending->status, 5);
  EXPECT_EQ(ending->errorOutput.size(), 4096u);
  EXPECT_TRUE(ending->errorOutput.starts_with("renglon de error\nrenglon de error\n"));
}

// The command's input and output are /dev/null, its error output a pipe; the lock handle it was
// given stays open in it.
TEST(LauncherEndings, TheCommandKeepsItsHandleAndHasNoTerminal) {
  TempFolder dir;
  const int handle = open(dir.file("WRITE.LCK").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(handle, 0);
  Command command = shell("ls -l /proc/$$/fd/ > fds.txt; x=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2); echo \"$x\" > std.txt",
                          dir.path());
  command.inheritedHandle = handle;
  SystemLauncher launcher;
  ASSERT_FALSE(launcher.startTracked(command));
  const auto ending = launcher.waitForLastStarted(seconds(30));
  close(handle);
  ASSERT_TRUE(ending);
  EXPECT_EQ(ending->status, 0);
  EXPECT_NE(dir.read("fds.txt").find("WRITE.LCK"), std::string::npos);
  EXPECT_TRUE(dir.read("std.txt").starts_with("/dev/null\n/dev/null\npipe:")) << dir.read("std.txt");
}

}  // namespace
#endif
