// Two workstations writing the same INI file at once: every write must land.
// Linux only: starts the second workstation with fork.
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include "ini_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

constexpr int kWritesEach = 150;

// Writes keys K0..K(n-1) into `section`; returns how many writes failed.
int writeKeys(const std::string& ini, const char* section) {
  int failed = 0;
  for (int i = 0; i < kWritesEach; ++i) {
    const std::string key = "K" + std::to_string(i);
    if (!writePrivateProfileString(section, key.c_str(), std::to_string(i).c_str(), ini.c_str())) ++failed;
  }
  return failed;
}

class SharedIniFile : public IniFolder {};

TEST_F(SharedIniFile, ConcurrentWritersFromTwoProcessesLoseNoUpdate) {
  give("[COMUN]\r\nLPT=1\r\n");
  const pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) _exit(writeKeys(ini, "ESTACION 2") == 0 ? 0 : 1);
  EXPECT_EQ(writeKeys(ini, "ESTACION 1"), 0);
  int status = 0;
  ASSERT_EQ(waitpid(other, &status, 0), other);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  for (const char* section : {"ESTACION 1", "ESTACION 2"})
    for (int i = 0; i < kWritesEach; ++i)
      EXPECT_EQ(read(section, ("K" + std::to_string(i)).c_str(), "perdido"), std::to_string(i)) << section << i;
  EXPECT_EQ(read("COMUN", "LPT"), "1");
}

}  // namespace
#endif
