#pragma once
// The list of printable reports (List1): the three reports the print job
// knows, found among the TXT files of the program's folder.
#include <optional>
#include <string>
#include <vector>

namespace pliego {

// The report list box as the procedures below see it.
class ReportListBox {
 public:
  virtual ~ReportListBox() = default;
  virtual void clearReports() = 0;
  virtual void addReport(const std::string& name) = 0;
};

// Trims and upper-cases `name` in place, then tells whether it begins with
// "MAYOR.TXT", "IVACOMPRAS.TXT" or "IVAVENTAS.TXT".
bool EsReporteValido(std::string& name);

// The supported reports of `mRuta`, upper-cased, in the order a Windows
// folder lists the files: by name, without regard to letter case. Nothing
// when the folder holds no TXT file at all. Throws
// std::filesystem::filesystem_error when the folder cannot be read.
std::optional<std::vector<std::string>> ReportesDeLaCarpeta(const std::string& mRuta);

// Fills List1 with ReportesDeLaCarpeta(mRuta). A folder without any TXT
// file leaves the list as it was; one with only other TXT files leaves it
// empty.
void CargarArchivos(ReportListBox& List1, const std::string& mRuta);

}  // namespace pliego
