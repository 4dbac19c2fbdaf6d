#pragma once
// The print job: validation, the reading of the window's fields, and the
// work that lays out "WRITE.TXT" and shows or sends it.
#include <chrono>
#include <cstdint>
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

class PrintJob {
 public:
  // `folder` is the program's folder (mRuta), where reports and work files live.
  PrintJob(PrintView& view, Dialogs& dialogs, ProgramLauncher& launcher, std::string folder,
           NumberFormat format);

  // Runs the whole job: F10 or the "F10 - Imprimir" button.
  void cmdImprimir_Click();
  // True when the job may run; otherwise the user has been told why.
  bool ValidarDatos();

  // The header lines captured by the last job (element 0 is line 1).
  const std::vector<std::string>& mEncabezado() const { return header_; }
  // Length of the longest line the last copy pass wrote itself.
  std::int64_t mAnchoMaximo() const { return widest_; }

  // How long a job waits for the print command of the previous one.
  void setPrintWaitLimit(std::chrono::milliseconds limit) { printWaitLimit_ = limit; }
  // Progress and cancellation for the work.
  void setHooks(JobHooks hooks) { hooks_ = std::move(hooks); }

  // The first folio and the pages for the next job, if it prints `report`.
  // Any job that runs drops them: the one after goes back to the whole book
  // from folio 1.
  void setNextOptions(const std::string& report, const PageSelection& selection);
  // The options set for `report` and not yet used, if any.
  std::optional<PageSelection> nextOptionsFor(const std::string& report) const;

 private:
  void waitForEarlierCopy();
  PageSelection takeNextOptions(const std::string& report);
  bool record(const JobSettings& settings, const JobOutcome& outcome);

  PrintView& view_;
  Dialogs& dialogs_;
  ProgramLauncher& launcher_;
  std::string folder_;
  NumberFormat format_;
  std::vector<std::string> header_;
  std::int64_t widest_ = 0;
  std::chrono::milliseconds printWaitLimit_{60000};
  JobHooks hooks_;
  std::string nextReport_;
  std::optional<PageSelection> next_;
};

}  // namespace pliego
