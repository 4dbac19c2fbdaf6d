// A print script that fails after its job ended, run for real: the user is
// told, the record shows the print as failed, and its folios are not
// offered as printed.
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
    job.cmdImprimir_Click();
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

}  // namespace
}  // namespace pliego::testing
