#pragma once
// The print job's work once the window's fields have been read: header
// capture, layout, the work file and the output step. It touches neither
// the window nor its message boxes, so it may run on any thread.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/launcher.hpp"
#include "platform/print_spooler.hpp"
#include "printing/destination.hpp"
#include "printing/pagination.hpp"
#include "printing/page_rules.hpp"
#include "printing/page_selection.hpp"
#include "printing/pdf_output.hpp"
#include "printing/print_record.hpp"
#include "printing/printer_send.hpp"
#include "printing/printer_setup.hpp"

namespace pliego {

// What a job sends: the report's book, or a page to line the form up.
enum class JobPurpose {
  Print,
  AlignmentTest,  // "Prueba de alineacion": the set-up and one ruled page
  FormAdvance,    // "Avanzar formulario": the set-up and one blank page
};

// Everything the job takes from the window, read once after validation.
struct JobSettings {
  std::string report;  // List1's text as selected, blanks included
  PageRules rules;
  bool preview = false;
  std::optional<std::int16_t> port;  // txtLPT rounded; nothing when it does not fit
  std::string portText;
  std::string profile;          // the profile selected, for the record
  std::string linesPerPageText;  // txtRenglonesPagina as typed, for the record
  PageSelection selection;      // the first folio and the pages to send
  JobPurpose purpose = JobPurpose::Print;
  Destination destination;      // where the pages go when they are not shown
  SendLimits sendLimits;        // how long a printer may keep the job waiting
  PdfRequest pdf;               // a PDF of the pages, instead of the print or with it
  // The printer's set-up: the bytes before and after the work file come
  // from it (startOfJobBytes with the outcome's header, endOfJobBytes).
  PrinterSetup printer;
};

enum class JobResult { Sent, Failed, Cancelled };

struct JobOutcome {
  std::string message;  // what the user is told at the end
  JobResult result = JobResult::Sent;
  std::vector<std::string> header;
  std::int64_t widest = 0;
  // What went to the work file: pages, lines and folios (0 when nothing did).
  std::int64_t pages = 0, lines = 0, firstFolio = 0, lastFolio = 0;
  // The job's line was written to the record of prints.
  bool recorded = false;
  // The print or preview command was started and had not ended when the job
  // stopped watching it.
  bool commandStarted = false, commandRunning = false;
  // The spooler's job, followed until it has printed.
  std::optional<SpoolJob> spooled;
  // The PDF made, if any.
  PdfMade pdf;
};

inline constexpr const char* kJobDone = "Impresion Finalizada";
inline constexpr const char* kJobCancelled = "Se cancelo la impresion. No se envio nada a la impresora.";

// Runs the work in `folder`: waits for another workstation's job as long as
// it prints, writes "WRITE.TXT" (the pages of the selection) and shows or
// sends it. With `settings.pdf` it also writes the PDF of those pages, before
// the output step; a PDF instead of the printer touches neither the work
// file nor the printer. Never throws; failures and cancellation become the
// outcome's message. `hooks.confirmReplace` is asked before an existing PDF
// is replaced; without it, such a file is kept and the job stops.
// `spooler` takes the jobs of a destination that is a printer of the system.
JobOutcome runPrintWork(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
                        const JobHooks& hooks = {}, PrintSpooler* spooler = nullptr);

// Repeats `attempt`, which waits a short while itself, until it succeeds,
// without a time limit; tells `hooks.waiting` as the minutes pass. Throws
// JobError with kJobCancelled when the job is cancelled meanwhile.
void waitWhileBusy(WaitingFor what, const JobHooks& hooks, const std::function<bool()>& attempt);

// The line of the record of prints for a job run with `settings`.
PrintRecord recordOf(const JobSettings& settings, const JobOutcome& outcome);

// One line on the status caption after a job that sent its pages:
// "IVAVENTAS.TXT: 37 paginas, folios 38 a 74, ancho 196 columnas".
std::string jobSummary(const JobSettings& settings, const JobOutcome& outcome);
// The status caption after a job that failed or was cancelled:
// "IVACOMPRAS.TXT: la impresion fallo".
std::string jobEndText(const JobSettings& settings, JobResult result);

}  // namespace pliego
