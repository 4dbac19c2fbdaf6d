#pragma once
// The check before printing, as the print job runs it after validation.
#include <string>

#include "common/dialogs.hpp"
#include "printing/print_view.hpp"
#include "printing/print_work.hpp"

namespace pliego {

// For a job sent to a printer that has a set-up: refuses, with its message,
// a page the printer's commands cannot express; reads the report once,
// shows what it found on the status line and, when something is wrong,
// asks once whether to go on. False when the user said No. Without a
// set-up, for a preview, or for a report that cannot be read (the job
// tells that itself) it does nothing.
bool checkBeforePrinting(const JobSettings& settings, const std::string& folder, PrintView& view, Dialogs& dialogs);

}  // namespace pliego
