// Progress and cancellation of the print job's work.
#include <atomic>

#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

class JobHooksTest : public PrintJobTest {
 protected:
  std::atomic<bool> cancel{false};
  std::vector<int> percents;

  // A report of several read blocks.
  void giveLargeReport(const std::string& name) {
    std::vector<std::string> lines = numberedLines(30000, "renglon de un informe largo ");
    for (std::size_t i = 40; i < lines.size(); i += 40) lines[i] += "  SALDO FINAL: 1";
    giveReport(name, lines);
  }
  void follow(bool cancelAtFirstBlock) {
    jobHooks = JobHooks{[this, cancelAtFirstBlock](int percent) {
                    percents.push_back(percent);
                    if (cancelAtFirstBlock) cancel = true;
                  },
                  &cancel, {}, {}};
  }
};

TEST_F(JobHooksTest, ProgressRisesToAHundredOncePerChange) {
  view.preview = CheckState::Checked;
  for (const char* name : {"LISTADO.TXT", "MAYOR.TXT"}) {
    percents.clear();
    giveLargeReport(name);
    follow(false);
    runJobHere(job, view, jobHooks);
    EXPECT_EQ(lastMessage(), "Impresion Finalizada");
    ASSERT_GE(percents.size(), 3u) << name;
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << name;
    EXPECT_EQ(std::adjacent_find(percents.begin(), percents.end()), percents.end()) << name;
    EXPECT_EQ(percents.back(), 100) << name;
  }
}

TEST_F(JobHooksTest, CancelledJobLeavesNoPartialFileAndSendsNothing) {
  giveLargeReport("LISTADO.TXT");
  follow(true);
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "Se cancelo la impresion. No se envio nada a la impresora.");
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_FALSE(dir.exists("imprimir.sh"));
  EXPECT_EQ(view.caption, "LISTADO.TXT: se cancelo la impresion");

  // The ledger's layout goes to its second file: the earlier work file stays.
  cancel = false;
  dir.write("WRITE.TXT", "de un trabajo anterior\r\n");
  giveLargeReport("MAYOR.TXT");
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "Se cancelo la impresion. No se envio nada a la impresora.");
  EXPECT_EQ(dir.read("WRITE.TXT"), "de un trabajo anterior\r\n");
  EXPECT_FALSE(dir.exists("WRITE2.TXT"));
  EXPECT_TRUE(launcher.started.empty());
}

}  // namespace
