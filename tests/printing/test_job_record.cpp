// The print job with the first folio and the pages for the next job, the
// line it leaves in "PLIEGOMATIC.LOG", and the summary on the status line,
// on real files in a real folder.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <unistd.h>

#include "support/child_process.hpp"
#endif

#include "printing/print_fixture.hpp"
#include "platform/file_lock.hpp"
#include "printing/print_record.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

class JobRecord : public PrintJobTest {
 protected:
  // A VAT sales book: 3 header lines, 80 entries, then its totals; with 10
  // lines a page it takes 14 pages (6 entries on page 1 and on every further page).
  void giveSalesBook() {
    std::vector<std::string> lines{"EL A\xD1IL S.A.", "LIBRO IVA VENTAS", "FECHA  COMPROBANTE  IMPORTE"};
    append(lines, numberedLines(80, "01/03 FC-A "));
    append(lines, {"Tasas de I.V.A.:", "21%  2.520,00"});
    giveReport("IVAVENTAS.TXT", lines);
    view.perPage = "10";
    view.header = "3";
    view.between = "1";
  }
  std::vector<PrintRecord> records() const { return recordsOf(dir.path(), "IVAVENTAS.TXT", 100); }
  std::vector<std::string> stamps() const {
    std::vector<std::string> found;
    for (const auto& line : workLines())
      if (const auto at = line.find(" Pagina: "); at != std::string::npos) found.push_back(line.substr(at + 9));
    return found;
  }
  void print(std::optional<PageSelection> options = {}) {
    if (options) job.setNextOptions(view.report, *options);
    runJobHere(job, view, jobHooks);
  }
};

PageSelection folio(std::int64_t first, std::optional<std::int64_t> from = {}, std::optional<std::int64_t> to = {}) {
  PageSelection selection;
  selection.firstFolio = first;
  selection.from = from;
  selection.to = to;
  return selection;
}

TEST_F(JobRecord, AWholeBookLeavesOneLineAndItsSummaryOnTheStatusLine) {
  giveSalesBook();
  print();
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  ASSERT_EQ(stamps().size(), 14u);
  EXPECT_EQ(stamps().front(), "1");
  EXPECT_EQ(stamps().back(), "14");
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: 14 paginas, folios 1 a 14, ancho 192 columnas");

  const auto lines = splitCrLf(dir.read(kRecordFileName));
  ASSERT_EQ(lines.size(), 2u);
  const auto record = parseRecord(lines[1]);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->report, "IVAVENTAS.TXT");
  EXPECT_EQ(record->profile, "EPSON 11 PULGADAS");
  EXPECT_EQ(record->linesPerPage, "10");
  EXPECT_EQ(record->firstFolio, 1);
  EXPECT_EQ(record->lastFolio, 14);
  EXPECT_EQ(record->pages, 14);
  EXPECT_EQ(record->lines, static_cast<std::int64_t>(workLines().size()));
  EXPECT_TRUE(record->wholeBook());
  EXPECT_FALSE(record->preview);
  EXPECT_EQ(record->outcome, RecordOutcome::Sent);
  EXPECT_FALSE(record->workstation.empty());
}

// After a book whose last folio was 14, the next print of that report is
// offered 15 and stamps its first page 15; a reprint offers nothing new.
TEST_F(JobRecord, TheNextBookGoesOnFromTheFolioTheLastOneEnded) {
  giveSalesBook();
  print();
  const auto offered = offeredFolio(dir.path(), "IVAVENTAS.TXT");
  ASSERT_EQ(offered, 15);
  print(folio(*offered));
  EXPECT_EQ(stamps().front(), "15");
  EXPECT_EQ(stamps().back(), "28");
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: 14 paginas, folios 15 a 28, ancho 192 columnas");
  EXPECT_EQ(offeredFolio(dir.path(), "IVAVENTAS.TXT"), 29);

  print(folio(15, 20, 22));
  EXPECT_EQ(stamps(), (std::vector<std::string>{"20", "21", "22"}));
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: 3 paginas, folios 20 a 22, ancho 192 columnas");
  EXPECT_EQ(records().back().pagesAsked, "20 a 22");
  EXPECT_EQ(offeredFolio(dir.path(), "IVAVENTAS.TXT"), 29);
}

TEST_F(JobRecord, AReprintSendsThosePagesOfTheWholeBookAsTheyWere) {
  giveSalesBook();
  print(folio(38));
  const auto wholeLines = workLines();
  print(folio(38, 40, 42));
  // Page 38 is 9 report lines; every later page is 1 blank, 3 header lines
  // and 6 entries: page 40 is lines 20 to 29 of the whole book.
  const auto reprint = workLines();
  ASSERT_EQ(reprint.size(), 30u);
  EXPECT_EQ(reprint, slice(wholeLines, 9 + 10 + 1, 9 + 4 * 10));
  EXPECT_EQ(launcher.started.size(), 2u);
  const auto last = records().back();
  EXPECT_EQ(last.firstFolio, 40);
  EXPECT_EQ(last.lastFolio, 42);
  EXPECT_EQ(last.pages, 3);
  EXPECT_EQ(last.lines, 30);
}

TEST_F(JobRecord, OptionsServeTheNextJobOnlyAndOnlyForTheirReport) {
  giveSalesBook();
  job.setNextOptions("MAYOR.TXT", folio(38, 40, 42));
  EXPECT_FALSE(job.nextOptionsFor("IVAVENTAS.TXT"));
  print();
  EXPECT_EQ(stamps().size(), 14u);
  EXPECT_EQ(stamps().front(), "1");
  // Another report's job leaves them waiting for their own; the user may take them away.
  ASSERT_TRUE(job.nextOptionsFor("MAYOR.TXT"));
  EXPECT_EQ(job.nextOptionsFor("mayor.txt")->firstFolio, 38);
  job.setNextOptions("MAYOR.TXT", std::nullopt);
  EXPECT_FALSE(job.nextOptionsFor("MAYOR.TXT"));

  job.setNextOptions(" ivaventas.txt ", folio(50, 51, 51));
  ASSERT_TRUE(job.nextOptionsFor("IVAVENTAS.TXT"));
  print();
  EXPECT_EQ(stamps(), std::vector<std::string>{"51"});
  EXPECT_FALSE(job.nextOptionsFor("IVAVENTAS.TXT"));
  print();
  EXPECT_EQ(stamps().size(), 14u);
  EXPECT_EQ(stamps().front(), "1");
}

TEST_F(JobRecord, PagesOutsideTheBookAreRefusedSendNothingAndAreRecorded) {
  giveSalesBook();
  view.caption = "aviso";
  print(folio(38, 50, 60));
  EXPECT_EQ(lastMessage(),
            "Las paginas pedidas (50 a 60) no estan en el libro, que tiene 14 paginas, folios 38 a 51. "
            "No se imprimio nada.");
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: la impresion fallo");
  const auto last = records().back();
  EXPECT_EQ(last.outcome, RecordOutcome::Failed);
  EXPECT_EQ(last.reason, lastMessage());
  EXPECT_EQ(last.pagesAsked, "50 a 60");
  EXPECT_EQ(last.pages, 0);
}

TEST_F(JobRecord, FailedAndCancelledJobsAreRecordedToo) {
  giveSalesBook();
  launcher.failure = std::make_error_code(std::errc::no_such_file_or_directory);
  print();
  ASSERT_EQ(records().size(), 1u);
  EXPECT_EQ(records()[0].outcome, RecordOutcome::Failed);
  EXPECT_EQ(records()[0].reason, lastMessage());
  EXPECT_NE(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(records()[0].pages, 0);

  launcher.failure.clear();
  std::atomic<bool> cancel{true};
  JobHooks hooks;
  hooks.cancel = &cancel;
  jobHooks = hooks;
  print();
  ASSERT_EQ(records().size(), 2u);
  EXPECT_EQ(records()[1].outcome, RecordOutcome::Cancelled);
  EXPECT_FALSE(offeredFolio(dir.path(), "IVAVENTAS.TXT"));
}

TEST_F(JobRecord, APreviewIsRecordedAsShownOnScreenAndDoesNotMoveTheNextFolio) {
  giveSalesBook();
  view.preview = CheckState::Checked;
  print(folio(7));
  EXPECT_EQ(stamps().front(), "7");
  ASSERT_EQ(records().size(), 1u);
  EXPECT_TRUE(records()[0].preview);
  EXPECT_FALSE(offeredFolio(dir.path(), "IVAVENTAS.TXT"));
}

// Waiting for another workstation's lock on the record must not hold the
// window: the job's own thread writes the line, and the end of the job on
// the window's thread only tells how that went.
TEST_F(JobRecord, TheJobsThreadWritesTheLineAndTheWindowsThreadOnlyTellsIt) {
  giveSalesBook();
  const auto settings = job.prepare(readJobFields(view));
  ASSERT_TRUE(settings);
  JobOutcome outcome = job.work(*settings, {});
  ASSERT_EQ(records().size(), 1u);
  EXPECT_EQ(records()[0].outcome, RecordOutcome::Sent);

  JobOutcome notRecorded = outcome;
  notRecorded.recorded = false;
  std::filesystem::remove(dir.file(kRecordFileName));
  job.finish(*settings, outcome);
  EXPECT_FALSE(dir.exists(kRecordFileName));
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: 14 paginas, folios 1 a 14, ancho 192 columnas");
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");

  job.finish(*settings, notRecorded);
  EXPECT_FALSE(dir.exists(kRecordFileName));
  EXPECT_EQ(view.caption, "IVAVENTAS.TXT: 14 paginas, folios 1 a 14, ancho 192 columnas. No se pudo anotar "
                          "esta impresion en PLIEGOMATIC.LOG.");
}

#ifndef _WIN32  // the lock is held by a second process
// Esc (or closing the window) while another workstation holds the record's
// lock gives up the wait at once: the line is not written, even when the
// lock is let go soon after.
TEST_F(JobRecord, EscStopsTheWaitForTheRecordsLock) {
  giveSalesBook();
  print();
  const std::string before = dir.read(kRecordFileName);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = startChild([&] {
    FileLock lock;
    if (lock.acquire(dir.file(kRecordFileName), std::chrono::seconds(0))) return 1;
    char c = 1;
    if (write(ready[1], &c, 1) != 1) return 1;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    return 0;
  });
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  std::atomic<bool> cancel{true};
  JobHooks hooks;
  hooks.cancel = &cancel;
  const auto settings = job.prepare(readJobFields(view));
  ASSERT_TRUE(settings);
  const JobOutcome outcome = job.work(*settings, hooks);
  EXPECT_EQ(outcome.result, JobResult::Cancelled);
  EXPECT_FALSE(outcome.recorded);
  EXPECT_EQ(waitChild(holder).code, 0);
  EXPECT_EQ(dir.read(kRecordFileName), before);
  close(ready[0]);
  close(ready[1]);
}
#endif

TEST_F(JobRecord, ARecordThatCannotBeWrittenIsToldOnTheStatusLineOnly) {
  giveSalesBook();
  std::filesystem::create_directory(dir.file(kRecordFileName));  // a folder where the file should be
  print();
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(view.caption,
            "IVAVENTAS.TXT: 14 paginas, folios 1 a 14, ancho 192 columnas. "
            "No se pudo anotar esta impresion en PLIEGOMATIC.LOG.");
}

}  // namespace
