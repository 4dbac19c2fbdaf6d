#include "printing/print_job.hpp"

#include <chrono>

#include "common/text.hpp"
#include "printing/job_check.hpp"
#include "printing/job_error.hpp"
#include "printing/output_step.hpp"

namespace pliego {

namespace {

// The most lines a header, a page or the gap between pages may have.
constexpr double kMostLines = 32767;

// How long the job waits between looks at a command it waits for.
constexpr auto kWaitStep = std::chrono::milliseconds(100);
// How long a command that has just started is watched before the job ends.
constexpr auto kFirstSeconds = std::chrono::seconds(2);
// How many lines of a failed command's error output the user is shown.
constexpr std::size_t kErrorLinesTold = 5;

// Up to `count` lines of `text`, without their line ends or empty lines.
std::string firstLines(const std::string& text, std::size_t count) {
  std::string lines;
  std::size_t told = 0;
  for (std::size_t at = 0; at < text.size() && told < count;) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) {
      lines += (told ? "\n" : "") + line;
      ++told;
    }
    at = end + 1;
  }
  return lines;
}

}  // namespace

JobFields readJobFields(const PrintView& view) {
  JobFields fields;
  fields.report = view.selectedReport();
  fields.linesPerPage = view.linesPerPage();
  fields.headerLines = view.headerLines();
  fields.linesBetweenPages = view.linesBetweenPages();
  fields.port = view.portNumber();
  fields.destination = view.destination();
  fields.profile = view.selectedProfile();
  fields.pageNumber = view.pageNumberBox();
  fields.preview = view.previewBox();
  fields.vatTotals = view.vatTotalsBox();
  fields.printer = view.profilePrinterSetup();
  return fields;
}

// Besides the numeric checks, counts that no paper has are refused: they
// would only fill the disk of the shared folder with blank lines.
std::optional<FieldRefusal> validateJobFields(const JobFields& fields, const NumberFormat& format) {
  // The copy pass reads a field's leading number; the ledger pass reads the
  // whole text in the user's format. Neither reading may go past the limit.
  const auto tooMany = [&](const std::string& text) {
    return roundHalfEven(numericValue(text)) > kMostLines ||
           roundHalfEven(parseUserNumber(text, format).value_or(0)) > kMostLines;
  };
  const std::string fix = " no pueden ser mas de 32767. Corrija la configuracion de impresora";
  if (trimSpaces(fields.report).empty())
    return FieldRefusal{"Debe seleccionar el archivo a imprimir", FocusTarget::ReportList};
  if (!isNumeric(fields.headerLines, format))
    return FieldRefusal{"Falta indicar los renglones del encabezado. Debe seleccionar una configuracion de impresora",
                        FocusTarget::ProfileList};
  if (!isNumeric(fields.linesPerPage, format))
    return FieldRefusal{"Falta indicar los renglones de la pagina. Debe seleccionar una configuracion de impresora",
                        FocusTarget::ProfileList};
  std::string badDestination;
  const auto destination = readDestination(fields.destination, badDestination);
  const bool script = destination && destination->kind == DestinationKind::Script;
  if (script && !isNumeric(fields.port, format))
    return FieldRefusal{
        "Falta indicar el numero de puerto de la impresora. Debe seleccionar una configuracion de impresora",
        FocusTarget::ProfileList};
  if (!destination) return FieldRefusal{badDestination, FocusTarget::Destination};
  if (tooMany(fields.headerLines))
    return FieldRefusal{"Los renglones del encabezado" + fix, FocusTarget::HeaderLinesField};
  if (tooMany(fields.linesPerPage))
    return FieldRefusal{"Los renglones de la pagina" + fix, FocusTarget::LinesPerPageField};
  if (tooMany(fields.linesBetweenPages))
    return FieldRefusal{"Los renglones entre paginas" + fix, FocusTarget::BetweenPagesField};
  return std::nullopt;
}

JobSettings jobSettingsOf(const JobFields& fields, const NumberFormat& format) {
  JobSettings settings;
  settings.report = fields.report;
  settings.rules = makePageRules(settings.report, fields.linesPerPage, fields.headerLines, fields.linesBetweenPages,
                                 fields.pageNumber, fields.vatTotals, format);
  settings.printer = readPrinterSetup(fields.printer);
  settings.rules = withPrinterSetup(settings.rules, settings.printer);
  settings.preview = fields.preview == CheckState::Checked;
  settings.portText = fields.port;
  settings.port = toInt16(numericValue(settings.portText));
  settings.profile = fields.profile;
  settings.linesPerPageText = fields.linesPerPage;
  std::string problem;
  settings.destination = readDestination(fields.destination, problem).value_or(Destination{});
  return settings;
}

PrintJob::PrintJob(PrintView& view, Dialogs& dialogs, ProgramLauncher& launcher, std::string folder,
                   NumberFormat format, PrintSpooler* spooler)
    : view_(view),
      dialogs_(dialogs),
      launcher_(launcher),
      ownSpooler_(spooler ? nullptr : systemSpooler()),
      spooler_(spooler ? spooler : ownSpooler_.get()),
      follower_(std::make_unique<JobFollower>(*spooler_, folder)),
      folder_(std::move(folder)),
      format_(format) {}

bool PrintJob::accepts(const JobFields& fields) {
  const auto refusal = validateJobFields(fields, format_);
  if (!refusal) return true;
  dialogs_.inform(refusal->message);
  view_.moveFocus(refusal->focus);
  return false;
}

std::optional<JobSettings> PrintJob::prepare(const JobFields& fields) {
  JobSettings settings;
  try {
    settings = jobSettingsOf(fields, format_);
  } catch (const JobError& error) {
    dialogs_.inform(error.what());
    return std::nullopt;
  }
  settings.pdf = nextPdfFor(settings.report).value_or(PdfRequest{});
  // A profile that makes PDFs makes one instead of the print, where the
  // profile keeps them unless the options asked for another folder.
  if (settings.destination.kind == DestinationKind::Pdf && !settings.preview) {
    if (settings.pdf.use == PdfUse::None) settings.pdf = view_.profilePdf();
    settings.pdf.use = PdfUse::InsteadOfPrinter;
  }
  if (!checkBeforePrinting(settings, folder_, view_, dialogs_)) return std::nullopt;
  settings.selection = nextOptionsFor(settings.report).value_or(PageSelection{});
  return settings;
}

std::optional<JobSettings> PrintJob::prepareTestPage(const JobFields& fields, JobPurpose purpose) {
  JobSettings settings;
  try {
    settings = jobSettingsOf(fields, format_);
  } catch (const JobError& error) {
    dialogs_.inform(error.what());
    return std::nullopt;
  }
  settings.purpose = purpose;
  settings.preview = false;
  return settings;
}

void PrintJob::setNextOptions(const std::string& report, const std::optional<PageSelection>& selection,
                              const PdfRequest& pdf) {
  const std::string key = toUpperAscii(trimSpaces(report));
  if (selection) {
    next_[key] = *selection;
    nextPdf_[key] = pdf;
  } else {
    next_.erase(key);
    nextPdf_.erase(key);
  }
}

std::optional<PdfRequest> PrintJob::nextPdfFor(const std::string& report) const {
  const auto found = nextPdf_.find(toUpperAscii(trimSpaces(report)));
  if (found == nextPdf_.end()) return std::nullopt;
  return found->second;
}

std::optional<PageSelection> PrintJob::nextOptionsFor(const std::string& report) const {
  const auto found = next_.find(toUpperAscii(trimSpaces(report)));
  if (found == next_.end()) return std::nullopt;
  return found->second;
}

// Every job that ran leaves its line in the record, whatever its end; Esc
// stops the wait for another workstation's append.
bool PrintJob::record(const PrintRecord& record, const JobHooks& hooks) {
  return appendRecord(folder_, record, std::chrono::seconds(5), hooks.cancel) == AppendResult::Done;
}

// A print that may still fail after its job ended is followed to its end.
void PrintJob::follow(const JobSettings& settings, const JobOutcome& outcome, const PrintRecord& record) {
  if (outcome.result != JobResult::Sent || settings.preview) return;
  if (outcome.spooled) follower_->follow(*outcome.spooled, settings.destination, record);
  if (outcome.commandRunning) {
    const std::lock_guard lock(scriptsMutex_);
    runningScripts_.push_back(record);
  }
}

// The record's lock may be held a while by another workstation: the line is
// written here, on the job's own thread, never on the window's.
JobOutcome PrintJob::work(const JobSettings& settings, const JobHooks& hooks) {
  JobSettings withLimits = settings;
  withLimits.sendLimits = sendLimits_;
  JobOutcome outcome = printAndWatch(withLimits, hooks);
  if (settings.purpose != JobPurpose::Print) return outcome;  // no book: nothing to record
  const PrintRecord line = recordOf(settings, outcome);
  outcome.recorded = record(line, hooks);
  follow(settings, outcome, line);
  return outcome;
}

JobOutcome PrintJob::printAndWatch(const JobSettings& settings, const JobHooks& hooks) {
  try {
    waitForEarlierCopy(hooks);
  } catch (const JobCancelled& error) {
    JobOutcome cancelled;
    cancelled.message = error.what();
    cancelled.result = JobResult::Cancelled;
    return cancelled;
  }
  JobOutcome outcome = runPrintWork(settings, folder_, launcher_, hooks, spooler_);
  if (outcome.result != JobResult::Sent || !outcome.commandStarted) return outcome;
  const auto ending = watchFirstSeconds(hooks);
  outcome.commandRunning = !ending;
  if (ending && ending->failed()) {
    outcome.message = commandFailure(*ending, false);
    outcome.result = JobResult::Failed;
    outcome.pages = outcome.lines = outcome.firstFolio = outcome.lastFolio = 0;  // nothing was printed
  }
  return outcome;
}

// The status line tells how the job ended: the summary of the pages sent,
// or that it failed or was cancelled. The message box keeps its own text.
// Options the job printed with are used up once its pages went to the printer.
void PrintJob::finish(const JobSettings& settings, JobOutcome outcome) {
  const bool sent = outcome.result == JobResult::Sent;
  if (settings.purpose != JobPurpose::Print) {
    view_.showStatusCaption(!sent ? jobEndText(settings, outcome.result)
                            : settings.purpose == JobPurpose::AlignmentTest
                                ? "Prueba de alineacion enviada a la impresora."
                                : "Avance de formulario enviado a la impresora.");
    dialogs_.inform(outcome.message);
    return;
  }
  header_ = std::move(outcome.header);
  widest_ = outcome.widest;
  const auto options = nextOptionsFor(settings.report);
  if (sent && !settings.preview && options && *options == settings.selection)
    setNextOptions(settings.report, std::nullopt);
  std::string caption = sent ? jobSummary(settings, outcome) : jobEndText(settings, outcome.result);
  if (!outcome.recorded) caption += ". No se pudo anotar esta impresion en " + std::string(kRecordFileName) + ".";
  view_.showStatusCaption(caption);
  dialogs_.inform(outcome.message);
}

bool PrintJob::confirmReplace(const std::string& path) {
  return dialogs_.confirm("Ya existe el archivo " + path + ". Desea reemplazarlo?");
}

std::vector<std::string> PrintJob::lateFailures() {
  std::vector<std::string> messages;
  for (const Ending& ending : launcher_.takeEndings()) {
    if (ending.tracked) scriptEnded(ending);
    if (ending.failed()) messages.push_back(commandFailure(ending, true));
  }
  for (std::string& message : follower_->takeMessages()) messages.push_back(std::move(message));
  return messages;
}

// The print script that ended is the oldest one still running: the next
// print waits for the one before.
void PrintJob::scriptEnded(const Ending& ending) {
  std::optional<PrintRecord> print;
  {
    const std::lock_guard lock(scriptsMutex_);
    if (runningScripts_.empty()) return;
    print = std::move(runningScripts_.front());
    runningScripts_.pop_front();
  }
  if (!ending.failed()) {
    follower_->writeLater(laterRecord(*print, RecordOutcome::Printed));
    return;
  }
  follower_->writeLater(laterRecord(*print, RecordOutcome::FailedLater,
                                    "el comando de impresion termino con error (codigo de salida " +
                                        std::to_string(ending.status) + ")"));
}

// A copy to the printer that an earlier job started may still read the work
// file. A long ledger prints for an hour or more: the wait has no limit.
void PrintJob::waitForEarlierCopy(const JobHooks& hooks) {
  waitWhileBusy(WaitingFor::EarlierCopy, hooks, [this] { return launcher_.waitForTracked(kWaitStep); });
}

// A command that cannot print (no device, no permission) fails at once; the
// job waits for it a little before it tells its final message.
std::optional<Ending> PrintJob::watchFirstSeconds(const JobHooks& hooks) {
  const auto deadline = std::chrono::steady_clock::now() + kFirstSeconds;
  for (;;) {
    if (auto ending = launcher_.waitForLastStarted(kWaitStep)) return ending;
    if (cancelled(hooks) || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
  }
}

std::string commandFailure(const Ending& ending, bool later) {
  std::string text;
  if (ending.tracked)
    text = later ? "La impresion enviada a la impresora termino con error; puede que no se haya impreso todo."
                 : "No se pudo imprimir: el comando de impresion termino con error.";
  else
    text = "No se pudo mostrar la vista previa: el visor de texto termino con error.";
  text += "\n\nComando: " + ending.command + "\nCodigo de salida: " + std::to_string(ending.status);
  const std::string lines = firstLines(ending.errorOutput, kErrorLinesTold);
  if (!lines.empty()) text += "\nMensaje del comando:\n" + lines;
  if (ending.tracked)
    text += std::string("\n\nVerifique que la impresora este conectada al puerto indicado") + kPortAdvice +
            ", que su usuario tenga permiso para escribir en ese dispositivo" + kGroupAdvice + " y el archivo " +
            kPrintScriptName + " de la carpeta del programa, que puede editar para enviar la impresion a otra "
            "impresora o cola de impresion.";
  else
    text += "\n\nVerifique que haya un editor de texto para abrir el archivo de trabajo.";
  return text;
}

}  // namespace pliego
