#include "printing/print_job.hpp"

#include "common/text.hpp"
#include "printing/job_error.hpp"

namespace pliego {

namespace {

// The most lines a header, a page or the gap between pages may have.
constexpr double kMostLines = 32767;

}  // namespace

JobSettings readJobSettings(const PrintView& view, const NumberFormat& format) {
  JobSettings settings;
  settings.report = view.selectedReport();
  settings.rules = makePageRules(settings.report, view.linesPerPage(), view.headerLines(), view.linesBetweenPages(),
                                 view.pageNumberBox(), view.vatTotalsBox(), format);
  settings.preview = view.previewBox() == CheckState::Checked;
  settings.portText = view.portNumber();
  settings.port = toInt16(numericValue(settings.portText));
  settings.profile = view.selectedProfile();
  settings.linesPerPageText = view.linesPerPage();
  return settings;
}

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
  if (!isNumeric(view_.linesPerPage(), format_))
    return refuse("Falta indicar los renglones de la pagina. Debe seleccionar una configuracion de impresora",
                  FocusTarget::ProfileList);
  if (!isNumeric(view_.portNumber(), format_))
    return refuse("Falta indicar el numero de puerto de la impresora. Debe seleccionar una configuracion de impresora",
                  FocusTarget::ProfileList);
  if (tooMany(view_.headerLines()))
    return refuse("Los renglones del encabezado" + fix, FocusTarget::HeaderLinesField);
  if (tooMany(view_.linesPerPage()))
    return refuse("Los renglones de la pagina" + fix, FocusTarget::LinesPerPageField);
  if (tooMany(view_.linesBetweenPages()))
    return refuse("Los renglones entre paginas" + fix, FocusTarget::BetweenPagesField);
  return true;
}

void PrintJob::cmdImprimir_Click() {
  if (!ValidarDatos()) return;
  JobSettings settings;
  try {
    settings = readJobSettings(view_, format_);
  } catch (const JobError& error) {
    dialogs_.inform(error.what());
    return;
  }
  settings.selection = takeNextOptions(settings.report);
  const std::string savedCaption = view_.statusCaption();
  view_.showStatusCaption("Procesando Archivo. Aguarde..");
  JobOutcome outcome;
  try {
    waitForEarlierCopy();
    outcome = runPrintWork(settings, folder_, launcher_, printWaitLimit_, hooks_);
    header_ = outcome.header;
    widest_ = outcome.widest;
  } catch (const JobError& error) {
    outcome.message = error.what();
    outcome.result = JobResult::Failed;
  }
  const bool sent = outcome.result == JobResult::Sent;
  std::string caption = sent ? jobSummary(settings, outcome) : savedCaption;
  if (!record(settings, outcome))
    caption = (sent ? caption + ". " : "") + "No se pudo anotar esta impresion en " + kRecordFileName + ".";
  view_.showStatusCaption(caption);
  dialogs_.inform(outcome.message);
}

void PrintJob::setNextOptions(const std::string& report, const PageSelection& selection) {
  nextReport_ = toUpperAscii(trimSpaces(report));
  next_ = selection;
}

std::optional<PageSelection> PrintJob::nextOptionsFor(const std::string& report) const {
  if (!next_ || toUpperAscii(trimSpaces(report)) != nextReport_) return std::nullopt;
  return next_;
}

PageSelection PrintJob::takeNextOptions(const std::string& report) {
  const PageSelection selection = nextOptionsFor(report).value_or(PageSelection{});
  next_.reset();
  return selection;
}

// Every job that ran leaves its line in the record, whatever its end.
bool PrintJob::record(const JobSettings& settings, const JobOutcome& outcome) {
  return appendRecord(folder_, recordOf(settings, outcome)) == AppendResult::Done;
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

}  // namespace pliego
