#include "printing/print_record.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <random>
#include <set>

#include "common/system_io.hpp"
#include "common/text.hpp"
#include "platform/file_lock.hpp"
#include "platform/files.hpp"
#include "platform/identity.hpp"
#include "platform/shared_file.hpp"
#include "printing/page_selection.hpp"

namespace pliego {

namespace {

constexpr std::string_view kWholeBook = "todas";
constexpr std::string_view kToPrinter = "impresora";
constexpr std::string_view kToScreen = "pantalla";
constexpr std::string_view kToPdf = "pdf";
constexpr std::string_view kSent = "enviado";
constexpr std::string_view kCancelled = "cancelado";
constexpr std::string_view kFailedPrefix = "fallo: ";
constexpr std::string_view kPrinted = "impreso";
constexpr std::string_view kFailedLaterPrefix = "fallo despues: ";
// The columns of the first files; later columns follow them.
constexpr std::size_t kFirstColumns = 13;

std::string localNow() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = localTime(now);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// A field never holds the column separator or a line end.
std::string field(std::string_view text) {
  std::string clean(text);
  for (char& c : clean)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return clean;
}

// A folio field is blank when no page was sent.
std::string folio(std::int64_t value, bool noneSent) { return noneSent ? std::string() : std::to_string(value); }

std::optional<std::int64_t> readNumber(std::string_view text) {
  if (text.empty()) return 0;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string outcomeText(const PrintRecord& record) {
  switch (record.outcome) {
    case RecordOutcome::Sent: return std::string(kSent);
    case RecordOutcome::Cancelled: return std::string(kCancelled);
    case RecordOutcome::Printed: return std::string(kPrinted);
    case RecordOutcome::FailedLater: return std::string(kFailedLaterPrefix) + record.reason;
    case RecordOutcome::Failed: break;
  }
  return std::string(kFailedPrefix) + record.reason;
}

std::optional<RecordOutcome> readOutcome(std::string_view text, std::string& reason) {
  if (text == kSent) return RecordOutcome::Sent;
  if (text == kCancelled) return RecordOutcome::Cancelled;
  if (text == kPrinted) return RecordOutcome::Printed;
  if (startsWith(text, kFailedLaterPrefix)) {
    reason = text.substr(kFailedLaterPrefix.size());
    return RecordOutcome::FailedLater;
  }
  if (!startsWith(text, kFailedPrefix)) return std::nullopt;
  reason = text.substr(kFailedPrefix.size());
  return RecordOutcome::Failed;
}

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// A report's name as its records hold it, without regard to blanks around
// it or to letter case.
std::string reportKey(std::string_view report) { return toUpperAscii(trimSpaces(field(report))); }

// A line longer than this is no record: it is passed over unread.
constexpr std::size_t kLongestRecord = 1 << 20;
constexpr std::size_t kTailBlock = 1 << 16;

// The file's lines from its last one back, read in blocks from its end; a
// line ends as for the line reader (CR LF, a lone CR or a lone LF).
class LinesFromTheEnd {
 public:
  explicit LinesFromTheEnd(const std::string& path) {
    file_ = openSharedFile(path, SharedAccess::Read, SharedCreation::Existing, false).release("rb");
    if (file_ && seekTo(file_, 0, SEEK_END)) at_ = tellOf(file_);
  }
  ~LinesFromTheEnd() {
    if (file_) std::fclose(file_);
  }
  LinesFromTheEnd(const LinesFromTheEnd&) = delete;
  LinesFromTheEnd& operator=(const LinesFromTheEnd&) = delete;

  // The line before the last one handed out; false at the file's start. A
  // line too long to be a record comes out empty.
  bool previous(std::string& line) {
    if (!file_ || (at_ <= 0 && !pending_)) return false;
    dropLineEnd();
    bool tooLong = false;
    for (;;) {
      const std::size_t end = bytes_.find_last_of("\r\n");
      if (end != std::string::npos) {
        line = tooLong ? std::string() : bytes_.substr(end + 1);
        bytes_.resize(end + 1);
        return true;
      }
      if (bytes_.size() > kLongestRecord) {
        tooLong = true;
        bytes_.clear();
      }
      if (at_ <= 0 || !readBlockBefore()) {
        line = tooLong ? std::string() : bytes_;
        bytes_.clear();
        pending_ = false;
        return true;
      }
    }
  }

 private:
  static bool seekTo(std::FILE* file, std::int64_t offset, int from) { return seekFile(file, offset, from); }
  static std::int64_t tellOf(std::FILE* file) { return tellFile(file); }

  // The line end before the bytes not yet handed out.
  void dropLineEnd() {
    if (!bytes_.empty() && bytes_.back() == '\n') bytes_.pop_back();
    if (!bytes_.empty() && bytes_.back() == '\r') bytes_.pop_back();
    if (bytes_.empty() && at_ > 0 && readBlockBefore()) dropLineEnd();
  }

  bool readBlockBefore() {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(at_, kTailBlock));
    std::string block(count, '\0');
    if (!seekTo(file_, at_ - static_cast<std::int64_t>(count), SEEK_SET) ||
        std::fread(block.data(), 1, count, file_) != count) {
      at_ = 0;
      return false;
    }
    at_ -= static_cast<std::int64_t>(count);
    bytes_.insert(0, block);
    pending_ = true;
    return true;
  }

  std::FILE* file_ = nullptr;
  std::int64_t at_ = 0;  // the file's bytes before this offset are not read yet
  std::string bytes_;    // read and not yet handed out
  bool pending_ = false;
};

// The folio after a whole book that ended at `lastFolio`, if the dialog
// accepts it.
std::optional<std::int64_t> folioAfter(std::int64_t lastFolio) {
  if (lastFolio < 0 || lastFolio >= kMostFolio) return std::nullopt;
  return lastFolio + 1;
}

bool isWholeBookSent(const PrintRecord& record) {
  return record.wholeBook() && !record.preview && !record.pdfOnly && record.outcome == RecordOutcome::Sent &&
         record.pages > 0;
}

// The last `most` records of `report` and, when `wantFolio`, the folio its
// last whole book offers; read from the file's end, only as far back as
// needed. Lines that are not records (the column names, a line cut by a
// crash, a hand edit) are passed over.
struct Tail {
  std::vector<PrintRecord> records;  // in file order
  std::optional<std::int64_t> folio;
};

Tail tailOf(const std::string& folder, std::string_view report, std::size_t most, bool wantFolio) {
  Tail tail;
  LinesFromTheEnd file(joinPath(folder, kRecordFileName));
  const std::string key = reportKey(report);
  bool bookFound = !wantFolio;
  std::set<std::string> decided, failedLater;  // jobs by their latest later line
  std::string line;
  while ((tail.records.size() < most || !bookFound) && file.previous(line)) {
    auto record = parseRecord(line);
    if (!record || reportKey(record->report) != key) continue;
    const bool later = record->outcome == RecordOutcome::Printed || record->outcome == RecordOutcome::FailedLater;
    if (later && !record->job.empty() && decided.insert(record->job).second &&
        record->outcome == RecordOutcome::FailedLater)
      failedLater.insert(record->job);
    const bool failedAfter = !record->job.empty() && failedLater.count(record->job);
    if (!bookFound && isWholeBookSent(*record) && !failedAfter) {
      bookFound = true;
      tail.folio = folioAfter(record->lastFolio);
    }
    if (tail.records.size() < most) tail.records.push_back(std::move(*record));
  }
  std::reverse(tail.records.begin(), tail.records.end());
  return tail;
}

std::string newJobMark() {
  static std::mt19937_64 random{std::random_device{}() ^
                                static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
  static std::mutex guard;
  const std::lock_guard lock(guard);
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(random()));
  return text;
}

}  // namespace

PrintRecord recordOfThisJob() {
  PrintRecord record;
  record.when = localNow();
  record.workstation = workstationName();
  record.user = userName();
  record.job = newJobMark();
  return record;
}

PrintRecord laterRecord(const PrintRecord& record, RecordOutcome outcome, const std::string& reason) {
  PrintRecord later = record;
  later.when = localNow();
  later.outcome = outcome;
  later.reason = reason;
  return later;
}

const std::vector<std::string>& recordColumns() {
  static const std::vector<std::string> columns{
      "Fecha y hora", "Estacion", "Usuario",  "Reporte",         "Perfil", "Renglones por pagina", "Primer folio",
      "Ultimo folio", "Paginas",  "Renglones", "Paginas pedidas", "Salida", "Resultado",
      "Destino",      "Trabajo",  "PDF",       "SHA-256 del PDF"};
  return columns;
}

std::vector<std::string> recordFields(const PrintRecord& record) {
  const bool none = record.pages == 0;
  return {field(record.when),
          field(record.workstation),
          field(record.user),
          field(record.report),
          field(record.profile),
          field(record.linesPerPage),
          folio(record.firstFolio, none),
          folio(record.lastFolio, none),
          std::to_string(record.pages),
          std::to_string(record.lines),
          record.wholeBook() ? std::string(kWholeBook) : field(record.pagesAsked),
          std::string(record.pdfOnly ? kToPdf : record.preview ? kToScreen : kToPrinter),
          field(outcomeText(record)),
          field(record.destination),
          field(record.job),
          field(record.pdf),
          field(record.pdfSha256)};
}

std::string formatRecord(const PrintRecord& record) {
  std::string line;
  for (const auto& text : recordFields(record)) line += text + '\t';
  line.pop_back();
  return line;
}

std::optional<PrintRecord> parseRecord(std::string_view line) {
  const auto fields = splitFields(line);
  if (fields.size() < kFirstColumns) return std::nullopt;
  PrintRecord record;
  const auto first = readNumber(fields[6]), last = readNumber(fields[7]);
  const auto pages = readNumber(fields[8]), lines = readNumber(fields[9]);
  const auto outcome = readOutcome(fields[12], record.reason);
  const bool preview = fields[11] == kToScreen;
  const bool pdfOnly = fields[11] == kToPdf;
  if (!first || !last || !pages || !lines || !outcome || (!preview && !pdfOnly && fields[11] != kToPrinter))
    return std::nullopt;
  record.when = fields[0];
  record.workstation = fields[1];
  record.user = fields[2];
  record.report = fields[3];
  record.profile = fields[4];
  record.linesPerPage = fields[5];
  record.firstFolio = *first;
  record.lastFolio = *last;
  record.pages = *pages;
  record.lines = *lines;
  if (fields[10] != kWholeBook) record.pagesAsked = fields[10];
  record.preview = preview;
  record.pdfOnly = pdfOnly;
  record.outcome = *outcome;
  if (fields.size() > 13) record.destination = fields[13];
  if (fields.size() > 14) record.job = fields[14];
  if (fields.size() > 15) record.pdf = fields[15];
  if (fields.size() > 16) record.pdfSha256 = fields[16];
  return record;
}

AppendResult appendRecord(const std::string& folder, const PrintRecord& record, std::chrono::milliseconds patience,
                          const std::atomic<bool>* cancel) {
  std::string columns;
  for (const auto& name : recordColumns()) columns += name + '\t';
  columns.back() = '\r';
  columns += '\n';
  const std::error_code appended =
      appendLocked(joinPath(folder, kRecordFileName), columns, formatRecord(record) + "\r\n", patience, cancel);
  if (!appended) return AppendResult::Done;
  return appended == LockError::Busy ? AppendResult::Busy : AppendResult::Failed;
}

std::vector<PrintRecord> recordsOf(const std::string& folder, std::string_view report, std::size_t most) {
  return tailOf(folder, report, most, false).records;
}

std::optional<std::int64_t> offeredFolio(const std::string& folder, std::string_view report) {
  return tailOf(folder, report, 0, true).folio;
}

}  // namespace pliego
