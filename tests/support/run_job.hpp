#pragma once
// A print job run on this thread, step for step as the window runs it with
// its work on a thread of its own: the fields read once and validated, the
// job prepared, the captions the window shows while the work runs and
// waits, the work, and the end the window tells.
#include <optional>
#include <string>
#include <utility>

#include "printing/job_captions.hpp"
#include "printing/print_job.hpp"

namespace pliego::testing {

// The result of the job `view` asks for; nothing when it did not run. The
// given hooks are called after the caption of each step is shown; without
// `confirmReplace`, the job asks the user as the window does.
inline std::optional<JobResult> runJobHere(PrintJob& job, PrintView& view, JobHooks hooks = {}) {
  const JobFields fields = readJobFields(view);
  if (!job.accepts(fields)) return std::nullopt;
  const std::optional<JobSettings> settings = job.prepare(fields);
  if (!settings) return std::nullopt;
  view.showStatusCaption(kProcessingCaption);
  JobHooks shown = hooks;
  const bool preview = settings->preview;
  shown.progress = [&view, preview, then = hooks.progress](int percent) {
    view.showStatusCaption(progressCaption(percent, preview));
    if (then) then(percent);
  };
  shown.waiting = [&view, then = hooks.waiting](WaitingFor what, int minutes) {
    view.showStatusCaption(waitingCaption(what, minutes));
    if (then) then(what, minutes);
  };
  shown.sending = [&view, then = hooks.sending](int percent) {
    view.showStatusCaption(sendingCaption(percent));
    if (then) then(percent);
  };
  if (!shown.confirmReplace) shown.confirmReplace = [&job](const std::string& path) { return job.confirmReplace(path); };
  JobOutcome outcome = job.work(*settings, shown);
  const JobResult result = outcome.result;
  job.finish(*settings, std::move(outcome));
  return result;
}

}  // namespace pliego::testing
