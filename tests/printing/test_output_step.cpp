// Linux only: the Linux output step (imprimir.sh, /bin/sh); its Windows twin is platform/test_windows_output.cpp.
#ifndef _WIN32

#include <atomic>
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
  runJobHere(job, view, jobHooks);
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
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(dir.read("imprimir.sh"),
            "d=/dev/lp$(($1 - 1)); if [ -c \"$d\" ]; then cat WRITE.TXT > \"$d\"; "
            "else echo \"No hay una impresora en $d: no existe o no es un dispositivo.\" >&2; exit 1; fi\n");
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
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(dir.read("IMPRIMIR.SH"), "lp -d OFICINA -o raw WRITE.TXT\n");
  EXPECT_FALSE(dir.exists("imprimir.sh"));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].command.arguments[0], dir.file("IMPRIMIR.SH"));
}

TEST_F(OutputStepTest, FailuresAreToldInsteadOfTheFinalMessage) {
  launcher.failure = std::make_error_code(std::errc::no_such_file_or_directory);
  runJobHere(job, view, jobHooks);
  EXPECT_NE(lastMessage().find("No se pudo enviar"), std::string::npos);
  EXPECT_NE(lastMessage().find(": el archivo o la carpeta no existe"), std::string::npos) << lastMessage();

  view.port = "40000";
  launcher.failure.clear();
  launcher.started.clear();
  runJobHere(job, view, jobHooks);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_NE(lastMessage().find("puerto"), std::string::npos);

  view.preview = CheckState::Checked;
  launcher.failure = std::make_error_code(std::errc::no_such_file_or_directory);
  runJobHere(job, view, jobHooks);
  EXPECT_NE(lastMessage().find("xdg-open"), std::string::npos);
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: no se pudo mostrar por pantalla");  // not the caption from before
}

TEST_F(OutputStepTest, MissingReportIsToldAndNothingStaleIsShown) {
  dir.write("WRITE.TXT", "de un trabajo anterior\r\n");
  view.report = "IVACOMPRAS.TXT";
  runJobHere(job, view, jobHooks);
  EXPECT_NE(lastMessage().find("IVACOMPRAS.TXT"), std::string::npos);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(view.captions,
            (std::vector<std::string>{"Procesando Archivo. Aguarde..", "IVACOMPRAS.TXT: la impresion fallo"}));
}

TEST_F(OutputStepTest, WaitsForTheEarlierCopyBeforeRewritingTheWorkFile) {
  dir.write("WRITE.TXT", "todavia imprimiendo\r\n");
  launcher.endsAtLook = 4;
  std::string workFileWhileWaiting;
  jobHooks = JobHooks{{}, nullptr, [&](WaitingFor, int) { workFileWhileWaiting = dir.read("WRITE.TXT"); }, {}};
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(launcher.waits, 4);
  EXPECT_EQ(workFileWhileWaiting, "todavia imprimiendo\r\n");
  EXPECT_EQ(view.captions[1], "Esperando que termine la impresion anterior\u2026 0 min. Esc cancela la espera.");
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(workLines().size(), 3u);
  EXPECT_EQ(launcher.started.size(), 1u);
}

TEST_F(OutputStepTest, ScriptThatCannotBeCreatedIsTold) {
  std::filesystem::create_directory(dir.file("imprimir.sh"));  // a folder stands where the script would go
  runJobHere(job, view, jobHooks);
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
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(20)));
  EXPECT_EQ(dir.read("copia.txt"), dir.read("WRITE.TXT"));
  EXPECT_EQ(dir.read("llamada.txt"), "3 " + std::filesystem::canonical(dir.path()).string() + "\n");
}

TEST(SystemLauncherTest, ProgramThatCannotStartIsReportedAndAFinishedOneIsNotWaitedFor) {
  SystemLauncher launcher;
  EXPECT_TRUE(launcher.start({"/no/such/program", {}, "", WindowStyle::Hidden}));
  EXPECT_TRUE(launcher.startTracked({"/bin/sh", {"-c", "true"}, "/no/such/folder", WindowStyle::Hidden}));
  EXPECT_TRUE(launcher.waitForTracked(std::chrono::milliseconds(0)));
  EXPECT_FALSE(launcher.startTracked({"/bin/sh", {"-c", "sleep 3"}, "", WindowStyle::Hidden}));
  EXPECT_FALSE(launcher.waitForTracked(std::chrono::milliseconds(50)));
  EXPECT_FALSE(launcher.start({"/bin/sh", {"-c", "exit 0"}, "", WindowStyle::Hidden}));
}

}  // namespace

namespace {

// A second workstation that holds the work file's lock through its print
// command, which prints for `seconds`.
void holdTheLockFor(SystemLauncher& other, const TempFolder& dir, const char* seconds) {
  FileLock otherLock;
  ASSERT_EQ(otherLock.acquire(dir.file("WRITE.LCK"), std::chrono::milliseconds(0)), std::error_code());
  Command copy{"/bin/sh", {"-c", std::string("sleep ") + seconds}, dir.path(), WindowStyle::Hidden,
               otherLock.inheritableHandle()};
  ASSERT_FALSE(other.startTracked(copy));
}  // the started copy keeps the lock

struct Waits {
  std::vector<std::pair<WaitingFor, int>> told;
  std::atomic<bool> cancel{false};
  bool cancelWhenTold = false;
  JobHooks hooks() {
    return {{}, &cancel, [this](WaitingFor what, int minutes) {
              told.emplace_back(what, minutes);
              if (cancelWhenTold) cancel = true;
            },
            {}};
  }
};

TEST_F(OutputStepTest, AnotherWorkstationIsWaitedForWithoutLimitThenTheJobRunsOnItsOwn) {
  dir.write("WRITE.TXT", "de la otra estacion\r\n");
  SystemLauncher other;
  holdTheLockFor(other, dir, "1.5");
  Waits waits;
  jobHooks = waits.hooks();
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_TRUE(other.waitForTracked(std::chrono::milliseconds(0)));
  EXPECT_EQ(workLines().size(), 3u);
  ASSERT_EQ(waits.told.size(), 1u);
  EXPECT_EQ(waits.told[0], std::make_pair(WaitingFor::OtherWorkstation, 0));
  EXPECT_EQ(view.captions[1],
            "Esperando que termine la impresion de otra estacion\u2026 0 min. Esc cancela la espera.");
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: 1 pagina, folio 1, ancho 192 columnas");  // the summary
}

TEST_F(OutputStepTest, AWaitCancelledLeavesTheWorkFileAndSendsNothing) {
  dir.write("WRITE.TXT", "de la otra estacion\r\n");
  SystemLauncher other;
  holdTheLockFor(other, dir, "30");
  Waits waits;
  waits.cancelWhenTold = true;
  jobHooks = waits.hooks();
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "Se cancelo la impresion. No se envio nada a la impresora.");
  EXPECT_EQ(dir.read("WRITE.TXT"), "de la otra estacion\r\n");
  EXPECT_TRUE(launcher.started.empty());

  // The same for this workstation's earlier copy, still printing.
  launcher.trackedEnded = false;
  waits.cancel = false;
  waits.told.clear();
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "Se cancelo la impresion. No se envio nada a la impresora.");
  ASSERT_EQ(waits.told.size(), 1u);
  EXPECT_EQ(waits.told[0], std::make_pair(WaitingFor::EarlierCopy, 0));
  EXPECT_EQ(view.captions.back(), "IVAVENTAS.TXT: se cancelo la impresion");
}

TEST_F(OutputStepTest, TheEarlierCopyIsWaitedForWithoutLimitThenTheJobRunsOnItsOwn) {
  SystemLauncher real;
  PrintJob realJob{view, dialogs, real, dir.path(), NumberFormat{}};
  Waits waits;
  jobHooks = waits.hooks();
  dir.write("imprimir.sh", "echo \"$1\" >> copias.txt\n");
  // The earlier copy appends when it ends; the new one must come after it.
  ASSERT_FALSE(real.startTracked({"/bin/sh", {"-c", "sleep 1.5; echo anterior >> copias.txt"}, dir.path()}));
  runJobHere(realJob, view, jobHooks);
  EXPECT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  ASSERT_EQ(waits.told.size(), 1u);
  EXPECT_EQ(waits.told[0], std::make_pair(WaitingFor::EarlierCopy, 0));
  ASSERT_TRUE(real.waitForTracked(std::chrono::seconds(30)));
  EXPECT_EQ(dir.read("copias.txt"), "anterior\n1\n");
}

}  // namespace

namespace {

// The real print script fails: at once, or after the job has ended.
TEST(PrintFailureTest, AScriptThatFailsAtOnceIsToldInsteadOfTheFinalMessage) {
  TempFolder dir;
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{}};
  dir.write("IVAVENTAS.TXT", "IVA VENTAS\r\nfila\r\n");
  dir.write("imprimir.sh", "echo 'cat: /dev/lp0: Permiso denegado' >&2\nexit 1\n");
  view.report = "IVAVENTAS.TXT";
  view.header = "1";
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed.size(), 1u);
  const std::string& told = dialogs.informed[0];
  for (const std::string& part : {std::string("No se pudo imprimir"), "/bin/sh " + dir.file("imprimir.sh") + " 1",
                                  std::string("Codigo de salida: 1"), std::string("cat: /dev/lp0: Permiso denegado"),
                                  std::string("/dev/lp0"), std::string("grupo lp"), std::string("permiso")})
    EXPECT_NE(told.find(part), std::string::npos) << part << "\n" << told;
  EXPECT_TRUE(job.lateFailures().empty());
  // The record tells the failure and no folio: nothing was printed.
  const auto records = recordsOf(dir.path(), "IVAVENTAS.TXT", 5);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].outcome, RecordOutcome::Failed);
  EXPECT_EQ(records[0].pages, 0);
  EXPECT_EQ(records[0].firstFolio, 0);
}

TEST(PrintFailureTest, AScriptThatFailsLaterIsToldByItselfAndOneThatEndsWellIsNot) {
  TempFolder dir;
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{}};
  dir.write("IVAVENTAS.TXT", "IVA VENTAS\r\nfila\r\n");
  view.report = "IVAVENTAS.TXT";
  view.header = "1";
  for (const int status : {0, 2}) {
    dialogs.informed.clear();
    dir.write("imprimir.sh", "sleep 3\necho 'lp: la impresora no responde' >&2\nexit " + std::to_string(status) + "\n");
    runJobHere(job, view);
    EXPECT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
    ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(30)));
    const auto later = job.lateFailures();
    if (status == 0) {
      EXPECT_TRUE(later.empty());
      continue;
    }
    ASSERT_EQ(later.size(), 1u);
    EXPECT_NE(later[0].find("termino con error"), std::string::npos) << later[0];
    EXPECT_NE(later[0].find("Codigo de salida: 2"), std::string::npos) << later[0];
    EXPECT_NE(later[0].find("lp: la impresora no responde"), std::string::npos) << later[0];
  }
}

}  // namespace
#endif
