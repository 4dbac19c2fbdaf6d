// The Windows output step: IMPRIMIR.BAT, notepad, the command interpreter,
// and the work file's lock held by the copy to the port.
// Windows only: the Windows implementation (paths, output step, spooler).
#ifdef _WIN32
#include <fstream>
#include <iterator>
#include <chrono>
#include <filesystem>

#include "platform/file_lock.hpp"
#include "platform/launcher.hpp"
#include "platform/windows_support.hpp"
#include "printing/output_step.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

std::string windowsFolder() {
  char buffer[MAX_PATH];
  return std::string(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
}

class WindowsOutputTest : public PrintJobTest {
 protected:
  void SetUp() override {
    giveReport("IVAVENTAS.TXT", numberedLines(3));
    view.header = "1";
  }
};

TEST_F(WindowsOutputTest, FirstSendCreatesTheBatchFileWithItsOneLineAndRunsItWithThePort) {
  view.port = "2";
  runJobHere(job, view);
  EXPECT_EQ(dir.read("IMPRIMIR.BAT"), "TYPE WRITE.TXT > LPT%1\r\n");
  ASSERT_EQ(launcher.started.size(), 1u);
  const auto& started = launcher.started[0];
  EXPECT_TRUE(started.tracked);
  EXPECT_EQ(started.command.program, dir.path() + "\\IMPRIMIR.BAT");
  EXPECT_EQ(started.command.arguments, std::vector<std::string>{"2"});
  EXPECT_EQ(started.command.workingFolder, dir.path());
  EXPECT_EQ(started.command.style, WindowStyle::Hidden);
  EXPECT_NE(started.command.inheritedHandle, kNoHandle);  // the work file's lock

  dir.write("IMPRIMIR.BAT", "COPY WRITE.TXT \\\\SERVIDOR\\EPSON\r\n");
  runJobHere(job, view);
  EXPECT_EQ(dir.read("IMPRIMIR.BAT"), "COPY WRITE.TXT \\\\SERVIDOR\\EPSON\r\n");  // never rewritten
}

// Notepad opens this job's own copy of the work file, which no other
// workstation rewrites.
TEST_F(WindowsOutputTest, PreviewOpensTheWorkFileWithNotepadFromTheWindowsFolder) {
  view.preview = CheckState::Checked;
  runJobHere(job, view);
  ASSERT_EQ(launcher.started.size(), 1u);
  const auto& command = launcher.started[0].command;
  EXPECT_EQ(command.program, windowsFolder() + "\\notepad.exe");
  ASSERT_EQ(command.arguments.size(), 1u);
  EXPECT_NE(command.arguments[0], dir.file("WRITE.TXT"));
  EXPECT_TRUE(command.arguments[0].ends_with("\\WRITE.TXT"));
  std::ifstream shown(nativePath(command.arguments[0]), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(shown), {}), dir.read("WRITE.TXT"));
  EXPECT_EQ(command.style, WindowStyle::MaximizedWithFocus);
  EXPECT_FALSE(dir.exists("IMPRIMIR.BAT"));
}

TEST(WindowsSystemPrograms, ComeFromTheSystemNotFromASearch) {
  char buffer[MAX_PATH];
  const std::string system(buffer, GetSystemDirectoryA(buffer, MAX_PATH));
  const DWORD count = GetEnvironmentVariableA("ComSpec", buffer, MAX_PATH);
  const std::string comspec(buffer, count);
  EXPECT_EQ(commandInterpreterPath(), count ? comspec : system + "\\cmd.exe");

  SetEnvironmentVariableA("ComSpec", "cmd.exe");  // not a full path: not trusted
  EXPECT_EQ(commandInterpreterPath(), system + "\\cmd.exe");
  SetEnvironmentVariableA("ComSpec", count ? comspec.c_str() : nullptr);
  EXPECT_EQ(textEditorPath(), windowsFolder() + "\\notepad.exe");
}

// The real batch file runs with the port, in the program's folder, even when
// the folder's name has blanks and letters of the code page.
TEST(WindowsPrintScript, RunsForRealInAFolderWithBlanks) {
  TempFolder base;
  const std::string folder = base.file("Contabilidad A\xF1o 2026");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job{view, dialogs, launcher, folder, NumberFormat{}};
  base.write("Contabilidad A\xF1o 2026\\IVAVENTAS.TXT", "IVA VENTAS\r\nfila \xD1\r\n");
  base.write("Contabilidad A\xF1o 2026\\IMPRIMIR.BAT", "TYPE WRITE.TXT > COPIA.TXT\r\nECHO %1 %CD%> LLAMADA.TXT\r\n");
  view.report = "IVAVENTAS.TXT";
  view.header = "1";
  view.port = "3";
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(30)));
  EXPECT_EQ(base.read("Contabilidad A\xF1o 2026\\COPIA.TXT"), base.read("Contabilidad A\xF1o 2026\\WRITE.TXT"));
  EXPECT_EQ(base.read("Contabilidad A\xF1o 2026\\LLAMADA.TXT"), "3 " + folder + "\r\n");
}

// Two workstations: the copy to the port keeps the work file locked until it
// ends (another workstation cannot take it meanwhile); afterwards the other
// workstation prints.
TEST_F(WindowsOutputTest, ThePrintCommandHoldsTheLockSoASecondJobWaits) {
  SystemLauncher realLauncher;
  PrintJob first{view, dialogs, realLauncher, dir.path(), NumberFormat{}};
  dir.write("IMPRIMIR.BAT", "\"" + helperProgram() + "\" espera 4000\r\nTYPE WRITE.TXT > COPIA%1.TXT\r\n");
  runJobHere(first, view);
  ASSERT_EQ(lastMessage(), "Impresion Finalizada");
  const std::string printed = dir.read("WRITE.TXT");

  const std::string otherWorkstation = "\"" + helperProgram() + "\" bloqueo \"" + dir.file("WRITE.LCK") + "\"";
  EXPECT_EQ(runToEnd(otherWorkstation), 1) << "the lock ended with the job, not with the copy";

  FakeView otherView = view;
  otherView.report = "IVACOMPRAS.TXT";
  dir.write("IVACOMPRAS.TXT", joinCrLf(numberedLines(5, "compra ")));
  PrintJob second{otherView, dialogs, launcher, dir.path(), NumberFormat{}};
  ASSERT_TRUE(realLauncher.waitForTracked(std::chrono::seconds(30)));
  EXPECT_EQ(dir.read("COPIA1.TXT"), printed);  // the port got this job's report
  EXPECT_EQ(runToEnd(otherWorkstation), 0);
  runJobHere(second, otherView);
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(workLines().size(), 5u);
}

// A cmd.exe lying in the program's folder or the current one (a shared
// network folder) is never the one started. (notepad.exe: by its full path,
// above.)
TEST(WindowsPlantedPrograms, AreNotStartedInsteadOfTheSystems) {
  TempFolder dir;
  const std::string helper = helperProgram();
  CopiedFile besideTheProgram(helper, joinPath(executableFolder(), "cmd.exe"));
  CopiedFile inTheCurrentFolder(helper, dir.file("cmd.exe"));
  CurrentFolder current(dir.path());
  dir.write("WRITE.TXT", "trabajo\r\n");
  dir.write("IMPRIMIR.BAT", "TYPE WRITE.TXT > COPIA.TXT\r\n");
  SystemLauncher launcher;
  EnviarAImpresora(launcher, dir.path(), 1);
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(30)));
  EXPECT_FALSE(dir.exists("PLANTADO.TXT")) << dir.read("PLANTADO.TXT");
  EXPECT_EQ(dir.read("COPIA.TXT"), "trabajo\r\n");
}

TEST(WindowsLauncher, ProgramThatCannotStartIsReportedAndAFinishedOneIsNotWaitedFor) {
  SystemLauncher launcher;
  EXPECT_TRUE(launcher.start({"C:\\no\\existe.exe", {}, "", WindowStyle::Hidden}));
  EXPECT_TRUE(launcher.startTracked({helperProgram(), {"espera", "0"}, "C:\\no\\existe", WindowStyle::Hidden}));
  EXPECT_TRUE(launcher.waitForTracked(std::chrono::milliseconds(0)));
  EXPECT_FALSE(launcher.startTracked({helperProgram(), {"espera", "3000"}, "", WindowStyle::Hidden}));
  EXPECT_FALSE(launcher.waitForTracked(std::chrono::milliseconds(50)));
  EXPECT_TRUE(launcher.waitForTracked(std::chrono::seconds(30)));
}

}  // namespace
#endif
