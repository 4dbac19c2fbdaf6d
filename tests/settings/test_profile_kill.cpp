// Saves killed with SIGKILL at any moment: the file is always whole, the old
// one or the new one, and what the killed saves left behind goes with the
// next save.
// Linux only: workstations started with fork, kill -9.
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "settings/ini_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFiller = 300000;

// The whole file after save number `n`.
std::string savedFile(long n) {
  return "; perfiles\r\n[A]\r\nN=" + std::to_string(n) + "\r\nRELLENO=" +
         std::string(kFiller, static_cast<char>('a' + n % 26)) + "\r\n[Z]\r\nFIN=1\r\n";
}

// Saves number n, n + 1, ... until killed.
[[noreturn]] void saveForever(const std::string& ini, long n) {
  for (;; ++n) {
    const std::vector<ProfileEntry> entries = {{"N", std::to_string(n)},
                                               {"RELLENO", std::string(kFiller, static_cast<char>('a' + n % 26))}};
    writePrivateProfileEntries("A", entries, ini.c_str());
  }
}

class ProfileKill : public IniFolder {
 protected:
  int hiddenTemporaries() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder.path()))
      if (entry.path().filename().string().starts_with(".Pliegomatic.ini.")) ++count;
    return count;
  }
};

TEST_F(ProfileKill, TheFileIsAlwaysWholeAndLitterGoesWithTheNextSave) {
  give(savedFile(0));
  std::mt19937 random(12345);
  int litterSeen = 0;
  for (int round = 0; round < 40; ++round) {
    const long n = std::stol(read("A", "N"));
    ASSERT_EQ(contents(), savedFile(n)) << "round " << round;
    const pid_t saver = fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) saveForever(ini, n + 1);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
    ::kill(saver, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(saver, &status, 0), saver);
    ASSERT_TRUE(WIFSIGNALED(status));
    litterSeen = std::max(litterSeen, hiddenTemporaries());
  }
  const long n = std::stol(read("A", "N"));
  ASSERT_EQ(contents(), savedFile(n));
  RecordProperty("hidden temporary files before the last save", litterSeen);

  const std::vector<ProfileEntry> last = {{"N", std::to_string(n + 1)},
                                          {"RELLENO", std::string(kFiller, static_cast<char>('a' + (n + 1) % 26))}};
  EXPECT_TRUE(writePrivateProfileEntries("A", last, ini.c_str()).empty());
  EXPECT_EQ(contents(), savedFile(n + 1));
  EXPECT_EQ(hiddenTemporaries(), 0);
}

}  // namespace
#endif
