#pragma once
// The print job: validation, the reading of the window's fields, and the
// work that lays out "WRITE.TXT" and shows or sends it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs.hpp"
#include "common/numbers.hpp"
#include "platform/launcher.hpp"
#include "printing/print_view.hpp"
#include "printing/print_work.hpp"

namespace pliego {

// Reads, once, every field the job needs. Throws JobError when the lines
// between pages do not fit a count.
JobSettings readJobSettings(const PrintView& view, const NumberFormat& format);

// What the user is told of a print or preview command that ended with an
// error: the command, its status, the first lines of its error output and
// what to check. `later` when its job had already ended.
std::string commandFailure(const Ending& ending, bool later);

class PrintJob {
 public:
  // `folder` is the program's folder (mRuta), where reports and work files live.
  PrintJob(PrintView& view, Dialogs& dialogs, ProgramLauncher& launcher, std::string folder,
           NumberFormat format);

  // Runs the whole job on this thread: F10 or the "F10 - Imprimir" button.
  void cmdImprimir_Click();
  // True when the job may run; otherwise the user has been told why.
  bool ValidarDatos();

  // The same job in three steps, for a window that keeps answering while
  // the work runs on another thread.
  // Validates and reads the fields; nothing when the job may not run (the
  // user has been told why).
  std::optional<JobSettings> prepare();
  // Waits for the copy still printing, does the work, watches the command
  // it started for its first seconds and writes the job's line in the record
  // of prints. Touches neither the view nor the message boxes. Never throws.
  JobOutcome work(const JobSettings& settings, const JobHooks& hooks);
  // Keeps what the work found and tells the user its final message; no
  // file is touched.
  void finish(JobOutcome outcome);
  // What to tell of print and preview commands that failed after their job
  // ended; one message for each.
  std::vector<std::string> lateFailures();

  // The header lines captured by the last job (element 0 is line 1).
  const std::vector<std::string>& mEncabezado() const { return header_; }
  // Length of the longest line the last copy pass wrote itself.
  std::int64_t mAnchoMaximo() const { return widest_; }

  // Progress, waits and cancellation for cmdImprimir_Click's work.
  void setHooks(JobHooks hooks) { hooks_ = std::move(hooks); }

  // The first folio and the pages for the next job that prints `report`;
  // nothing clears them. They hold, for that report alone, until one of its
  // jobs sends its pages to the printer: a failed or cancelled job, a
  // preview or another report's job keeps them.
  void setNextOptions(const std::string& report, const std::optional<PageSelection>& selection);
  // The options set for `report` and not yet used, if any.
  std::optional<PageSelection> nextOptionsFor(const std::string& report) const;

 private:
  JobOutcome printAndWatch(const JobSettings& settings, const JobHooks& hooks);
  void waitForEarlierCopy(const JobHooks& hooks);
  std::optional<Ending> watchFirstSeconds(const JobHooks& hooks);
  bool record(const JobSettings& settings, const JobOutcome& outcome);

  PrintView& view_;
  Dialogs& dialogs_;
  ProgramLauncher& launcher_;
  std::string folder_;
  NumberFormat format_;
  std::vector<std::string> header_;
  std::int64_t widest_ = 0;
  JobHooks hooks_;
  JobSettings prepared_;  // the settings of the job prepare() read last
  std::map<std::string, PageSelection> next_;  // by the report's upper-cased name
};

}  // namespace pliego
