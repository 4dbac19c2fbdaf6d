
#include <chrono>
#include <filesystem>

#include "platform/file_lock.hpp"
#include "printing/output_step.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

class OutputStepTest : public PrintJobTest {
 protected:
  void SetUp() override {
    giveReport("IVAVENTAS.TXT", numberedLines(3));
    view.header = "1";
  }
};

TEST_F(OutputStepTest, PreviewOpensTheWorkFileAndCreatesNoScript) {
  view.preview = CheckState::Checked;
  job.cmdImprimir_Click();
  ASSERT_EQ(launcher.started.size(), 1u);
  const auto& started = launcher.started[0];
  EXPECT_FALSE(started.tracked);
  EXPECT_EQ(started.command.program, "xdg-open");
  ASSERT_EQ(started.command.arguments.size(), 1u);  // this job's own copy of the work file
  EXPECT_EQ(std::filesystem::path(started.command.arguments[0]).filename(), "WRITE.TXT");
  EXPECT_NE(started.command.arguments[0], dir.file("WRITE.TXT"));
  EXPECT_EQ(readBytes(started.command.arguments[0]), dir.read("WRITE.TXT"));
  EXPECT_EQ(started.command.workingFolder, dir.path());
  EXPECT_EQ(started.command.style, WindowStyle::MaximizedWithFocus);
  EXPECT_FALSE(dir.exists("imprimir.sh"));
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
}

TEST_F(OutputStepTest, FirstSendCreatesTheScriptAndRunsItWithThePort) {
  view.port = "2.5";  // rounds half to even: 2
  job.cmdImprimir_Click();
  EXPECT_EQ(dir.read("imprimir.sh"), "cat WRITE.TXT > /dev/lp$(($1 - 1))\n");
  ASSERT_EQ(launcher.started.size(), 1u);
  const auto& started = launcher.started[0];
  EXPECT_TRUE(started.tracked);
  EXPECT_EQ(started.command.program, "/bin/sh");
  EXPECT_EQ(started.command.arguments, (std::vector<std::string>{dir.file("imprimir.sh"), "2"}));
  EXPECT_EQ(started.command.workingFolder, dir.path());
  EXPECT_EQ(started.command.style, WindowStyle::Hidden);
}

TEST_F(OutputStepTest, AnEditedScriptIsRunAsItStandsWhateverItsCase) {
  dir.write("IMPRIMIR.SH", "lp -d OFICINA -o raw WRITE.TXT\n");
  job.cmdImprimir_Click();
  EXPECT_EQ(dir.read("IMPRIMIR.SH"), "lp -d OFICINA -o raw WRITE.TXT\n");
  EXPECT_FALSE(dir.exists("imprimir.sh"));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].command.arguments[0], dir.file("IMPRIMIR.SH"));
}

TEST_F(OutputStepTest, FailuresAreToldInsteadOfTheFinalMessage) {
  launcher.failure = "No such file or directory";
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("No se pudo enviar"), std::string::npos);

  view.port = "40000";
  launcher.failure.clear();
  launcher.started.clear();
  job.cmdImprimir_Click();
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_NE(lastMessage().find("puerto"), std::string::npos);

  view.preview = CheckState::Checked;
  launcher.failure = "not found";
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("xdg-open"), std::string::npos);
  EXPECT_EQ(view.caption, "aviso");  // the caption is always put back
}

TEST_F(OutputStepTest, MissingReportIsToldAndNothingStaleIsShown) {
  dir.write("WRITE.TXT", "de un trabajo anterior\r\n");
  view.report = "IVACOMPRAS.TXT";
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("IVACOMPRAS.TXT"), std::string::npos);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(view.captions, (std::vector<std::string>{"Procesando Archivo. Aguarde..", "aviso"}));
}

TEST_F(OutputStepTest, WaitsForTheEarlierCopyBeforeRewritingTheWorkFile) {
  dir.write("WRITE.TXT", "todavia imprimiendo\r\n");
  launcher.trackedEnded = false;
  job.cmdImprimir_Click();
  EXPECT_EQ(launcher.waits, 2);  // a quick look, then the patient wait
  EXPECT_EQ(view.captions[1], "Esperando que termine la impresion anterior. Aguarde..");
  EXPECT_EQ(dir.read("WRITE.TXT"), "todavia imprimiendo\r\n");
  EXPECT_NE(lastMessage().find("impresion anterior"), std::string::npos);
  EXPECT_TRUE(launcher.started.empty());
}

TEST_F(OutputStepTest, ScriptThatCannotBeCreatedIsTold) {
  std::filesystem::create_directory(dir.file("imprimir.sh"));  // a folder stands where the script would go
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("imprimir.sh"), std::string::npos);
  EXPECT_TRUE(launcher.started.empty());
}

// The real launcher runs the user's script in the program's folder with the
// port number; the script copies the work file where the test can see it.
TEST(SystemLauncherTest, PrintScriptRunsForRealInTheProgramFolder) {
  TempFolder dir;
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{}};
  dir.write("IVAVENTAS.TXT", "IVA VENTAS\r\nfila \xD1\r\n");
  dir.write("imprimir.sh", "cat WRITE.TXT > copia.txt; echo \"$1 $(pwd)\" > llamada.txt\n");
  view.report = "IVAVENTAS.TXT";
  view.header = "1";
  view.port = "3";
  job.cmdImprimir_Click();
  ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(20)));
  EXPECT_EQ(dir.read("copia.txt"), dir.read("WRITE.TXT"));
  EXPECT_EQ(dir.read("llamada.txt"), "3 " + std::filesystem::canonical(dir.path()).string() + "\n");
}

TEST(SystemLauncherTest, ProgramThatCannotStartIsReportedAndAFinishedOneIsNotWaitedFor) {
  SystemLauncher launcher;
  EXPECT_NE(launcher.start({"/no/such/program", {}, "", WindowStyle::Hidden}), "");
  EXPECT_NE(launcher.startTracked({"/bin/sh", {"-c", "true"}, "/no/such/folder", WindowStyle::Hidden}), "");
  EXPECT_TRUE(launcher.waitForTracked(std::chrono::milliseconds(0)));
  EXPECT_EQ(launcher.startTracked({"/bin/sh", {"-c", "sleep 3"}, "", WindowStyle::Hidden}), "");
  EXPECT_FALSE(launcher.waitForTracked(std::chrono::milliseconds(50)));
  EXPECT_EQ(launcher.start({"/bin/sh", {"-c", "exit 0"}, "", WindowStyle::Hidden}), "");
}

}  // namespace

namespace {

// A second workstation (another process) that holds the work file's lock.
TEST_F(OutputStepTest, AnotherWorkstationPrintingFromTheFolderIsWaitedForThenTold) {
  dir.write("WRITE.TXT", "de la otra estacion\r\n");
  SystemLauncher other;
  FileLock otherLock;
  ASSERT_EQ(otherLock.acquire(dir.file("WRITE.LCK"), std::chrono::milliseconds(0)), LockResult::Held);
  Command copy{"/bin/sh", {"-c", "sleep 2"}, dir.path(), WindowStyle::Hidden, otherLock.inheritableHandle()};
  ASSERT_EQ(other.startTracked(copy), "");
  otherLock.release();  // the started copy keeps the lock

  job.setPrintWaitLimit(std::chrono::milliseconds(100));
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("Otra estacion"), std::string::npos);
  EXPECT_EQ(dir.read("WRITE.TXT"), "de la otra estacion\r\n");

  ASSERT_TRUE(other.waitForTracked(std::chrono::seconds(20)));
  job.cmdImprimir_Click();
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(workLines().size(), 3u);
}

}  // namespace
