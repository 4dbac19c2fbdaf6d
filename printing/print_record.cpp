#include "printing/print_record.hpp"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <random>
#include <set>

#include "common/line_io.hpp"
#include "common/text.hpp"
#include "platform/files.hpp"
#include "platform/identity.hpp"

namespace pliego {

namespace {

constexpr std::string_view kWholeBook = "todas";
constexpr std::string_view kToPrinter = "impresora";
constexpr std::string_view kToScreen = "pantalla";
constexpr std::string_view kSent = "enviado";
constexpr std::string_view kCancelled = "cancelado";
constexpr std::string_view kFailedPrefix = "fallo: ";
constexpr std::string_view kPrinted = "impreso";
constexpr std::string_view kFailedLaterPrefix = "fallo despues: ";
// The columns of the first files; later columns follow them.
constexpr std::size_t kFirstColumns = 13;

std::string localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
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

std::string reportKey(std::string_view report) { return toUpperAscii(trimSpaces(report)); }

// Every record of the file for `report`, in file order. Lines that are not
// records (the column names, a line cut by a crash, a hand edit) are passed over.
std::vector<PrintRecord> allRecordsOf(const std::string& folder, std::string_view report) {
  std::vector<PrintRecord> records;
  LineReader file;
  if (!file.open(joinPath(folder, kRecordFileName))) return records;
  const std::string key = reportKey(report);
  std::string_view line;
  while (file.next(line))
    if (auto record = parseRecord(line); record && reportKey(record->report) == key)
      records.push_back(std::move(*record));
  return records;
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
      "Ultimo folio", "Paginas",  "Renglones", "Paginas pedidas", "Salida", "Resultado", "Destino", "Trabajo"};
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
          std::string(record.preview ? kToScreen : kToPrinter),
          field(outcomeText(record)),
          field(record.destination),
          field(record.job)};
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
  if (!first || !last || !pages || !lines || !outcome || (!preview && fields[11] != kToPrinter)) return std::nullopt;
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
  record.outcome = *outcome;
  if (fields.size() > 13) record.destination = fields[13];
  if (fields.size() > 14) record.job = fields[14];
  return record;
}

AppendResult appendRecord(const std::string& folder, const PrintRecord& record, std::chrono::milliseconds patience) {
  std::string columns;
  for (const auto& name : recordColumns()) columns += name + '\t';
  columns.back() = '\r';
  columns += '\n';
  return appendLocked(joinPath(folder, kRecordFileName), columns, formatRecord(record) + "\r\n", patience);
}

std::vector<PrintRecord> recordsOf(const std::string& folder, std::string_view report, std::size_t most) {
  auto records = allRecordsOf(folder, report);
  if (records.size() > most) records.erase(records.begin(), records.end() - static_cast<std::ptrdiff_t>(most));
  return records;
}

std::optional<std::int64_t> offeredFolio(const std::string& folder, std::string_view report) {
  const auto records = allRecordsOf(folder, report);
  std::set<std::string> decided, failedLater;  // jobs by their latest later line
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    const bool later = it->outcome == RecordOutcome::Printed || it->outcome == RecordOutcome::FailedLater;
    if (later && !it->job.empty() && decided.insert(it->job).second && it->outcome == RecordOutcome::FailedLater)
      failedLater.insert(it->job);
    if (it->wholeBook() && !it->preview && it->outcome == RecordOutcome::Sent && it->pages > 0 &&
        (it->job.empty() || !failedLater.count(it->job)))
      return it->lastFolio + 1;
  }
  return std::nullopt;
}

}  // namespace pliego
