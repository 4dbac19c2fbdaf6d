#include "reports/reports.hpp"

#include <algorithm>

#include "common/text.hpp"
#include "platform/files.hpp"

namespace pliego {

namespace {

// Windows lists a folder by the upper-cased names; equal ones by their bytes.
bool listedBefore(const std::string& a, const std::string& b) {
  const std::string upperA = toUpperAscii(a), upperB = toUpperAscii(b);
  return upperA != upperB ? upperA < upperB : a < b;
}

}  // namespace

ReportKind kindOf(std::string_view reportName) {
  const std::string name = toUpperAscii(trimSpaces(reportName));
  for (const SupportedReport& report : kSupportedReports) {
    const bool ledger = report.kind == ReportKind::Ledger;
    if (ledger ? startsWith(name, report.name) : name == report.name) return report.kind;
  }
  return ReportKind::Plain;
}

bool EsReporteValido(std::string& name) {
  name = toUpperAscii(trimSpaces(name));
  for (const SupportedReport& report : kSupportedReports)
    if (startsWith(name, report.name)) return true;
  return false;
}

std::error_code reportsInFolder(const std::string& mRuta, std::optional<std::vector<std::string>>& reports) {
  reports.reset();
  std::vector<std::string> names;
  if (const std::error_code error = listFilesWithExtension(mRuta, ".TXT", names)) return error;
  if (names.empty()) return {};
  std::sort(names.begin(), names.end(), listedBefore);
  reports.emplace();
  for (std::string name : names) {
    if (EsReporteValido(name)) reports->push_back(std::move(name));
  }
  return {};
}

std::error_code CargarArchivos(ReportListBox& List1, const std::string& mRuta) {
  std::optional<std::vector<std::string>> reports;
  if (const std::error_code error = reportsInFolder(mRuta, reports)) return error;
  if (!reports) return {};
  List1.clearReports();
  for (const std::string& name : *reports) List1.addReport(name);
  return {};
}

}  // namespace pliego
