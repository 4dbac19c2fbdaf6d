#include "printing/print_work.hpp"

#include <exception>
#include <filesystem>
#include <system_error>

#include "common/line_io.hpp"
#include "common/text.hpp"
#include "platform/file_lock.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"
#include "printing/output_step.hpp"

namespace pliego {

namespace {

// Held while a job writes the work file and, through the print script, until
// the copy to the port ends.
constexpr std::string_view kWorkLockName = "WRITE.LCK";

void discard(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

// The ledger is laid out into "WRITE2.TXT", which then takes the place of
// "WRITE.TXT" in one rename, so that a failed layout leaves no half file.
void layOutWorkFile(const JobSettings& settings, const std::string& folder, const std::string& reportPath,
                    const JobHooks& hooks, JobOutcome& outcome) {
  const std::string unreadable = "No se pudo leer el archivo " + reportPath + ". No se imprimio nada.";
  LineReader report;
  if (!report.open(reportPath))
    throw JobError("No se pudo abrir el archivo " + reportPath + ". No se imprimio nada.");
  outcome.header = captureHeader(report, settings.rules);
  if (report.failed() || !report.rewind()) throw JobError(unreadable);

  const bool ledger = settings.rules.kind == ReportKind::Ledger;
  const std::string workPath = joinPath(folder, "WRITE.TXT");
  const std::string target = ledger ? joinPath(folder, "WRITE2.TXT") : workPath;
  LineWriter work;
  if (!work.create(target)) throw JobError("No se pudo crear el archivo de trabajo " + target + ". No se imprimio nada.");
  Layout layout;
  try {
    layout = layOut(report, work, settings.rules, outcome.header, hooks, settings.selection);
  } catch (...) {
    work.close();
    discard(target);
    throw;
  }
  outcome.widest = layout.widest;
  const bool readFailed = report.failed();
  report.close();
  const bool written = work.close();
  const bool outside = !layout.outsideBook.empty();
  if (layout.stopped || readFailed || !written || outside) discard(target);
  if (layout.stopped) throw JobCancelled(kJobCancelled);
  if (readFailed) throw JobError(unreadable);
  if (outside) throw JobError(layout.outsideBook);
  if (!written)
    throw JobError("No se pudo escribir el archivo de trabajo " + target +
                   " (disco lleno o sin permiso). No se imprimio nada.");
  outcome.pages = layout.pagesSent;
  outcome.lines = layout.linesSent;
  outcome.firstFolio = layout.firstFolio;
  outcome.lastFolio = layout.lastFolio;
  if (!ledger) return;
  std::error_code error;
  std::filesystem::rename(target, workPath, error);
  if (error) {
    discard(target);
    throw JobError("No se pudo reemplazar el archivo de trabajo " + workPath + ". No se imprimio nada.");
  }
}

void work(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
          std::chrono::milliseconds lockWait, const JobHooks& hooks, JobOutcome& outcome) {
  if (!settings.preview && !settings.port)
    throw JobError("El numero de puerto de la impresora no es valido: " + settings.portText);
  // Other workstations running from the same folder share the work file.
  FileLock lock;
  if (lock.acquire(joinPath(folder, kWorkLockName), lockWait) == LockResult::Busy)
    throw JobError("Otra estacion esta imprimiendo desde esta carpeta. Espere a que termine y vuelva a intentar.");
  const auto onDisk = findFileNoCase(folder, settings.report);
  layOutWorkFile(settings, folder, joinPath(folder, onDisk ? *onDisk : settings.report), hooks, outcome);
  if (settings.preview)
    showPreview(launcher, folder);
  else
    EnviarAImpresora(launcher, folder, *settings.port, lock.inheritableHandle());
}

}  // namespace

JobOutcome runPrintWork(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
                        std::chrono::milliseconds lockWait, const JobHooks& hooks) {
  JobOutcome outcome;
  outcome.message = kJobDone;
  try {
    work(settings, folder, launcher, lockWait, hooks, outcome);
  } catch (const JobCancelled& error) {
    outcome.message = error.what();
    outcome.result = JobResult::Cancelled;
  } catch (const JobError& error) {
    outcome.message = error.what();
    outcome.result = JobResult::Failed;
  } catch (const std::exception& error) {
    outcome.message = std::string("No se pudo completar la impresion: ") + error.what();
    outcome.result = JobResult::Failed;
  }
  if (outcome.result != JobResult::Sent) outcome.pages = outcome.lines = outcome.firstFolio = outcome.lastFolio = 0;
  return outcome;
}

PrintRecord recordOf(const JobSettings& settings, const JobOutcome& outcome) {
  PrintRecord record = recordOfThisJob();
  record.report = std::string(trimSpaces(settings.report));
  record.profile = settings.profile;
  record.linesPerPage = settings.linesPerPageText;
  record.firstFolio = outcome.firstFolio;
  record.lastFolio = outcome.lastFolio;
  record.pages = outcome.pages;
  record.lines = outcome.lines;
  record.pagesAsked = pagesAskedText(settings.selection);
  record.preview = settings.preview;
  record.outcome = outcome.result == JobResult::Sent        ? RecordOutcome::Sent
                   : outcome.result == JobResult::Cancelled ? RecordOutcome::Cancelled
                                                            : RecordOutcome::Failed;
  if (outcome.result == JobResult::Failed) record.reason = outcome.message;
  return record;
}

std::string jobSummary(const JobSettings& settings, const JobOutcome& outcome) {
  std::string summary = std::string(trimSpaces(settings.report)) + ": " + std::to_string(outcome.pages) +
                        (outcome.pages == 1 ? " pagina" : " paginas");
  if (outcome.pages == 1) summary += ", folio " + std::to_string(outcome.firstFolio);
  if (outcome.pages > 1)
    summary += ", folios " + std::to_string(outcome.firstFolio) + " a " + std::to_string(outcome.lastFolio);
  return summary + ", renglon mas ancho " + std::to_string(outcome.widest);
}

}  // namespace pliego
