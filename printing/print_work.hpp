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
#include "printing/pagination.hpp"
#include "printing/page_rules.hpp"

namespace pliego {

// Everything the job takes from the window, read once after validation.
struct JobSettings {
  std::string report;  // List1's text as selected, blanks included
  PageRules rules;
  bool preview = false;
  std::optional<std::int16_t> port;  // txtLPT rounded; nothing when it does not fit
  std::string portText;
};

struct JobOutcome {
  std::string message;  // what the user is told at the end
  std::vector<std::string> header;
  std::int64_t widest = 0;
};

inline constexpr const char* kJobDone = "Impresion Finalizada";
inline constexpr const char* kJobCancelled = "Se cancelo la impresion. No se envio nada a la impresora.";

// Runs the work in `folder`: waits for another workstation's job as long as
// it prints, writes "WRITE.TXT" and shows or sends it. Never throws; failures
// and cancellation become the outcome's message.
JobOutcome runPrintWork(const JobSettings& settings, const std::string& folder, ProgramLauncher& launcher,
                        const JobHooks& hooks = {});

// Repeats `attempt`, which waits a short while itself, until it succeeds,
// without a time limit; tells `hooks.waiting` as the minutes pass. Throws
// JobError with kJobCancelled when the job is cancelled meanwhile.
void waitWhileBusy(WaitingFor what, const JobHooks& hooks, const std::function<bool()>& attempt);

}  // namespace pliego
