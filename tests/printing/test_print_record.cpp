// The record of every print, "PLIEGOMATIC.LOG": its bytes, what it offers as
// the next folio, and appends from several processes at once.
#include <algorithm>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include "settings/file_size_limit.hpp"
#endif

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>

#include "platform/file_lock.hpp"
#include "printing/print_record.hpp"
#include "support/temp_folder.hpp"
#include "support/platform_skips.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const std::string kColumns =
    "Fecha y hora\tEstacion\tUsuario\tReporte\tPerfil\tRenglones por pagina\tPrimer folio\tUltimo folio\t"
    "Paginas\tRenglones\tPaginas pedidas\tSalida\tResultado\tDestino\tTrabajo\tPDF\tSHA-256 del PDF";

PrintRecord book(const std::string& report, std::int64_t first, std::int64_t last) {
  PrintRecord record;
  record.when = "2024-02-05 14:30:12";
  record.workstation = "CONTADURIA-2";
  record.user = "mgarcia";
  record.report = report;
  record.profile = "EPSON FX";
  record.linesPerPage = "72";
  record.firstFolio = first;
  record.lastFolio = last;
  record.pages = last - first + 1;
  record.lines = record.pages * 71;
  return record;
}

PrintRecord reprint(const std::string& report, std::int64_t first, std::int64_t last) {
  PrintRecord record = book(report, first, last);
  record.pagesAsked = std::to_string(first) + " a " + std::to_string(last);
  return record;
}

PrintRecord preview(PrintRecord record) {
  record.preview = true;
  return record;
}

PrintRecord failed(PrintRecord record, const std::string& reason) {
  record.outcome = RecordOutcome::Failed;
  record.reason = reason;
  return record;
}

constexpr const char* kDigest = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

PrintRecord withPdf(PrintRecord record, bool instead) {
  record.pdfOnly = instead;
  record.pdf = "IVAVENTAS_folios_" + std::to_string(record.firstFolio) + ".pdf";
  record.pdfSha256 = kDigest;
  return record;
}

PrintRecord cancelled(PrintRecord record) {
  record.outcome = RecordOutcome::Cancelled;
  return record;
}

class PrintRecordFile : public ::testing::Test {
 protected:
  TempFolder dir;

  void append(const PrintRecord& record) { ASSERT_EQ(appendRecord(dir.path(), record), AppendResult::Done); }
};

TEST_F(PrintRecordFile, NewFileGetsTheColumnNamesThenOneTabSeparatedLinePerJobWithCrLf) {
  append(book("IVAVENTAS.TXT", 1, 37));
  PrintRecord second = failed(reprint("MAYOR.TXT", 143, 150), "Otra estacion esta imprimiendo.");
  second.preview = true;
  append(second);
  append(cancelled(book("IVACOMPRAS.TXT", 5, 4)));

  EXPECT_EQ(dir.read(kRecordFileName),
            kColumns + "\r\n" +
                "2024-02-05 14:30:12\tCONTADURIA-2\tmgarcia\tIVAVENTAS.TXT\tEPSON FX\t72\t1\t37\t37\t2627\ttodas\t"
                "impresora\tenviado\t\t\t\t\r\n"
                "2024-02-05 14:30:12\tCONTADURIA-2\tmgarcia\tMAYOR.TXT\tEPSON FX\t72\t143\t150\t8\t568\t143 a 150\t"
                "pantalla\tfallo: Otra estacion esta imprimiendo.\t\t\t\t\r\n"
                "2024-02-05 14:30:12\tCONTADURIA-2\tmgarcia\tIVACOMPRAS.TXT\tEPSON FX\t72\t\t\t0\t0\ttodas\t"
                "impresora\tcancelado\t\t\t\t\r\n");
}

// The PDF's name and hash close the line; "pdf" is the output of a PDF made
// instead of a print.
TEST_F(PrintRecordFile, PdfNameAndHashAreTheLastColumnsAndReadBack) {
  append(withPdf(book("IVAVENTAS.TXT", 38, 74), true));
  append(withPdf(book("IVAVENTAS.TXT", 38, 74), false));
  const auto lines = splitCrLf(dir.read(kRecordFileName));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], std::string("2024-02-05 14:30:12\tCONTADURIA-2\tmgarcia\tIVAVENTAS.TXT\tEPSON FX\t72\t38\t74\t37\t"
                                  "2627\ttodas\tpdf\tenviado\t\t\tIVAVENTAS_folios_38.pdf\t") + kDigest);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto back = parseRecord(lines[i]);
    ASSERT_TRUE(back) << lines[i];
    EXPECT_EQ(back->pdfOnly, i == 1);
    EXPECT_FALSE(back->preview);
    EXPECT_EQ(back->pdf, "IVAVENTAS_folios_38.pdf");
    EXPECT_EQ(back->pdfSha256, kDigest);
  }
}

// A line written before the PDF's columns existed is still a record.
TEST_F(PrintRecordFile, LinesWithoutThePdfColumnsStillRead) {
  const std::string old =
      "2024-02-05 14:30:12\tCONTADURIA-2\tmgarcia\tMAYOR.TXT\tEPSON FX\t72\t1\t9\t9\t639\ttodas\timpresora\tenviado";
  const auto back = parseRecord(old);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->lastFolio, 9);
  EXPECT_TRUE(back->pdf.empty());
  dir.write(kRecordFileName, old + "\r\n");
  EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), 10);
}

TEST_F(PrintRecordFile, ReasonsWithTabsOrLineEndsStayOnOneLineAndReadBack) {
  const PrintRecord record = failed(book("MAYOR.TXT", 1, 2), "No se pudo\tcrear\r\nel archivo \xD1" "ANDU.");
  append(record);
  const auto lines = splitCrLf(dir.read(kRecordFileName));
  ASSERT_EQ(lines.size(), 2u);
  const auto back = parseRecord(lines[1]);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->reason, "No se pudo crear  el archivo \xD1" "ANDU.");
  EXPECT_EQ(back->outcome, RecordOutcome::Failed);
  EXPECT_EQ(back->report, "MAYOR.TXT");
  EXPECT_EQ(back->lastFolio, 2);
  EXPECT_TRUE(back->wholeBook());
}

TEST_F(PrintRecordFile, ColumnNamesHandEditsAndCutLinesAreNotRecords) {
  EXPECT_FALSE(parseRecord(kColumns));
  EXPECT_FALSE(parseRecord(""));
  EXPECT_FALSE(parseRecord("revisado por el contador"));
  const std::string whole = formatRecord(book("MAYOR.TXT", 1, 9));
  EXPECT_TRUE(parseRecord(whole));
  const auto cutTo = [&](std::ptrdiff_t columns) {
    std::string cut = whole;
    while (std::count(cut.begin(), cut.end(), '\t') >= columns) cut.resize(cut.rfind('\t'));
    return cut;
  };
  const std::string firstColumns = cutTo(13);
  EXPECT_TRUE(parseRecord(firstColumns));  // a line of the first files
  EXPECT_FALSE(parseRecord(firstColumns.substr(0, firstColumns.size() - 3)));  // outcome cut short
  EXPECT_FALSE(parseRecord(cutTo(12)));  // a column of the first files missing
}

// Files written before the destination and the job mark were kept.
TEST_F(PrintRecordFile, LinesOfTheFirstFilesStillReadAndLaterColumnsReadBack) {
  const auto old = parseRecord(
      "2024-02-05 14:30:12\tCONTADURIA-2\tmgarcia\tIVAVENTAS.TXT\tEPSON FX\t72\t1\t37\t37\t2627\ttodas\t"
      "impresora\tenviado");
  ASSERT_TRUE(old);
  EXPECT_EQ(old->lastFolio, 37);
  EXPECT_EQ(old->job, "");
  PrintRecord record = book("IVAVENTAS.TXT", 1, 37);
  record.destination = "IMPRESORA:EPSON FX";
  record.job = "00ab";
  const auto back = parseRecord(formatRecord(laterRecord(record, RecordOutcome::FailedLater, "la cola se detuvo")));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->destination, "IMPRESORA:EPSON FX");
  EXPECT_EQ(back->job, "00ab");
  EXPECT_EQ(back->outcome, RecordOutcome::FailedLater);
  EXPECT_EQ(back->reason, "la cola se detuvo");
}

// Each row: the records appended, in order, and the folio then offered for
// IVAVENTAS.TXT (0: none).
struct OfferRow {
  const char* what;
  std::vector<PrintRecord> records;
  std::int64_t offered;
};

TEST_F(PrintRecordFile, NextFolioComesFromTheLastWholeBookSentOfThatReport) {
  const std::vector<OfferRow> rows{
      {"no record", {}, 0},
      {"a whole book", {book("IVAVENTAS.TXT", 1, 37)}, 38},
      {"name in other case and blanks", {book(" ivaventas.txt ", 1, 37)}, 38},
      {"the last of two books", {book("IVAVENTAS.TXT", 1, 37), book("IVAVENTAS.TXT", 38, 74)}, 75},
      {"a reprint does not move it", {book("IVAVENTAS.TXT", 1, 37), reprint("IVAVENTAS.TXT", 20, 22)}, 38},
      {"a preview does not move it", {book("IVAVENTAS.TXT", 1, 37), preview(book("IVAVENTAS.TXT", 38, 80))}, 38},
      {"a failed book does not", {book("IVAVENTAS.TXT", 1, 37), failed(book("IVAVENTAS.TXT", 38, 70), "x")}, 38},
      {"a PDF instead of the print does not",
       {book("IVAVENTAS.TXT", 1, 37), withPdf(book("IVAVENTAS.TXT", 38, 74), true)},
       38},
      {"a PDF with the print is that print's",
       {book("IVAVENTAS.TXT", 1, 37), withPdf(book("IVAVENTAS.TXT", 38, 74), false)},
       75},
      {"a cancelled book does not", {book("IVAVENTAS.TXT", 1, 37), cancelled(book("IVAVENTAS.TXT", 38, 40))}, 38},
      {"other reports do not", {book("IVAVENTAS.TXT", 1, 37), book("IVACOMPRAS.TXT", 1, 90)}, 38},
      {"only reprints", {reprint("IVAVENTAS.TXT", 3, 5)}, 0},
      {"only another report", {book("IVACOMPRAS.TXT", 1, 90)}, 0},
  };
  for (const auto& row : rows) {
    TempFolder folder;
    for (const auto& record : row.records) ASSERT_EQ(appendRecord(folder.path(), record), AppendResult::Done);
    EXPECT_EQ(offeredFolio(folder.path(), "IVAVENTAS.TXT").value_or(0), row.offered) << row.what;
  }
}

TEST_F(PrintRecordFile, LastRecordsOfAReportInTheOrderTheyWereMade) {
  for (int i = 1; i <= 6; ++i) {
    append(book("IVAVENTAS.TXT", i * 10, i * 10 + 5));
    append(book("MAYOR.TXT", i, i));
  }
  const auto last = recordsOf(dir.path(), "ivaventas.txt", 4);
  ASSERT_EQ(last.size(), 4u);
  for (std::size_t i = 0; i < last.size(); ++i) {
    EXPECT_EQ(last[i].report, "IVAVENTAS.TXT");
    EXPECT_EQ(last[i].firstFolio, static_cast<std::int64_t>(30 + 10 * i));
  }
  EXPECT_EQ(recordsOf(dir.path(), "MAYOR.TXT", 100).size(), 6u);
  EXPECT_TRUE(recordsOf(dir.path(), "IVACOMPRAS.TXT", 5).empty());
}

TEST_F(PrintRecordFile, MissingFileKnowsNothing) {
  EXPECT_TRUE(recordsOf(dir.path(), "MAYOR.TXT", 5).empty());
  EXPECT_FALSE(offeredFolio(dir.path(), "MAYOR.TXT"));
  EXPECT_FALSE(dir.exists(kRecordFileName));
}

TEST_F(PrintRecordFile, AppendWaitsForAnotherHolderAndGivesUpWithoutWriting) {
  PLIEGO_SKIP_ON_WINDOWS("the test holds the record with the work lock's first byte, while appends lock a byte past the end; the appends of two workstations meet on that byte");
  append(book("MAYOR.TXT", 1, 3));
  const std::string before = dir.read(kRecordFileName);
  {
    FileLock other;
    ASSERT_EQ(other.acquire(dir.file(kRecordFileName), std::chrono::milliseconds(0)), std::error_code());
    EXPECT_EQ(appendRecord(dir.path(), book("MAYOR.TXT", 4, 6), std::chrono::milliseconds(200)), AppendResult::Busy);
    EXPECT_EQ(dir.read(kRecordFileName), before);
  }
  append(book("MAYOR.TXT", 4, 6));
  EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), 7);
}

TEST_F(PrintRecordFile, FolderThatDoesNotExistFails) {
  EXPECT_EQ(appendRecord(dir.file("no-existe"), book("MAYOR.TXT", 1, 3)), AppendResult::Failed);
}

TEST(PrintRecordOfThisJob, NamesTheTimeTheWorkstationAndTheUser) {
  const PrintRecord record = recordOfThisJob();
  ASSERT_EQ(record.when.size(), 19u);
  EXPECT_EQ(record.when[4], '-');
  EXPECT_EQ(record.when[10], ' ');
  EXPECT_EQ(record.when[16], ':');
#ifndef _WIN32
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(record.workstation, host);
#else
  EXPECT_FALSE(record.workstation.empty());
#endif
  EXPECT_FALSE(record.user.empty());
}

// A hand edit in an editor that does not end the last line, or an append
// cut short: the next record starts a line of its own all the same.
TEST_F(PrintRecordFile, ALastLineWithoutItsEndIsEndedBeforeTheNextRecord) {
  const std::string cut = formatRecord(book("MAYOR.TXT", 10, 12));
  struct Case {
    std::string last, leadIn;
  };
  const Case cases[] = {{"revisado por el contador", "\r\n"},
                        {cut.substr(0, cut.size() - 4), "\r\n"},
                        {"revisado\r", "\n"},
                        {"revisado\r\n", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.last);
    const std::string before = kColumns + "\r\n" + formatRecord(book("MAYOR.TXT", 1, 3)) + "\r\n" + c.last;
    dir.write(kRecordFileName, before);
    append(book("MAYOR.TXT", 4, 6));
    EXPECT_EQ(dir.read(kRecordFileName), before + c.leadIn + formatRecord(book("MAYOR.TXT", 4, 6)) + "\r\n");
    EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), 7);
    const auto last = recordsOf(dir.path(), "MAYOR.TXT", 1);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].firstFolio, 4);
  }
}

// The dialog takes folios from 1 to 999999999: a last folio at that limit,
// past it, or out of any sense offers nothing, and never overflows.
TEST_F(PrintRecordFile, TheOfferedFolioIsOneTheDialogAcceptsOrNothing) {
  struct Case {
    std::int64_t first, last;
    std::optional<std::int64_t> offered;
  };
  const Case cases[] = {{1, 999999998, 999999999},
                        {999999999, 999999999, std::nullopt},
                        {999999999, 1000000000, std::nullopt},
                        {1, std::numeric_limits<std::int64_t>::max(), std::nullopt},
                        {-7, -5, std::nullopt},
                        {1, 0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.last));
    dir.write(kRecordFileName, "");
    PrintRecord record = book("MAYOR.TXT", 1, 2);
    record.firstFolio = c.first;
    record.lastFolio = c.last;
    append(record);
    EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), c.offered);
  }
}

// The record keeps a TAB in a report's name as a blank: the report is
// found by the name it has all the same.
TEST_F(PrintRecordFile, AReportWhoseNameHoldsATabIsFoundByThatName) {
  append(book("IVA\tVENTAS.TXT", 1, 9));
  EXPECT_EQ(recordsOf(dir.path(), "IVA\tVENTAS.TXT", 5).size(), 1u);
  EXPECT_EQ(offeredFolio(dir.path(), "IVA\tVENTAS.TXT"), 10);
  EXPECT_EQ(offeredFolio(dir.path(), " iva\tventas.txt "), 10);
}

#ifndef _WIN32  // a sparse file, and a file-size limit
// Only the end of the file is read, as far back as the records asked for
// go: a file with a hole of 64 GB before them is answered at once.
TEST_F(PrintRecordFile, OnlyTheTailOfTheFileIsReadForTheLastRecordsAndTheOfferedFolio) {
  constexpr std::int64_t kHole = std::int64_t{64} << 30;
  {
    std::FILE* file = std::fopen(dir.file(kRecordFileName).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
  }
  std::filesystem::resize_file(dir.file(kRecordFileName), kHole);
  append(book("MAYOR.TXT", 1, 9));
  append(preview(book("MAYOR.TXT", 10, 11)));
  for (int i = 0; i < 3; ++i) append(book("IVAVENTAS.TXT", 1, 2));
  append(reprint("MAYOR.TXT", 3, 4));
  EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), 10);
  const auto last = recordsOf(dir.path(), "MAYOR.TXT", 2);
  ASSERT_EQ(last.size(), 2u);
  EXPECT_TRUE(last[0].preview);
  EXPECT_EQ(last[1].pagesAsked, "3 a 4");
}

// A write cut short (a full disk) is taken back, so that the next line
// never follows half a line.
TEST_F(PrintRecordFile, AnAppendCutShortIsTakenBackAndTheNextOneReadsWhole) {
  append(book("MAYOR.TXT", 1, 3));
  const std::string before = dir.read(kRecordFileName);
  const PrintRecord big = failed(book("MAYOR.TXT", 4, 6), std::string(20000, 'x'));
  {
    const FileSizeLimit limit(before.size() + 1000);
    EXPECT_EQ(appendRecord(dir.path(), big), AppendResult::Failed);
  }
  EXPECT_EQ(dir.read(kRecordFileName), before);
  append(book("MAYOR.TXT", 4, 6));
  EXPECT_EQ(offeredFolio(dir.path(), "MAYOR.TXT"), 7);
  EXPECT_EQ(recordsOf(dir.path(), "MAYOR.TXT", 5).size(), 2u);
}
#endif

#ifndef _WIN32  // the workstations are started with fork
// Several workstations append at once to a file that does not exist yet:
// the column names come once, and no line is lost or mixed with another.
TEST_F(PrintRecordFile, ConcurrentAppendsFromSeveralProcessesLoseNoLine) {
  constexpr int kProcesses = 4;
  constexpr int kEach = 300;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int failures = 0;
      for (int i = 1; i <= kEach; ++i) {
        PrintRecord record = book("MAYOR.TXT", i, i);
        record.workstation = "ESTACION-" + std::to_string(p);
        record.reason.assign(2000 + p, static_cast<char>('a' + p));  // long lines, so a mixed write would show
        record.outcome = RecordOutcome::Failed;
        if (appendRecord(dir.path(), record, std::chrono::seconds(30)) != AppendResult::Done) ++failures;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }

  const auto lines = splitCrLf(dir.read(kRecordFileName));
  ASSERT_EQ(lines.size(), 1u + kProcesses * kEach);
  EXPECT_EQ(lines[0], kColumns);
  std::map<std::string, std::int64_t> lastFolio;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto record = parseRecord(lines[i]);
    ASSERT_TRUE(record) << "line " << i;
    const char mark = static_cast<char>('a' + (record->workstation.back() - '0'));
    EXPECT_EQ(record->reason, std::string(2000 + (mark - 'a'), mark)) << "line " << i;
    EXPECT_EQ(record->firstFolio, ++lastFolio[record->workstation]) << record->workstation;
  }
  for (int p = 0; p < kProcesses; ++p) EXPECT_EQ(lastFolio["ESTACION-" + std::to_string(p)], kEach);
}
#endif

}  // namespace
