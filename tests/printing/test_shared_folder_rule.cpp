// One rule for every file the program opens in the shared folder: a plain
// file of one name, never a link, never a pipe it would wait on; refused by
// name otherwise. And, in a folder a group shares, the files every
// workstation writes stay usable by that group whatever the umask.
// Linux only: symbolic and hard links, named pipes, modes and uids of Linux.
#ifndef _WIN32
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/files.hpp"
#include "printing/print_fixture.hpp"
#include "settings/private_profile.hpp"
#include "support/child_process.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kNotRecorded = "No se pudo anotar esta impresion en PLIEGOMATIC.LOG.";

// A job that would block is ended by the alarm: the test then fails
// instead of hanging.
ChildEnd inChildWithAlarm(const std::function<int()>& body) {
  return runChild([&] {
    alarm(60);
    return body();
  });
}

class SharedFolderRule : public PrintJobTest {
 protected:
  TempFolder outside;
  void SetUp() override {
    view.header = "1";
    outside.write("perfil.sh", "echo hola\n");
  }
  bool told(const std::string& text) const { return lastMessage().find(text) != std::string::npos; }
};

// A link planted at the record would have the next print append its line,
// with its hand-editable profile name, to a file of the user who prints.
TEST_F(SharedFolderRule, ALinkAtTheRecordIsNeverWrittenThroughAndTheJobIsToldNotRecorded) {
  giveReport("IVAVENTAS.TXT", numberedLines(5));
  view.profile = "EPSON $(touch X)";
  const std::string targets[] = {outside.file("perfil.sh"), outside.file("nuevo.sh")};
  for (const auto& target : targets) {
    SCOPED_TRACE(target);
    fs::remove(dir.file(kRecordFileName));
    fs::create_symlink(target, dir.file(kRecordFileName));
    runJobHere(job, view);
    EXPECT_EQ(lastMessage(), "Impresion Finalizada");
    EXPECT_NE(view.caption.find(kNotRecorded), std::string::npos) << view.caption;
    EXPECT_EQ(outside.read("perfil.sh"), "echo hola\n");
    EXPECT_FALSE(outside.exists("nuevo.sh"));
    EXPECT_TRUE(fs::is_symlink(dir.file(kRecordFileName)));
  }
  fs::remove(dir.file(kRecordFileName));
  fs::create_hard_link(outside.file("perfil.sh"), dir.file(kRecordFileName));
  runJobHere(job, view);
  EXPECT_NE(view.caption.find(kNotRecorded), std::string::npos) << view.caption;
  EXPECT_EQ(outside.read("perfil.sh"), "echo hola\n");
}

// A named pipe at the record, the lock or the report never holds the job:
// each is refused, the job ends, and the next one too.
TEST_F(SharedFolderRule, APipeAtTheRecordTheLockOrTheReportNeverHoldsTheJob) {
  struct Case {
    std::string pipe;
    bool printed;  // the job itself goes on: only its line is not recorded
  };
  const Case cases[] = {{kRecordFileName, true}, {"WRITE.LCK", false}, {"IVAVENTAS.TXT", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pipe);
    giveReport("IVAVENTAS.TXT", numberedLines(5));
    fs::remove(dir.file(c.pipe));
    ASSERT_EQ(mkfifo(dir.file(c.pipe).c_str(), 0666), 0);
    const ChildEnd end = inChildWithAlarm([&] {
      for (int twice = 0; twice < 2; ++twice) {
        runJobHere(job, view);
        const bool recorded = view.caption.find(kNotRecorded) == std::string::npos;
        if (c.printed && (lastMessage() != "Impresion Finalizada" || recorded)) return 1;
        if (!c.printed && (!told(dir.file(c.pipe)) || !told("No se imprimio nada"))) return 2;
      }
      return 0;
    });
    EXPECT_TRUE(end.exited) << "the job was held, signal " << end.signal;
    EXPECT_EQ(end.code, 0);
    fs::remove(dir.file(c.pipe));
  }
}

// The list holds only plain files, but as of its last refresh: what stands
// at the name when the job opens it is what counts.
TEST_F(SharedFolderRule, AReportThatIsALinkOrAPipeIsRefusedByNameAndNothingIsPrinted) {
  const std::string reports[] = {"MAYOR.TXT", "IVAVENTAS.TXT"};
  for (const auto& report : reports) {
    for (const std::string target : {"/dev/zero", "FIFO", "LINK"}) {
      SCOPED_TRACE(report + " " + target);
      view.report = report;
      fs::remove(dir.file(report));
      fs::remove(dir.file("WRITE.TXT"));
      if (target == "FIFO")
        ASSERT_EQ(mkfifo(dir.file(report).c_str(), 0666), 0);
      else
        fs::create_symlink(target == "LINK" ? outside.file("perfil.sh") : target, dir.file(report));
      const ChildEnd end = inChildWithAlarm([&] {
        runJobHere(job, view);
        return told(dir.file(report)) && told("No se imprimio nada") && launcher.started.empty() &&
                       !dir.exists("WRITE.TXT")
                   ? 0
                   : 1;
      });
      EXPECT_TRUE(end.exited) << "the job was held, signal " << end.signal;
      EXPECT_EQ(end.code, 0);
    }
  }
}

TEST_F(SharedFolderRule, APipeOrALinkAtTheIniIsNeverReadNorWritten) {
  const std::string ini = dir.file("Pliegomatic.ini");
  ASSERT_EQ(mkfifo(ini.c_str(), 0666), 0);
  const ChildEnd end = inChildWithAlarm([&] {
    char buffer[16] = {};
    const auto read = getPrivateProfileString("A", "x", "nada", buffer, sizeof buffer, ini.c_str());
    const int written = writePrivateProfileString("A", "x", "1", ini.c_str());
    return std::string(buffer, read) == "nada" && written == 0 ? 0 : 1;
  });
  EXPECT_TRUE(end.exited) << "the INI's reading was held, signal " << end.signal;
  EXPECT_EQ(end.code, 0);
  fs::remove(ini);
  outside.write("otro.ini", "[A]\r\nx=secreto\r\n");
  fs::create_symlink(outside.file("otro.ini"), ini);
  char buffer[16] = {};
  EXPECT_EQ(std::string(buffer, getPrivateProfileString("A", "x", "nada", buffer, sizeof buffer, ini.c_str())), "nada");
  EXPECT_EQ(writePrivateProfileString("A", "x", "1", ini.c_str()), 0);
  EXPECT_EQ(outside.read("otro.ini"), "[A]\r\nx=secreto\r\n");
}

// Two workstations of one group, as two users with their own umask, in the
// group's folder: whoever prints first, the other prints, previews nothing
// amiss, records its line and saves its profile.
class GroupFolder : public ::testing::Test {
 protected:
  TempFolder base;
  std::string folder;
  gid_t group = 0;

  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as two users";
    const struct group* users = getgrnam("users");
    if (!users) GTEST_SKIP() << "no group \"users\"";
    group = users->gr_gid;
    ASSERT_EQ(chmod(base.path().c_str(), 0755), 0);
  }

  void makeFolder(mode_t mode) {
    const std::string name = mode & S_ISVTX ? "pegajosa" : "oficina";
    folder = base.file(name);
    fs::remove_all(folder);
    fs::create_directory(folder);
    ASSERT_EQ(chown(folder.c_str(), 0, group), 0);
    ASSERT_EQ(chmod(folder.c_str(), mode), 0);
    base.write(name + "/IVAVENTAS.TXT", joinCrLf(numberedLines(30)));
    std::string ledger;
    for (int account = 0; account < 5; ++account) ledger += "cuenta " + std::to_string(account) + "\r\nSALDO FINAL: 1\r\n";
    base.write(name + "/MAYOR.TXT", ledger);
  }

  // What the workstation of `user` could not do, one bit each; 0 when all went well.
  int workstation(uid_t user, mode_t mask) {
    const ChildEnd end = runChild([&] {
      if (setgroups(1, &group) != 0 || setgid(group) != 0 || setuid(user) != 0) return 64;
      umask(mask);
      int failures = 0;
      int bit = 1;
      for (const std::string report : {"IVAVENTAS.TXT", "MAYOR.TXT"}) {
        FakeView view;
        FakeDialogs dialogs;
        FakeLauncher launcher;
        view.header = "1";
        view.report = report;
        PrintJob job{view, dialogs, launcher, folder, NumberFormat{'.', ','}};
        runJobHere(job, view);
        if (dialogs.informed.empty() || dialogs.informed.back() != "Impresion Finalizada") {
          failures |= bit;
          std::fprintf(stderr, "%u %s: %s\n", user, report.c_str(), dialogs.informed.back().c_str());
        }
        if (view.caption.find(kNotRecorded) != std::string::npos) failures |= bit << 1;
        bit <<= 2;
      }
      const std::string ini = joinPath(folder, "Pliegomatic.ini");
      const std::string key = "estacion" + std::to_string(user);
      if (writePrivateProfileString("EPSON", key.c_str(), "1", ini.c_str()) == 0) failures |= 16;
      return failures;
    });
    return end.exited ? end.code : 128;
  }
};

TEST_F(GroupFolder, WhoeverPrintsFirstTheOtherWorkstationPrintsRecordsAndSaves) {
  struct Case {
    mode_t folderMode, firstMask;
  };
  const Case cases[] = {{02775, 022}, {02775, 077}, {03775, 022}, {03775, 077}};
  for (const auto& c : cases) {
    SCOPED_TRACE("folder " + std::to_string(c.folderMode) + " umask " + std::to_string(c.firstMask));
    makeFolder(c.folderMode);
    // A sticky folder lets only the INI's owner replace it: another
    // workstation's save fails there (and is told), it is never half done.
    const bool sticky = c.folderMode & S_ISVTX;
    EXPECT_EQ(workstation(30001, c.firstMask), 0);
    // A work file another workstation left closed to the group (an older
    // version made it so) is replaced where the folder allows it.
    if (!sticky) {
      ASSERT_EQ(chmod(joinPath(folder, "WRITE.TXT").c_str(), 0600), 0);
    }
    EXPECT_EQ(workstation(30002, 022), sticky ? 16 : 0);
    EXPECT_EQ(workstation(30001, c.firstMask), 0);
    const auto lines = splitCrLf(readBytes(joinPath(folder, kRecordFileName)));
    EXPECT_EQ(lines.size(), 7u);  // the column names and six jobs
    char buffer[8] = {};
    const std::string ini = joinPath(folder, "Pliegomatic.ini");
    EXPECT_EQ(getPrivateProfileString("EPSON", "estacion30001", "", buffer, sizeof buffer, ini.c_str()), 1u);
    if (!sticky) {
      EXPECT_EQ(getPrivateProfileString("EPSON", "estacion30002", "", buffer, sizeof buffer, ini.c_str()), 1u);
    }
  }
}

}  // namespace
#endif
