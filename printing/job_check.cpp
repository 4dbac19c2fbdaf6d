#include "printing/job_check.hpp"

#include "common/line_reader.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"
#include "printing/report_check.hpp"

namespace pliego {

bool checkBeforePrinting(const JobSettings& settings, const std::string& folder, PrintView& view, Dialogs& dialogs) {
  if (settings.preview || settings.printer == PrinterSetup{}) return true;
  try {
    setupBytes(settings.printer, settings.rules);
  } catch (const JobError& refused) {
    dialogs.inform(refused.what());
    return false;
  }
  const auto onDisk = findFileNoCase(folder, settings.report);
  LineReader report;
  if (!report.open(joinPath(folder, onDisk ? *onDisk : settings.report))) return true;
  const ReportCheck found = checkReport(report, settings.rules, settings.printer);
  if (report.failed()) return true;
  view.showStatusCaption(found.status());
  return !found.troubled() || dialogs.confirm(found.message());
}

}  // namespace pliego
