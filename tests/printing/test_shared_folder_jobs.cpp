// Several workstations printing from one folder at once, and jobs killed
// part-way: every copy the print script makes is whole and is its own job's.
// Linux only: workstations started with fork, file-size limits with setrlimit, kill -9.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "platform/file_lock.hpp"
#include "printing/print_job.hpp"
#include "support/child_process.hpp"
#include "support/fakes.hpp"
#include "support/temp_folder.hpp"
#include "support/run_job.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

// Copies the work file in two halves with a pause between them, into a file
// of its own in "copias": a work file rewritten meanwhile shows as a mix.
constexpr const char* kSlowCopy =
    "mkdir -p copias; t=copias/.$$; head -c 200 WRITE.TXT > $t; sleep 0.3; tail -c +201 WRITE.TXT >> $t; "
    "mv $t copias/$$.txt\n";

struct Workstation {
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job;
  explicit Workstation(const std::string& folder) : job(view, dialogs, launcher, folder, NumberFormat{'.', ','}) {
    view.header = "1";
  }
};

std::vector<std::string> copies(const TempFolder& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(dir.file("copias")))
    if (entry.path().extension() == ".txt") found.push_back(readBytes(entry.path().string()));
  return found;
}

// Waits until every print script has ended: they hold the folder's lock.
void waitForScripts(const TempFolder& dir) {
  FileLock lock;
  ASSERT_EQ(lock.acquire(dir.file("WRITE.LCK"), std::chrono::seconds(120)), std::error_code());
}

TEST(SharedFolderJobs, EveryCopyOfSeveralWorkstationsIsWholeAndItsOwnJobs) {
  constexpr int kWorkstations = 3, kJobs = 4, kLines = 40;
  TempFolder dir;
  dir.write("imprimir.sh", kSlowCopy);
  std::vector<pid_t> children;
  for (int w = 0; w < kWorkstations; ++w)
    children.push_back(startChild([&, w] {
      Workstation station(dir.path());
      const std::string report = "INFORME" + std::to_string(w) + ".TXT";
      station.view.report = report;
      for (int j = 0; j < kJobs; ++j) {
        std::vector<std::string> lines;
        for (int k = 0; k < kLines; ++k) lines.push_back("E" + std::to_string(w) + "T" + std::to_string(j) + " renglon " + std::to_string(k));
        dir.write(report, joinCrLf(lines));
        runJobHere(station.job, station.view);
        if (station.dialogs.informed.back() != "Impresion Finalizada") return 1;
      }
      return station.launcher.waitForTracked(std::chrono::seconds(120)) ? 0 : 2;
    }));
  for (const pid_t child : children) {
    const ChildEnd end = waitChild(child);
    EXPECT_TRUE(end.exited && end.code == 0) << end.code << " " << end.signal;
  }
  waitForScripts(dir);

  std::set<std::string> jobsSeen;
  for (const auto& copy : copies(dir)) {
    const auto lines = splitCrLf(copy);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kLines)) << copy;
    const std::string tag = lines[0].substr(0, lines[0].find(' '));
    for (std::size_t k = 0; k < lines.size(); ++k)
      EXPECT_TRUE(lines[k].starts_with(tag + " renglon " + std::to_string(k))) << "mixed copy:\n" << copy;
    EXPECT_TRUE(jobsSeen.insert(tag).second) << tag << " printed twice";
  }
  EXPECT_EQ(jobsSeen.size(), static_cast<std::size_t>(kWorkstations * kJobs));
}

// A ledger job killed at any moment prints nothing or the whole ledger: the
// script only ever sees a finished work file.
// The new work file takes the old one's place in one step: a kill -9 at any
// moment of a ledger job leaves the last whole "WRITE.TXT" there.
TEST(SharedFolderJobs, ALedgerJobKilledAtAnyMomentLeavesAWholeWorkFile) {
  std::string ledger = "MAYOR GENERAL\r\n";
  for (int account = 0; account < 40; ++account)
    ledger += "cuenta " + std::to_string(account) + "\r\nSALDO FINAL: " + std::to_string(account) + "\r\n";
  TempFolder dir;
  dir.write("MAYOR.TXT", ledger);
  FakeView view;
  FakeDialogs dialogs;
  FakeLauncher launcher;
  view.report = "MAYOR.TXT";
  view.header = "1";
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{'.', ','}};
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed.back(), "Impresion Finalizada");
  const std::string expected = dir.read("WRITE.TXT");

  std::mt19937 random(20261211);
  int missing = 0, partial = 0;
  for (int round = 0; round < 100; ++round) {
    const pid_t child = startChild([&] {
      for (;;) runJobHere(job, view);
      return 0;
    });
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 30000)(random)));
    kill(child, SIGKILL);
    EXPECT_EQ(waitChild(child).signal, SIGKILL);
    if (!dir.exists("WRITE.TXT"))
      ++missing;
    else if (dir.read("WRITE.TXT") != expected)
      ++partial;
  }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(partial, 0);
}

TEST(SharedFolderJobs, LedgerJobsKilledPartWayNeverPrintAPartialLedger) {
  std::string ledger = "MAYOR GENERAL\r\n";
  for (int account = 0; account < 600; ++account) {
    for (int k = 0; k < 30; ++k) ledger += "cuenta " + std::to_string(account) + " movimiento " + std::to_string(k) + "\r\n";
    ledger += "SALDO FINAL: " + std::to_string(account) + "\r\n";
  }
  std::string expected;
  {
    TempFolder reference;
    reference.write("MAYOR.TXT", ledger);
    FakeView view;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    view.report = "MAYOR.TXT";
    view.header = "1";
    PrintJob job{view, dialogs, launcher, reference.path(), NumberFormat{'.', ','}};
    runJobHere(job, view);
    ASSERT_EQ(dialogs.informed.back(), "Impresion Finalizada");
    expected = reference.read("WRITE.TXT");
  }

  TempFolder dir;
  dir.write("MAYOR.TXT", ledger);
  dir.write("imprimir.sh", "mkdir -p copias; t=copias/.$$; cat WRITE.TXT > $t; mv $t copias/$$.txt\n");
  std::mt19937 random(20261210);
  for (int round = 0; round < 15; ++round) {
    const pid_t child = startChild([&] {
      Workstation station(dir.path());
      station.view.report = "MAYOR.TXT";
      for (;;) runJobHere(station.job, station.view);
      return 0;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 400)(random)));
    kill(child, SIGKILL);
    EXPECT_EQ(waitChild(child).signal, SIGKILL);
  }
  waitForScripts(dir);
  if (dir.exists("WRITE.TXT")) {
    EXPECT_TRUE(dir.read("WRITE.TXT") == expected) << "the work file is not whole";
  }
  std::size_t printed = 0;
  if (fs::exists(dir.file("copias")))
    for (const auto& copy : copies(dir)) {
      EXPECT_TRUE(copy == expected) << "a partial ledger was printed (" << copy.size() << " bytes)";
      ++printed;
    }
  RecordProperty("copies", static_cast<int>(printed));

  // The folder still prints after all that.
  Workstation station(dir.path());
  station.view.report = "MAYOR.TXT";
  runJobHere(station.job, station.view);
  EXPECT_EQ(station.dialogs.informed.back(), "Impresion Finalizada");
  ASSERT_TRUE(station.launcher.waitForTracked(std::chrono::seconds(60)));
  EXPECT_EQ(dir.read("WRITE.TXT"), expected);
}

}  // namespace
#endif
