#pragma once
// The print job: validation, the reading of the window's fields, and the
// work that lays out "WRITE.TXT" and shows or sends it.
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs.hpp"
#include "common/numbers.hpp"
#include "platform/launcher.hpp"
#include "platform/print_spooler.hpp"
#include "printing/job_follower.hpp"
#include "printing/print_view.hpp"
#include "printing/print_work.hpp"

namespace pliego {

// Every field of the window a job takes, as shown when the job was asked for.
struct JobFields {
  std::string report;  // List1's selected text, blanks included
  std::string linesPerPage, headerLines, linesBetweenPages, port, destination, profile;
  CheckState pageNumber = CheckState::Checked, preview = CheckState::Unchecked, vatTotals = CheckState::Unchecked;
  PrinterSetupTexts printer;
};

// Reads the fields once; the job uses nothing else of the window's.
JobFields readJobFields(const PrintView& view);

// Why a job may not run: what the user is told, and where the focus goes.
struct FieldRefusal {
  std::string message;
  FocusTarget focus;
};

// The checks before a job, in their order: the first that fails, or nothing.
std::optional<FieldRefusal> validateJobFields(const JobFields& fields, const NumberFormat& format);

// The job's settings from fields that passed validation. Throws JobError
// when the lines between pages do not fit a count.
JobSettings jobSettingsOf(const JobFields& fields, const NumberFormat& format);

// What the user is told of a print or preview command that ended with an
// error: the command, its status, the first lines of its error output and
// what to check. `later` when its job had already ended.
std::string commandFailure(const Ending& ending, bool later);

class PrintJob {
 public:
  // `folder` is the program's folder (mRuta), where reports and work files
  // live. `spooler` takes the jobs of profiles whose destination is a printer
  // of the system; the system's own when none is given.
  PrintJob(PrintView& view, Dialogs& dialogs, ProgramLauncher& launcher, std::string folder,
           NumberFormat format, PrintSpooler* spooler = nullptr);

  // A job runs in steps, so that the window keeps answering while the work
  // runs on another thread: accepts, prepare, work, finish.
  // True when `fields` let a job run; otherwise the user has been told why
  // and the focus has moved to the field to mend.
  bool accepts(const JobFields& fields);
  // The settings of the job asked with accepted `fields`: the options set
  // for its report, its PDF, the check before printing. Nothing when the job
  // may not run (the user has been told why).
  std::optional<JobSettings> prepare(const JobFields& fields);
  // The same for a page that lines the form up, sent to the profile's
  // destination ("Prueba de alineacion", "Avanzar formulario"): neither the
  // options nor the preview box play a part.
  std::optional<JobSettings> prepareTestPage(const JobFields& fields, JobPurpose purpose);
  // Waits for the copy still printing, does the work, watches the command
  // it started for its first seconds and writes the job's line in the record
  // of prints. Touches neither the view nor the message boxes. Never throws.
  JobOutcome work(const JobSettings& settings, const JobHooks& hooks);
  // Keeps what the work of the job prepared with `settings` found and tells
  // the user its final message; no file is touched.
  void finish(const JobSettings& settings, JobOutcome outcome);
  // Asks the user whether the job's PDF may replace the file at `path`.
  bool confirmReplace(const std::string& path);
  // What to tell of prints that failed, or met a problem at the printer,
  // after their job ended; one message for each. Prints whose end is learned
  // here get their later line in the record of prints.
  std::vector<std::string> lateFailures();
  // How long a printer the job writes to may take no byte, and how long a
  // spooled job is watched before the job ends.
  void setSendLimits(const SendLimits& limits) { sendLimits_ = limits; }
  // Waits until the later lines asked for are written and no print is
  // followed any more.
  bool followUpSettled(std::chrono::milliseconds timeout) { return follower_->settled(timeout); }

  // The header lines captured by the last job (element 0 is line 1).
  const std::vector<std::string>& mEncabezado() const { return header_; }
  // Length of the longest line the last copy pass wrote itself.
  std::int64_t mAnchoMaximo() const { return widest_; }

  // The first folio and the pages for the next job that prints `report`,
  // and the PDF asked of it; nothing clears them. They hold, for that report
  // alone, until one of its jobs sends its pages to the printer: a failed or
  // cancelled job, a preview or another report's job keeps them.
  void setNextOptions(const std::string& report, const std::optional<PageSelection>& selection,
                      const PdfRequest& pdf = {});
  // The options set for `report` and not yet used, if any.
  std::optional<PageSelection> nextOptionsFor(const std::string& report) const;
  std::optional<PdfRequest> nextPdfFor(const std::string& report) const;

 private:
  JobOutcome printAndWatch(const JobSettings& settings, const JobHooks& hooks);
  void waitForEarlierCopy(const JobHooks& hooks);
  std::optional<Ending> watchFirstSeconds(const JobHooks& hooks);
  bool record(const PrintRecord& record, const JobHooks& hooks);

  void scriptEnded(const Ending& ending);
  void follow(const JobSettings& settings, const JobOutcome& outcome, const PrintRecord& record);

  PrintView& view_;
  Dialogs& dialogs_;
  ProgramLauncher& launcher_;
  std::unique_ptr<PrintSpooler> ownSpooler_;
  PrintSpooler* spooler_;
  std::unique_ptr<JobFollower> follower_;
  SendLimits sendLimits_;
  // The prints of the script still running when their job ended, oldest
  // first: their command's ending tells how they ended.
  std::mutex scriptsMutex_;
  std::deque<PrintRecord> runningScripts_;
  std::string folder_;
  NumberFormat format_;
  std::vector<std::string> header_;
  std::int64_t widest_ = 0;
  std::map<std::string, PageSelection> next_;  // by the report's upper-cased name
  std::map<std::string, PdfRequest> nextPdf_;
};

}  // namespace pliego
