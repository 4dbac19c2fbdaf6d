#pragma once
// The list of printable reports (List1): the three reports the print job
// knows, found among the TXT files of the program's folder.
#include <string>

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

// Fills List1 with the supported reports of `mRuta`, upper-cased, in the
// order the file system gives them. A folder without any TXT file leaves the
// list as it was; one with only other TXT files leaves it empty. Throws
// std::filesystem::filesystem_error when the folder cannot be read.
void CargarArchivos(ReportListBox& List1, const std::string& mRuta);

}  // namespace pliego
