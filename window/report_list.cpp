#include "window/report_list.hpp"

#include <string_view>

#include "common/text.hpp"
#include "platform/files.hpp"

namespace pliego {

namespace {
constexpr std::string_view kReportNames[] = {"MAYOR.TXT", "IVACOMPRAS.TXT", "IVAVENTAS.TXT"};
}

bool EsReporteValido(std::string& name) {
  name = toUpperAscii(trimSpaces(name));
  for (const std::string_view report : kReportNames)
    if (startsWith(name, report)) return true;
  return false;
}

void CargarArchivos(ReportListBox& List1, const std::string& mRuta) {
  const std::vector<std::string> names = listFilesWithExtension(mRuta, ".TXT");
  if (names.empty()) return;
  List1.clearReports();
  for (std::string name : names) {
    if (EsReporteValido(name)) List1.addReport(name);
  }
}

}  // namespace pliego
