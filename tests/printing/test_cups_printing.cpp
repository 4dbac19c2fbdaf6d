// Printing to a printer of the system through a real CUPS server of the
// test's own, whose raw queues send to printers listening on loopback.
// Linux only: a cupsd of its own (Wine's spooler cannot reach a CUPS server; the Windows spooler sits behind the same interface).
#ifndef _WIN32
#include <thread>

#include "print_fixture.hpp"
#include "printing/print_record.hpp"
#include "support/printer_peers.hpp"

namespace pliego::testing {
namespace {

class CupsPrintingTest : public PrintJobTest {
 protected:
  void SetUp() override {
    if (!cups.running()) GTEST_SKIP() << "cupsd could not be started here (it needs root and Debian's cups)";
    ASSERT_TRUE(cups.addRawQueue("matriz", "socket://127.0.0.1:" + std::to_string(printer.port())));
    giveReport("MAYOR.TXT", ledger());
    view.destinationText = "IMPRESORA:matriz";
  }
  static std::vector<std::string> ledger() {
    std::vector<std::string> lines{"\x1B@\x0F" "LIBRO MAYOR", "Cuenta   Debe   Haber", "", "", ""};
    append(lines, numberedLines(40, "asiento \xF1 "));
    lines.push_back("SALDO FINAL: 1.234,56");
    append(lines, numberedLines(30, "asiento \xBA "));
    return lines;
  }
  std::vector<PrintRecord> records() const { return recordsOf(dir.path(), "MAYOR.TXT", 100); }

  CupsServer cups;
  LoopbackPrinter printer;
  std::unique_ptr<PrintSpooler> spooler = systemSpooler(cups.address());
  PrintJob cupsJob{view, dialogs, launcher, dir.path(), NumberFormat{'.', ','}, spooler.get()};
};

TEST_F(CupsPrintingTest, QueueSendsTheWorkFileUnchangedAndTheRecordSaysItPrinted) {
  std::error_code error;
  const auto printers = spooler->printers(error);
  EXPECT_NE(std::find(printers.begin(), printers.end(), "matriz"), printers.end());

  runJobHere(cupsJob, view, jobHooks);
  EXPECT_EQ(lastMessage(), kJobDone);
  EXPECT_EQ(printer.received(), dir.read("WRITE.TXT"));
  EXPECT_TRUE(launcher.started.empty());
  ASSERT_TRUE(cupsJob.followUpSettled(std::chrono::seconds(30)));
  const auto lines = records();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].outcome, RecordOutcome::Sent);
  EXPECT_EQ(lines[1].outcome, RecordOutcome::Printed);
  EXPECT_EQ(lines[1].job, lines[0].job);
  EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), lines[0].lastFolio + 1);
}

TEST_F(CupsPrintingTest, QueueGetsTheSetUpThenTheWorkFileThenTheEndOfTheJob) {
  view.printer.commands = "EPSON ESC/P";
  view.printer.end = "SALTO DE PAGINA";
  runJobHere(cupsJob, view, jobHooks);
  ASSERT_EQ(lastMessage(), kJobDone);
  const std::string work = dir.read("WRITE.TXT"), got = printer.received();
  ASSERT_GT(got.size(), work.size() + 1);
  EXPECT_EQ(got.rfind("\x1B@", 0), 0u);
  EXPECT_EQ(got.substr(got.size() - 1 - work.size()), work + "\f");
}

TEST_F(CupsPrintingTest, StoppedQueueIsToldAndLeavesNoJobToPrintLater) {
  cups.run("/usr/sbin/cupsdisable matriz");
  runJobHere(cupsJob, view, jobHooks);
  EXPECT_NE(lastMessage().find("la impresora matriz esta detenida en el sistema"), std::string::npos)
      << lastMessage();
  EXPECT_EQ(cups.pendingJobs("matriz"), "");
  ASSERT_EQ(records().size(), 1u);
  EXPECT_EQ(records()[0].outcome, RecordOutcome::Failed);
  EXPECT_FALSE(offeredFolio(dir.path(), "MAYOR.TXT"));
}

TEST_F(CupsPrintingTest, UnknownPrinterIsToldByName) {
  view.destinationText = "IMPRESORA:no_existe";
  runJobHere(cupsJob, view, jobHooks);
  EXPECT_NE(lastMessage().find("No se pudo imprimir en la impresora no_existe: el sistema no tiene una impresora "
                               "con ese nombre. No se envio nada"),
            std::string::npos)
      << lastMessage();
}

// The queue's printer refuses the connection: the job waits in the queue,
// the user is told so at once, and Esc meanwhile removes the job.
class UnreachableQueue : public CupsPrintingTest {
 protected:
  void SetUp() override {
    CupsPrintingTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(cups.addRawQueue("apagada", "socket://127.0.0.1:" + std::to_string(LoopbackPrinter::refusingPort())));
    view.destinationText = "IMPRESORA:apagada";
    SendLimits limits;
    limits.firstLook = std::chrono::seconds(4);
    cupsJob.setSendLimits(limits);
  }
};

TEST_F(UnreachableQueue, IsToldAsWaitingForThePrinter) {
  runJobHere(cupsJob, view, jobHooks);
  EXPECT_NE(lastMessage().find("El sistema no logra comunicarse con la impresora apagada"), std::string::npos)
      << lastMessage();
  EXPECT_NE(cups.pendingJobs("apagada"), "");
  cups.run("/usr/bin/cancel -a apagada");
}

TEST_F(UnreachableQueue, EscRemovesTheSpooledJob) {
  std::atomic<bool> cancel{false};
  JobHooks hooks;
  hooks.cancel = &cancel;
  jobHooks = hooks;
  std::thread esc([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    cancel = true;
  });
  runJobHere(cupsJob, view, jobHooks);
  esc.join();
  EXPECT_EQ(lastMessage(), kJobCancelled);
  EXPECT_EQ(cups.pendingJobs("apagada"), "");
  ASSERT_EQ(records().size(), 1u);
  EXPECT_EQ(records()[0].outcome, RecordOutcome::Cancelled);
}

TEST(CupsSpooler, NoServerIsToldAsSuch) {
  const auto spooler = systemSpooler("127.0.0.1:" + std::to_string(LoopbackPrinter::refusingPort()));
  std::error_code error;
  EXPECT_FALSE(spooler->begin("matriz", "prueba", error));
  EXPECT_EQ(printerFaultText(error), "el sistema de impresion no responde");
  EXPECT_TRUE(spooler->printers(error).empty());
}

}  // namespace
}  // namespace pliego::testing
#endif
