#include "window/report_list.hpp"

#include <algorithm>
#include <string_view>

#include "common/text.hpp"
#include "platform/files.hpp"

namespace pliego {

namespace {
constexpr std::string_view kReportNames[] = {"MAYOR.TXT", "IVACOMPRAS.TXT", "IVAVENTAS.TXT"};

// Windows lists a folder by the upper-cased names; equal ones by their bytes.
bool listedBefore(const std::string& a, const std::string& b) {
  const std::string upperA = toUpperAscii(a), upperB = toUpperAscii(b);
  return upperA != upperB ? upperA < upperB : a < b;
}

}  // namespace

bool EsReporteValido(std::string& name) {
  name = toUpperAscii(trimSpaces(name));
  for (const std::string_view report : kReportNames)
    if (startsWith(name, report)) return true;
  return false;
}

std::optional<std::vector<std::string>> ReportesDeLaCarpeta(const std::string& mRuta) {
  std::vector<std::string> names = listFilesWithExtension(mRuta, ".TXT");
  if (names.empty()) return std::nullopt;
  std::sort(names.begin(), names.end(), listedBefore);
  std::vector<std::string> reports;
  for (std::string name : names) {
    if (EsReporteValido(name)) reports.push_back(std::move(name));
  }
  return reports;
}

void CargarArchivos(ReportListBox& List1, const std::string& mRuta) {
  const auto reports = ReportesDeLaCarpeta(mRuta);
  if (!reports) return;
  List1.clearReports();
  for (const std::string& name : *reports) List1.addReport(name);
}

}  // namespace pliego
