#include "printing/print_job.hpp"

#include <algorithm>
#include <exception>

#include "common/line_io.hpp"
#include "common/text.hpp"
#include "platform/file_lock.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"
#include "printing/ledger_pass.hpp"
#include "printing/output_step.hpp"
#include "printing/page_header.hpp"

namespace pliego {

namespace {

// The most lines a header, a page or the gap between pages may have.
constexpr double kMostLines = 32767;
constexpr std::string_view kVatTotalsMarker = "Tasas de I.V.A.:";
// Held while a job writes the work file and, through the print script, until
// the copy to the port ends.
constexpr std::string_view kWorkLockName = "WRITE.LCK";

// The number of header lines: the field's leading number, rounded; none below 1.
std::size_t headerLineCount(double h) {
  const double rounded = roundHalfEven(h);
  return rounded >= 1 ? static_cast<std::size_t>(std::min(rounded, kMostLines)) : 0;
}

}  // namespace

PrintJob::PrintJob(PrintView& view, Dialogs& dialogs, ProgramLauncher& launcher, std::string folder,
                   NumberFormat format)
    : view_(view), dialogs_(dialogs), launcher_(launcher), folder_(std::move(folder)), format_(format) {}

// Besides the numeric checks, counts that no paper has are refused: they
// would only fill the disk of the shared folder with blank lines.
bool PrintJob::ValidarDatos() {
  const auto refuse = [&](const std::string& message, FocusTarget focus) {
    dialogs_.inform(message);
    view_.moveFocus(focus);
    return false;
  };
  // The copy pass reads a field's leading number; the ledger pass reads the
  // whole text in the user's format. Neither reading may go past the limit.
  const auto tooMany = [&](const std::string& text) {
    return roundHalfEven(numericValue(text)) > kMostLines ||
           roundHalfEven(parseUserNumber(text, format_).value_or(0)) > kMostLines;
  };
  const std::string fix = " no pueden ser mas de 32767. Corrija la configuracion de impresora";
  if (trimSpaces(view_.selectedReport()).empty())
    return refuse("Debe seleccionar el archivo a imprimir", FocusTarget::ReportList);
  if (!isNumeric(view_.headerLines(), format_))
    return refuse("Falta indicar los renglones del encabezado. Debe seleccionar una configuracion de impresora",
                  FocusTarget::ProfileList);
  if (tooMany(view_.headerLines()))
    return refuse("Los renglones del encabezado" + fix, FocusTarget::HeaderLinesField);
  if (!isNumeric(view_.linesPerPage(), format_))
    return refuse("Falta indicar los renglones de la pagina. Debe seleccionar una configuracion de impresora",
                  FocusTarget::ProfileList);
  if (tooMany(view_.linesPerPage()))
    return refuse("Los renglones de la pagina" + fix, FocusTarget::LinesPerPageField);
  if (!isNumeric(view_.portNumber(), format_))
    return refuse("Falta indicar el numero de puerto de la impresora. Debe seleccionar una configuracion de impresora",
                  FocusTarget::ProfileList);
  if (tooMany(view_.linesBetweenPages()))
    return refuse("Los renglones entre paginas" + fix, FocusTarget::BetweenPagesField);
  return true;
}

void PrintJob::cmdImprimir_Click() {
  if (!ValidarDatos()) return;
  const std::string savedCaption = view_.statusCaption();
  view_.showStatusCaption("Procesando Archivo. Aguarde..");
  std::string outcome = "Impresion Finalizada";
  try {
    runJob();
  } catch (const JobError& error) {
    outcome = error.what();
  } catch (const std::exception& error) {
    outcome = std::string("No se pudo completar la impresion: ") + error.what();
  }
  view_.showStatusCaption(savedCaption);
  dialogs_.inform(outcome);
}

void PrintJob::runJob() {
  waitForEarlierCopy();
  const bool preview = view_.previewBox() == CheckState::Checked;
  const auto port = toInt16(numericValue(view_.portNumber()));
  if (!preview && !port) throw JobError("El numero de puerto de la impresora no es valido: " + view_.portNumber());
  // Other workstations running from the same folder share the work file.
  FileLock lock;
  if (lock.acquire(joinPath(folder_, kWorkLockName), printWaitLimit_) == LockResult::Busy)
    throw JobError("Otra estacion esta imprimiendo desde esta carpeta. Espere a que termine y vuelva a intentar.");

  const std::string report = view_.selectedReport();
  const auto onDisk = findFileNoCase(folder_, report);
  const std::string reportPath = joinPath(folder_, onDisk ? *onDisk : report);
  captureHeader(reportPath);
  copyReport(reportPath);
  if (isLedgerName(report)) ProcesarMayor(folder_, view_, header_, widest_, format_);
  if (preview)
    showPreview(launcher_, folder_);
  else
    EnviarAImpresora(launcher_, folder_, *port, lock.inheritableHandle());
}

// A copy to the printer that an earlier job started may still read the work file.
void PrintJob::waitForEarlierCopy() {
  if (launcher_.waitForTracked(std::chrono::milliseconds(0))) return;
  const std::string caption = view_.statusCaption();
  view_.showStatusCaption("Esperando que termine la impresion anterior. Aguarde..");
  const bool ended = launcher_.waitForTracked(printWaitLimit_);
  view_.showStatusCaption(caption);
  if (!ended)
    throw JobError(
        "La impresion anterior todavia no termino. Verifique que la impresora este encendida y en linea, "
        "y vuelva a intentar.");
}

void PrintJob::captureHeader(const std::string& reportPath) {
  const double h = numericValue(view_.headerLines());
  header_.assign(headerLineCount(h), std::string());
  LineReader in;
  if (!in.open(nativePath(reportPath))) throw JobError("No se pudo abrir el archivo " + reportPath + ". No se imprimio nada.");
  for (std::size_t i = 1; i <= header_.size() && static_cast<double>(i) <= h && in.next(header_[i - 1]); ++i) {
  }
  if (in.failed()) throw JobError("No se pudo leer el archivo " + reportPath + ". No se imprimio nada.");
}

// Copies the report into WRITE.TXT, cutting it into pages: the last line of
// every page is left free, and every further page opens with the header.
void PrintJob::copyReport(const std::string& reportPath) {
  const std::string report = view_.selectedReport();
  const bool ledger = isLedgerName(report);
  const bool cutVatTotals = isVatBookName(report) && view_.vatTotalsBox() != CheckState::Checked;
  const bool stampPages = view_.pageNumberBox() != CheckState::Unchecked;
  const double n = numericValue(view_.linesPerPage());
  const auto headerCount = static_cast<std::int64_t>(header_.size());

  LineReader in;
  if (!in.open(nativePath(reportPath))) throw JobError("No se pudo abrir el archivo " + reportPath + ". No se imprimio nada.");
  const std::string workPath = joinPath(folder_, "WRITE.TXT");
  LineWriter out;
  if (!out.create(nativePath(workPath))) throw JobError("No se pudo crear el archivo de trabajo " + workPath + ". No se imprimio nada.");

  std::int64_t lineCount = 0;
  std::int64_t page = 0;
  widest_ = 0;
  std::string line;
  while (!in.atEnd() && out.ok()) {
    if (static_cast<double>(lineCount) == n - 1 && !ledger) {
      ++page;
    } else {
      if (n <= static_cast<double>(lineCount)) {
        EscribirEncabezado(out, header_, page, view_);
        lineCount = headerCount;
      }
      in.next(line);
      if (page == 0 && headerCount > 0 && line == header_[0]) {
        page = 1;
        if (stampPages) line = pageStamp(line, 1);
      }
      if (cutVatTotals && line.find(kVatTotalsMarker) != std::string::npos) break;
      widest_ = std::max<std::int64_t>(widest_, static_cast<std::int64_t>(line.size()));
      out.write(line);
    }
    ++lineCount;
  }
  if (in.failed()) throw JobError("No se pudo leer el archivo " + reportPath + ". No se imprimio nada.");
  if (!out.close())
    throw JobError("No se pudo escribir el archivo de trabajo " + workPath +
                   " (disco lleno o sin permiso). No se imprimio nada.");
}

}  // namespace pliego
