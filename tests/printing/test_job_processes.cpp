// The print job where the process itself is in play: a file-size limit, a
// closed standard input, a lock file of another user.
// Linux only: workstations started with fork, file-size limits with setrlimit, kill -9.
#ifndef _WIN32
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file_lock.hpp"
#include "platform/files.hpp"
#include "printing/print_job.hpp"
#include "printing/print_fixture.hpp"
#include "support/child_process.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A report far larger than the file-size limit the tests set.
void giveLargeReport(TempFolder& dir, const std::string& name) {
  std::string bytes;
  for (int i = 0; i < 4000; ++i) bytes += "renglon " + std::to_string(i) + " SALDO FINAL: " + std::string(40, 'x') + "\r\n";
  dir.write(name, bytes);
}

// One job in this process on `dir`, with fakes; returns what it told.
std::string runJob(TempFolder& dir, const std::string& report) {
  FakeView view;
  FakeDialogs dialogs;
  FakeLauncher launcher;
  view.report = report;
  view.header = "1";
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{'.', ','}};
  runJobHere(job, view);
  return dialogs.informed.empty() ? "" : dialogs.informed.back();
}

void limitFileSize(rlim_t bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

// Under a file-size limit the write fails and the job says so, as on a full
// disk; the program is not killed by the limit's signal.
TEST(JobUnderAFileSizeLimit, TheWindowStaysAndTheMessageIsShown) {
  TempFolder dir;
  giveLargeReport(dir, "IVAVENTAS.TXT");
  const ChildEnd end = runChild([&] {
    signal(SIGXFSZ, SIG_DFL);
    ignoreFileSizeLimitSignal();
    limitFileSize(64 * 1024);
    const std::string told = runJob(dir, "IVAVENTAS.TXT");
    return has(told, "WRITE.TXT") && has(told, "No se imprimio nada") ? 0 : 1;
  });
  EXPECT_EQ(end.signal, 0);
  EXPECT_TRUE(end.exited && end.code == 0);
}

// A job that cannot finish its work file removes what it wrote of it; the
// work file of an earlier job that the ledger would have replaced stays.
TEST(JobUnderAFileSizeLimit, AFailedJobLeavesNoPartialWorkFile) {
  for (const std::string report : {"IVAVENTAS.TXT", "MAYOR.TXT"}) {
    SCOPED_TRACE(report);
    TempFolder dir;
    giveLargeReport(dir, report);
    dir.write("WRITE.TXT", "trabajo anterior\r\n");
    const ChildEnd end = runChild([&] {
      signal(SIGXFSZ, SIG_IGN);
      limitFileSize(64 * 1024);
      const std::string told = runJob(dir, report);
      const bool spanish = has(told, "No se pudo escribir el archivo de trabajo") &&
                           has(told, "el archivo supera el tamano permitido") && has(told, "No se imprimio nada");
      return spanish ? 0 : 1;
    });
    EXPECT_TRUE(end.exited && end.code == 0) << end.signal;
    EXPECT_FALSE(dir.exists("WRITE2.TXT"));
    if (report == "MAYOR.TXT")
      EXPECT_EQ(dir.read("WRITE.TXT"), "trabajo anterior\r\n");
    else
      EXPECT_FALSE(dir.exists("WRITE.TXT"));
  }
}

// Started with standard input closed, the lock's descriptor must still
// reach the print script, which replaces its standard streams.
TEST(JobWithClosedStandardStreams, ThePrintScriptStillHoldsTheLock) {
  TempFolder dir;
  dir.write("IVAVENTAS.TXT", "IVA VENTAS\r\nfila\r\n");
  // The script copies once the test lets it, so the lock is looked at while it runs.
  dir.write("imprimir.sh", "i=0; while [ ! -e sigue ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done; "
                           "cat WRITE.TXT > copia.txt\n");
  const ChildEnd end = runChild([&] {
    close(0);
    FakeView view;
    FakeDialogs dialogs;
    SystemLauncher launcher;
    view.report = "IVAVENTAS.TXT";
    view.header = "1";
    PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{}};
    runJobHere(job, view);
    if (dialogs.informed != std::vector<std::string>{"Impresion Finalizada"}) return 2;
    FileLock other;  // another workstation, while the script still copies
    const bool kept = other.acquire(dir.file("WRITE.LCK"), std::chrono::milliseconds(0)) == LockError::Busy;
    other.release();
    dir.write("sigue", "");
    launcher.waitForTracked(std::chrono::seconds(120));
    return kept ? 0 : 1;
  });
  EXPECT_TRUE(end.exited && end.code == 0) << end.code << " " << end.signal;
  EXPECT_EQ(dir.read("copia.txt"), dir.read("WRITE.TXT"));
}

// In the child: another user of the shared folder, when the test runs as
// root (who may open any file).
void becomeAnotherUser() {
  if (geteuid() != 0) return;
  if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
  prctl(PR_SET_DUMPABLE, 1);
}

// A lock file another user left read-only still locks; one that cannot be
// opened at all is a refusal, never a job without the lock.
TEST(LockFileOfAnotherUser, ReadOnlyStillLocksAndUnopenableRefuses) {
  TempFolder dir;
  fs::permissions(dir.path(), fs::perms::all);
  dir.write("IVAVENTAS.TXT", "IVA VENTAS\r\nfila\r\n");
  dir.write("WRITE.LCK", "");
  fs::permissions(dir.file("IVAVENTAS.TXT"), fs::perms::all);

  fs::permissions(dir.file("WRITE.LCK"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  FileLock printing;  // this user's job on another workstation
  ASSERT_EQ(printing.acquire(dir.file("WRITE.LCK"), std::chrono::milliseconds(0)), std::error_code());
  ChildEnd end = runChild([&] {
    becomeAnotherUser();
    // A job waits as long as the lock is held; the lock itself must say busy.
    FileLock mine;
    return mine.acquire(dir.file("WRITE.LCK"), std::chrono::milliseconds(200)) == LockError::Busy ? 0 : 1;
  });
  EXPECT_TRUE(end.exited && end.code == 0) << end.code << " " << end.signal;
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
  printing.release();

  fs::permissions(dir.file("WRITE.LCK"), fs::perms::none);
  end = runChild([&] {
    becomeAnotherUser();
    const std::string told = runJob(dir, "IVAVENTAS.TXT");
    return has(told, dir.file("WRITE.LCK")) && has(told, "No se imprimio nada") ? 0 : 1;
  });
  EXPECT_TRUE(end.exited && end.code == 0) << end.code << " " << end.signal;
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
}

}  // namespace
#endif
