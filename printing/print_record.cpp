#include "printing/print_record.hpp"

#include <charconv>
#include <ctime>

#include "common/line_io.hpp"
#include "common/text.hpp"
#include "platform/files.hpp"
#include "platform/identity.hpp"

namespace pliego {

namespace {

constexpr std::string_view kWholeBook = "todas";
constexpr std::string_view kToPrinter = "impresora";
constexpr std::string_view kToScreen = "pantalla";
constexpr std::string_view kToPdf = "pdf";
// Lines written before the PDF's two columns were added.
constexpr std::size_t kColumnsBeforePdf = 13;
constexpr std::string_view kSent = "enviado";
constexpr std::string_view kCancelled = "cancelado";
constexpr std::string_view kFailedPrefix = "fallo: ";

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
    case RecordOutcome::Failed: break;
  }
  return std::string(kFailedPrefix) + record.reason;
}

std::optional<RecordOutcome> readOutcome(std::string_view text, std::string& reason) {
  if (text == kSent) return RecordOutcome::Sent;
  if (text == kCancelled) return RecordOutcome::Cancelled;
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

}  // namespace

PrintRecord recordOfThisJob() {
  PrintRecord record;
  record.when = localNow();
  record.workstation = workstationName();
  record.user = userName();
  return record;
}

const std::vector<std::string>& recordColumns() {
  static const std::vector<std::string> columns{
      "Fecha y hora", "Estacion", "Usuario",  "Reporte",         "Perfil", "Renglones por pagina", "Primer folio",
      "Ultimo folio", "Paginas",  "Renglones", "Paginas pedidas", "Salida", "Resultado",
      "PDF",          "SHA-256 del PDF"};
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
  if (fields.size() != recordColumns().size() && fields.size() != kColumnsBeforePdf) return std::nullopt;
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
  if (fields.size() > kColumnsBeforePdf) {
    record.pdf = fields[13];
    record.pdfSha256 = fields[14];
  }
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
  for (auto it = records.rbegin(); it != records.rend(); ++it)
    if (it->wholeBook() && !it->preview && !it->pdfOnly && it->outcome == RecordOutcome::Sent && it->pages > 0)
      return it->lastFolio + 1;
  return std::nullopt;
}

}  // namespace pliego
