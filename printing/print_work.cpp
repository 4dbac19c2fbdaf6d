#include "printing/print_work.hpp"

#include <chrono>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include "common/code_page.hpp"
#include "common/line_reader.hpp"
#include "common/line_writer.hpp"
#include "common/system_error_text.hpp"
#include "common/text.hpp"
#include "platform/file_lock.hpp"
#include "platform/files.hpp"
#include "platform/shared_file.hpp"
#include "printing/alignment_page.hpp"
#include "printing/job_error.hpp"
#include "platform/identity.hpp"
#include "printing/output_step.hpp"
#include "printing/work_file.hpp"

namespace pliego {

namespace {

// Held while a job writes the work file and, through the print script, until
// the copy to the port ends.
constexpr std::string_view kWorkLockName = "WRITE.LCK";
constexpr auto kLockStep = std::chrono::milliseconds(250);

constexpr const char* kNothingPrinted = "No se imprimio nada.";
constexpr const char* kNoPdf = "No se hizo el PDF.";

// Opens the report by the shared folder's rule (the list may be older than
// what stands at the name now) and reads its header, Esc looked at on the
// way; the report is left at its start.
void openReport(LineReader& report, const std::string& reportPath, const JobSettings& settings,
                const JobHooks& hooks, JobOutcome& outcome, const std::string& consequence) {
  SharedFile opened = openSharedFile(reportPath, SharedAccess::Read, SharedCreation::Existing, false);
  if (opened.notPlain()) throw JobError(notPlainFileMessage(reportPath, consequence));
  if (!report.adopt(opened.release("rb")))
    throw JobError("No se pudo abrir el archivo " + reportPath + ". " + consequence);
  report.setBlockHook([&hooks](std::uint64_t) { return !cancelled(hooks); });
  outcome.header = captureHeader(report, settings.rules);
  if (report.stopped()) throw JobCancelled(kJobCancelled);
  if (report.failed() || !report.rewind())
    throw JobError("No se pudo leer el archivo " + reportPath + ". " + consequence);
}

void finishPdf(PdfOutput& pdf, const JobSettings& settings, const JobHooks& hooks, JobOutcome& outcome,
               const std::string& consequence) {
  PdfBookInfo info;
  info.report = std::string(trimSpaces(settings.report));
  info.workstation = workstationName();
  info.firstFolio = outcome.firstFolio;
  info.lastFolio = outcome.lastFolio;
  outcome.pdf = pdf.finish(info, hooks.confirmReplace, consequence);
}

// A PDF instead of the printer: the pages go to the PDF alone; the work
// file, its lock and the printer are left as they are.
void layOutPdfOnly(const JobSettings& settings, const std::string& reportPath, const JobHooks& hooks,
                   JobOutcome& outcome) {
  LineReader report;
  openReport(report, reportPath, settings, hooks, outcome, kNoPdf);
  PdfOutput pdf(settings.pdf, settings.rules);
  LineWriter nowhere;
  nowhere.createDiscarding();
  const Layout layout = layOut(report, nowhere, settings.rules, outcome.header, hooks, settings.selection, pdf.sink());
  outcome.widest = layout.widest;
  const bool readFailed = report.failed();
  report.close();
  if (layout.stopped) throw JobCancelled(kJobCancelled);
  if (readFailed) throw JobError("No se pudo leer el archivo " + reportPath + ". " + kNoPdf);
  if (!layout.outsideBook.empty()) throw JobError(layout.outsideBook);
  outcome.pages = layout.pagesSent;
  outcome.lines = layout.linesSent;
  outcome.firstFolio = layout.firstFolio;
  outcome.lastFolio = layout.lastFolio;
  if (outcome.pages == 0) throw JobError("El reporte no tiene paginas para el PDF. " + std::string(kNoPdf));
  finishPdf(pdf, settings, hooks, outcome, kNoPdf);
}

// The ledger is laid out into "WRITE2.TXT", which then takes the place of
// "WRITE.TXT", so that a failed layout leaves no half file. For the preview
// the layout also writes a private copy; its path is returned (empty when
// the job prints).
std::string layOutWorkFile(const JobSettings& settings, const std::string& folder, const std::string& reportPath,
                           const JobHooks& hooks, JobOutcome& outcome) {
  const std::string unreadable = "No se pudo leer el archivo " + reportPath + ". No se imprimio nada.";
  LineReader report;
  openReport(report, reportPath, settings, hooks, outcome, kNothingPrinted);
  std::optional<PdfOutput> pdf;
  if (settings.pdf.use == PdfUse::WithPrint) pdf.emplace(settings.pdf, settings.rules);

  const bool ledger = settings.rules.kind == ReportKind::Ledger;
  const std::string workPath = joinPath(folder, "WRITE.TXT");
  const std::string target = ledger ? joinPath(folder, "WRITE2.TXT") : workPath;
  if (ledger) refuseUnlessPlainOrMissing(workPath);
  // Each goes when the job fails: the preview's copy after the work file.
  PreviewCopy preview(workPath);
  PendingWorkFile work(target);
  LineWriter& out = work.writer();
  if (settings.preview) preview.start(out);
  const Layout layout =
      layOut(report, out, settings.rules, outcome.header, hooks, settings.selection, pdf ? pdf->sink() : nullptr);
  outcome.widest = layout.widest;
  const bool readFailed = report.failed();
  report.close();
  const bool written = out.close();
  if (layout.stopped) throw JobCancelled(kJobCancelled);
  if (readFailed) throw JobError(unreadable);
  if (!layout.outsideBook.empty()) throw JobError(layout.outsideBook);
  if (!written)
    throw JobError(out.mirrorFailed() ? preview.writeFailed(out.error()) : workFileWriteFailed(target, out.error()));
  outcome.pages = layout.pagesSent;
  outcome.lines = layout.linesSent;
  outcome.firstFolio = layout.firstFolio;
  outcome.lastFolio = layout.lastFolio;
  if (ledger) {
    std::error_code error = replaceFile(target, workPath);
    if (error == std::errc::operation_not_permitted || error == std::errc::permission_denied)
      error = copyIntoWorkFile(target, workPath);
    if (error)
      throw JobError("No se pudo reemplazar el archivo de trabajo " + workPath + ": " + systemErrorText(error) +
                     ". No se imprimio nada.");
  }
  work.keep();
  if (pdf) finishPdf(*pdf, settings, hooks, outcome, kNothingPrinted);
  return settings.preview ? preview.finish() : std::string();
}

// What the printer's set-up adds to the work file on its way.
PrinterFraming framingOf(const JobSettings& settings, const JobOutcome& outcome) {
  PrinterFraming framing;
  framing.before = startOfJobBytes(settings.printer, settings.rules, outcome.header);
  framing.after = endOfJobBytes(settings.printer);
  if (PrinterCharset charset(settings.printer); !charset.unchanged()) framing.charset = charset;
  return framing;
}

// The pages go out as the profile's destination says. The print script
// copies the work file as it is, or, with a set-up, a copy of it framed for
// the printer: the script's line stays the same.
void sendOut(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
             PrintSpooler* spooler, const JobHooks& hooks, InheritableHandle lockHandle, JobOutcome& outcome) {
  PrinterFraming framing = framingOf(settings, outcome);
  const std::string workPath = joinPath(folder, "WRITE.TXT");
  if (settings.destination.kind == DestinationKind::Script) {
    const std::string runIn = framing.changesBytes() ? framedCopy(workPath, framing) : std::string();
    EnviarAImpresora(launcher, folder, *settings.port, lockHandle, runIn);
    outcome.commandStarted = true;
    return;
  }
  std::unique_ptr<PrintSpooler> own;
  if (!spooler) spooler = (own = systemSpooler()).get();
  const std::string title = "Pliegomatic " + std::string(trimSpaces(settings.report));
  Sent sent = sendToPrinter(settings.destination, workPath, title, *spooler, hooks, settings.sendLimits,
                            std::move(framing));
  outcome.spooled = std::move(sent.spooled);
  if (!sent.warning.empty()) outcome.message = sent.warning;
}

// A page to line the form up goes to the destination as a file of the run's
// own: WRITE.TXT, the book's work file, is left as it is.
void sendTestPage(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
                  PrintSpooler* spooler, const JobHooks& hooks, InheritableHandle lockHandle, JobOutcome& outcome) {
  if (settings.destination.kind == DestinationKind::Pdf)
    throw JobError("La prueba de alineacion y el avance de formulario son para la impresora; el destino de este "
                   "perfil es un archivo PDF.");
  if (settings.purpose == JobPurpose::AlignmentTest) {
    LineReader report;
    const auto onDisk = findFileNoCase(folder, settings.report);
    openReport(report, joinPath(folder, onDisk ? *onDisk : settings.report), settings, hooks, outcome,
               "No se envio nada a la impresora.");
  }
  const std::string runIn = printerCopy(
      settings.purpose == JobPurpose::AlignmentTest
          ? alignmentPage(settings.printer, settings.rules, outcome.header, settings.selection.firstFolio)
          : formAdvanceBytes(settings.printer, settings.rules));
  if (settings.destination.kind == DestinationKind::Script) {
    EnviarAImpresora(launcher, folder, *settings.port, lockHandle, runIn);
    outcome.commandStarted = true;
    return;
  }
  std::unique_ptr<PrintSpooler> own;
  if (!spooler) spooler = (own = systemSpooler()).get();
  sendToPrinter(settings.destination, joinPath(runIn, "WRITE.TXT"), "Pliegomatic prueba de alineacion", *spooler,
                hooks, settings.sendLimits);
}

void work(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher, PrintSpooler* spooler,
          const JobHooks& given, JobOutcome& outcome) {
  // The reading's last block may end short of 100%; the window learns that
  // the output step begins when 100% is told.
  int readTo = -1;
  JobHooks hooks = given;
  if (given.progress) hooks.progress = [&](int percent) { given.progress(readTo = percent); };
  if (settings.pdf.use == PdfUse::InsteadOfPrinter) {
    const auto onDisk = findFileNoCase(folder, settings.report);
    return layOutPdfOnly(settings, joinPath(folder, onDisk ? *onDisk : settings.report), hooks, outcome);
  }
  const bool script = settings.destination.kind == DestinationKind::Script;
  if (!settings.preview && script && !settings.port)
    throw JobError("El numero de puerto de la impresora no es valido: " + settings.portText);
  // Other workstations running from the same folder share the work file.
  FileLock lock;
  const std::string lockPath = joinPath(folder, kWorkLockName);
  std::error_code locked;
  waitWhileBusy(WaitingFor::OtherWorkstation, hooks, [&] {
    locked = lock.acquire(lockPath, kLockStep);
    return locked != LockError::Busy;
  });
  // A file system without locks is printed to as before the lock existed.
  if (locked && locked != LockError::NotOffered)
    throw JobError("No se pudo usar el archivo de bloqueo " + lockPath + ": " + systemErrorText(locked) +
                   ". Sin el, otra estacion podria imprimir al mismo tiempo. No se imprimio nada.");
  if (settings.purpose != JobPurpose::Print)
    return sendTestPage(settings, folder, launcher, spooler, hooks, lock.inheritableHandle(), outcome);
  const auto onDisk = findFileNoCase(folder, settings.report);
  const std::string previewPath =
      layOutWorkFile(settings, folder, joinPath(folder, onDisk ? *onDisk : settings.report), hooks, outcome);
  if (cancelled(hooks)) throw JobCancelled(kJobCancelled);
  if (hooks.progress && readTo != 100) hooks.progress(100);  // the report is read: the output step begins
  if (settings.preview) {
    showPreview(launcher, folder, previewPath);
    outcome.commandStarted = true;
  } else {
    sendOut(settings, folder, launcher, spooler, hooks, lock.inheritableHandle(), outcome);
  }
}

}  // namespace

void waitWhileBusy(WaitingFor what, const JobHooks& hooks, const std::function<bool()>& attempt) {
  const auto began = std::chrono::steady_clock::now();
  int told = -1;
  while (!attempt()) {
    if (cancelled(hooks)) throw JobCancelled(kJobCancelled);
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(std::chrono::steady_clock::now() - began);
    if (minutes.count() == told || !hooks.waiting) continue;
    told = static_cast<int>(minutes.count());
    hooks.waiting(what, told);
  }
}

JobOutcome runPrintWork(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
                        const JobHooks& hooks, PrintSpooler* spooler) {
  JobOutcome outcome;
  outcome.message = kJobDone;
  try {
    work(settings, folder, launcher, spooler, hooks, outcome);
  } catch (const JobCancelled& error) {
    outcome.message = error.what();
    outcome.result = JobResult::Cancelled;
  } catch (const JobError& error) {
    outcome.message = error.what();
    outcome.result = JobResult::Failed;
  } catch (const std::bad_alloc&) {
    outcome.message = "No hay memoria suficiente para completar la impresion. No se imprimio nada.";
    outcome.result = JobResult::Failed;
  } catch (const std::exception&) {
    outcome.message = "No se pudo completar la impresion por un error inesperado. No se imprimio nada.";
    outcome.result = JobResult::Failed;
  }
  // A PDF made before the output step failed stays, and the record names it.
  if (outcome.result != JobResult::Sent) outcome.pages = outcome.lines = outcome.firstFolio = outcome.lastFolio = 0;
  return outcome;
}

PrintRecord recordOf(const JobSettings& settings, const JobOutcome& outcome) {
  // The record is 1252 text; names from the system and messages holding
  // them or a command's error output are converted into it.
  PrintRecord record = recordOfThisJob();
  record.workstation = systemToCp1252(record.workstation);
  record.user = systemToCp1252(record.user);
  record.report = systemToCp1252(trimSpaces(settings.report));
  record.profile = settings.profile;
  record.linesPerPage = settings.linesPerPageText;
  record.firstFolio = outcome.firstFolio;
  record.lastFolio = outcome.lastFolio;
  record.pages = outcome.pages;
  record.lines = outcome.lines;
  record.pagesAsked = pagesAskedText(settings.selection);
  record.destination = settings.preview ? std::string() : recordedDestination(settings.destination, settings.portText);
  record.preview = settings.preview;
  record.pdfOnly = settings.pdf.use == PdfUse::InsteadOfPrinter;
  record.pdf = outcome.pdf.name;
  record.pdfSha256 = outcome.pdf.sha256;
  record.outcome = outcome.result == JobResult::Sent        ? RecordOutcome::Sent
                   : outcome.result == JobResult::Cancelled ? RecordOutcome::Cancelled
                                                            : RecordOutcome::Failed;
  if (outcome.result == JobResult::Failed) record.reason = systemToCp1252(outcome.message);
  return record;
}

std::string jobSummary(const JobSettings& settings, const JobOutcome& outcome) {
  std::string summary = std::string(trimSpaces(settings.report)) + ": " + std::to_string(outcome.pages) +
                        (outcome.pages == 1 ? " pagina" : " paginas");
  if (outcome.pages == 1) summary += ", folio " + std::to_string(outcome.firstFolio);
  if (outcome.pages > 1)
    summary += ", folios " + std::to_string(outcome.firstFolio) + " a " + std::to_string(outcome.lastFolio);
  summary += ", ancho " + std::to_string(outcome.widest) + " columnas";
  if (!outcome.pdf.name.empty()) summary += ", PDF " + outcome.pdf.name;
  return summary;
}

std::string jobEndText(const JobSettings& settings, JobResult result) {
  const std::string report(trimSpaces(settings.report));
  if (result == JobResult::Cancelled) return report + ": se cancelo la impresion";
  return report + (settings.preview ? ": no se pudo mostrar por pantalla" : ": la impresion fallo");
}

}  // namespace pliego
