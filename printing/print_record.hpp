#pragma once
// The record of every print: one line per job appended to "PLIEGOMATIC.LOG"
// in the program's folder, which every workstation of the office shares.
// The file is 8-bit text with CR LF line ends, one TAB-separated field per
// column, and a line naming the columns at its top.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locked_append.hpp"

namespace pliego {

inline constexpr const char* kRecordFileName = "PLIEGOMATIC.LOG";

// A job's line says how it left the program: sent, failed or cancelled. A
// print followed after that (by its spooler, or its print script) gets a
// second line with the same job, when it has printed or failed.
enum class RecordOutcome { Sent, Failed, Cancelled, Printed, FailedLater };

struct PrintRecord {
  std::string when;  // local date and time, "2024-02-05 14:30:12"
  std::string workstation;
  std::string user;
  std::string report;
  std::string profile;
  std::string linesPerPage;
  std::int64_t firstFolio = 0;  // the folios sent; 0 when no page was sent
  std::int64_t lastFolio = 0;
  std::int64_t pages = 0;  // pages and lines sent
  std::int64_t lines = 0;
  std::string pagesAsked;  // the pages asked for, "40 a 42"; empty for the whole book
  bool preview = false;
  bool pdfOnly = false;  // a PDF instead of the printer
  RecordOutcome outcome = RecordOutcome::Sent;
  std::string reason;  // why it failed
  std::string destination;  // where it went: "LPT1", "IMPRESORA:EPSON", ...
  std::string job;          // the job's own mark, the same on its later line
  // The PDF made of the pages, by name, and the SHA-256 of its bytes; empty
  // when none was made. Lines written before these columns have neither.
  std::string pdf, pdfSha256;

  bool wholeBook() const { return pagesAsked.empty(); }
};

// A record of a job started now, on this workstation, by this user, with a
// job mark of its own.
PrintRecord recordOfThisJob();

// The later line of the job `record` stands for: the same job, now.
PrintRecord laterRecord(const PrintRecord& record, RecordOutcome outcome, const std::string& reason = {});

// The column names, and a record's fields in the same order.
const std::vector<std::string>& recordColumns();
std::vector<std::string> recordFields(const PrintRecord& record);

// The record as one line of the file (without its line end), and back.
// TABs and line ends inside a field become blanks.
std::string formatRecord(const PrintRecord& record);
std::optional<PrintRecord> parseRecord(std::string_view line);

enum class AppendResult {
  Done,
  Busy,   // another holder kept the lock until the time ran out: nothing written
  Failed  // the file could not be opened, locked or written
};

// Appends the record to the file in `folder`, waiting for another
// workstation's append at most `patience`, and not at all once `cancel` is set.
AppendResult appendRecord(const std::string& folder, const PrintRecord& record,
                          std::chrono::milliseconds patience = std::chrono::seconds(5),
                          const std::atomic<bool>* cancel = nullptr);

// The records of `report` (named without regard to blanks around it or to
// letter case), in the order they were appended; the last `most` of them.
// Only the end of the file is read, as far back as they go.
std::vector<PrintRecord> recordsOf(const std::string& folder, std::string_view report, std::size_t most);

// The folio that the next print of `report` should start at: the last folio
// + 1 of its last whole book sent to the printer. Reprints, previews, PDFs
// made instead of a print and failed prints do not count, nor does a print
// whose latest later line says that it failed. Nothing when the record knows
// no such print, or when that folio is not one the options dialog accepts.
std::optional<std::int64_t> offeredFolio(const std::string& folder, std::string_view report);

}  // namespace pliego
