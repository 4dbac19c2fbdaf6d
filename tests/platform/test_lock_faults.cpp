// A lock that the file system refuses for a fault of its own (neither "held
// by another" nor "no locks here"): the work lock, the record and the INI
// all refuse to go on without it, and leave their files as they were.
// The fault is made by this program's own flock, which stands in for the C
// library's; Windows offers no such seam, so the test is Linux's alone.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <functional>
#include <ostream>
#include <string>

#include "platform/file_lock.hpp"
#include "printing/print_record.hpp"
#include "settings/private_profile.hpp"
#include "support/temp_folder.hpp"

namespace {

std::atomic<int> gFault{0};     // what flock answers for the faulty file; 0: it locks
const char* gFaultyName = "";  // the file's name, without its folder

bool namesFaultyFile(int fd) {
  char target[PATH_MAX] = {};
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t size = readlink(link.c_str(), target, sizeof target - 1);
  const std::string path(target, size > 0 ? static_cast<std::size_t>(size) : 0);
  const std::string name = "/" + std::string(gFaultyName);
  return path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
}

}  // namespace

extern "C" int flock(int fd, int operation) noexcept {
  if (gFault != 0 && namesFaultyFile(fd)) {
    errno = gFault;
    return -1;
  }
  return static_cast<int>(syscall(SYS_flock, fd, operation));
}

namespace {

using namespace pliego;
using namespace pliego::testing;

struct LockUser {
  const char* what;
  const char* file;
  // Does what the program does with the file; true when it did it.
  std::function<bool(const TempFolder&)> use;
};

void PrintTo(const LockUser& user, std::ostream* out) { *out << user.what; }

PrintRecord oneBook() {
  PrintRecord record;
  record.when = "2024-02-05 14:30:12";
  record.report = "MAYOR.TXT";
  record.firstFolio = record.lastFolio = record.pages = 1;
  return record;
}

const LockUser kLockUsers[] = {
    {"the work lock", "WRITE.LCK",
     [](const TempFolder& dir) {
       FileLock lock;
       const std::error_code locked = lock.acquire(dir.file("WRITE.LCK"), std::chrono::milliseconds(0));
       return !locked || locked == LockError::NotOffered;
     }},
    {"the record", kRecordFileName,
     [](const TempFolder& dir) { return appendRecord(dir.path(), oneBook()) == AppendResult::Done; }},
    {"the INI", "Pliegomatic.ini",
     [](const TempFolder& dir) {
       return writePrivateProfileString("EPSON", "LINEAS", "72", dir.file("Pliegomatic.ini").c_str()) != 0;
     }},
    {"the INI's whole profile", "Pliegomatic.ini",
     [](const TempFolder& dir) {
       const std::vector<ProfileEntry> entries{{"LINEAS", "72"}, {"COLUMNAS", "136"}};
       return writePrivateProfileEntries("EPSON", entries, dir.file("Pliegomatic.ini").c_str()).empty();
     }},
};

class LockFault : public ::testing::TestWithParam<LockUser> {
 protected:
  void TearDown() override { gFault = 0; }
};

TEST_P(LockFault, RefusesAndLeavesTheFileAsItWas) {
  const LockUser& user = GetParam();
  TempFolder dir;
  const std::string before = "[EPSON]\r\nLINEAS=66\r\n";
  dir.write(user.file, before);
  gFaultyName = user.file;
  gFault = EIO;
  EXPECT_FALSE(user.use(dir)) << user.what << " went on without its lock";
  gFault = 0;
  EXPECT_EQ(dir.read(user.file), before);
}

TEST_P(LockFault, GoesOnWhereTheFileSystemKeepsNoLocks) {
  const LockUser& user = GetParam();
  TempFolder dir;
  gFaultyName = user.file;
  gFault = ENOLCK;
  EXPECT_TRUE(user.use(dir)) << user.what << " refused although the file system only keeps no locks";
}

INSTANTIATE_TEST_SUITE_P(EveryUser, LockFault, ::testing::ValuesIn(kLockUsers),
                         [](const ::testing::TestParamInfo<LockUser>& param) {
                           return std::string(param.index == 0   ? "WorkLock"
                                              : param.index == 1 ? "Record"
                                              : param.index == 2 ? "IniKey"
                                                                : "IniProfile");
                         });

}  // namespace
#endif
