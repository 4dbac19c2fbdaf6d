// A print script that fails after its job ended, run for real: the user is
// told, the record shows the print as failed, and its folios are not
// offered as printed.
// Linux only: slow and failing /bin/sh print scripts.
#ifndef _WIN32
#include <thread>

#include "print_fixture.hpp"
#include "printing/print_record.hpp"

namespace pliego::testing {
namespace {

class LateScriptEnding : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("IVAVENTAS.TXT", joinCrLf(numberedLines(300)));
    view.report = "IVAVENTAS.TXT";
  }
  // Runs one job with `script` as imprimir.sh and waits until its command's
  // ending has been told.
  std::vector<std::string> printWith(const std::string& script) {
    dir.write("imprimir.sh", script);
    runJobHere(job, view);
    EXPECT_EQ(dialogs.informed.back(), kJobDone);
    std::vector<std::string> told;
    for (int looks = 0; looks < 200 && told.empty(); ++looks) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      told = job.lateFailures();
      if (!launcher.waitForTracked(std::chrono::milliseconds(0))) continue;
      if (told.empty()) told = job.lateFailures();
      break;
    }
    EXPECT_TRUE(job.followUpSettled(std::chrono::seconds(10)));
    return told;
  }
  std::vector<PrintRecord> records() const { return recordsOf(dir.path(), "IVAVENTAS.TXT", 100); }

  TempFolder dir;
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{'.', ','}};
};

TEST_F(LateScriptEnding, FailureAfterTheFirstSecondsIsRecordedAndItsFoliosAreNotOffered) {
  printWith("cat WRITE.TXT > /dev/null\n");  // a first book, printed whole in an instant
  const auto told = printWith("sleep 3; echo 'impresora apagada' >&2; exit 2\n");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("termino con error"), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("impresora apagada"), std::string::npos) << told[0];

  const auto lines = records();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].outcome, RecordOutcome::Sent);
  EXPECT_EQ(lines[2].outcome, RecordOutcome::FailedLater);
  EXPECT_EQ(lines[2].job, lines[1].job);
  EXPECT_EQ(lines[2].reason, "el comando de impresion termino con error (codigo de salida 2)");
  // The book that failed later does not count: the folio after the first one is offered again.
  EXPECT_EQ(offeredFolio(dir.path(), "IVAVENTAS.TXT"), lines[0].lastFolio + 1);
}

TEST_F(LateScriptEnding, ScriptThatEndsWellLaterIsRecordedAsPrinted) {
  const auto told = printWith("sleep 3; cat WRITE.TXT > /dev/null\n");
  EXPECT_TRUE(told.empty());
  const auto lines = records();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].outcome, RecordOutcome::Printed);
  EXPECT_EQ(offeredFolio(dir.path(), "IVAVENTAS.TXT"), lines[0].lastFolio + 1);
}

// With a printer set-up the print script's line stays as it is: it runs in
// a folder of the run's own whose WRITE.TXT carries the set-up, the letters
// in the printer's table and the end of the job; the program's WRITE.TXT
// keeps the report's bytes.
TEST_F(LateScriptEnding, ScriptCopiesTheWorkFileWithTheSetUpWithoutAChangeToItsLine) {
  dir.write("IVAVENTAS.TXT", joinCrLf(numberedLines(100, "cliente \xD1" "ANDU ")));
  view.between = "1";
  view.printer.commands = "EPSON ESC/P";
  view.printer.table = "PC850";
  view.printer.end = "SALTO DE PAGINA";
  const std::string line = "cat WRITE.TXT > '" + dir.file("salida.bin") + "'\n";
  printWith(line);
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(10)));
  const std::string work = dir.read("WRITE.TXT"), got = dir.read("salida.bin");
  EXPECT_EQ(dir.read("imprimir.sh"), line);
  EXPECT_NE(work.find('\xD1'), std::string::npos);
  ASSERT_EQ(got.rfind("\x1B@", 0), 0u) << "the set-up goes first";
  EXPECT_EQ(got.back(), '\f');
  std::string converted = work;
  for (char& c : converted)
    if (c == '\xD1') c = '\xA5';  // N with tilde in code page 850
  EXPECT_NE(got.find(converted), std::string::npos);
  EXPECT_EQ(got.find('\xD1'), std::string::npos);
}

TEST_F(LateScriptEnding, ScriptOfAProfileWithoutSetUpCopiesTheProgramsWorkFile) {
  const std::string line = "pwd > '" + dir.file("donde.txt") + "'; cat WRITE.TXT > '" + dir.file("salida.bin") + "'\n";
  printWith(line);
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(10)));
  EXPECT_EQ(dir.read("salida.bin"), dir.read("WRITE.TXT"));
  EXPECT_EQ(dir.read("donde.txt"), dir.path() + "\n");
}

}  // namespace
}  // namespace pliego::testing
#endif
