#pragma once
// The reports the program knows: their names, the kind of each, and the
// ones a folder holds (List1).
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace pliego {

enum class ReportKind { Plain, VatBook, Ledger };

// The supported reports, by the name their file begins with.
struct SupportedReport {
  std::string_view name;
  ReportKind kind;
};
inline constexpr SupportedReport kSupportedReports[] = {
    {"MAYOR.TXT", ReportKind::Ledger},
    {"IVACOMPRAS.TXT", ReportKind::VatBook},
    {"IVAVENTAS.TXT", ReportKind::VatBook},
};

// The kind of the report named `reportName`, trimmed and upper-cased: the
// ledger is any name that begins with "MAYOR.TXT", a VAT book only a name
// that is exactly one; every other report is plain.
ReportKind kindOf(std::string_view reportName);

// The report list box as the procedures below see it.
class ReportListBox {
 public:
  virtual ~ReportListBox() = default;
  virtual void clearReports() = 0;
  virtual void addReport(const std::string& name) = 0;
};

// Trims and upper-cases `name` in place, then tells whether it begins with
// the name of a supported report.
bool EsReporteValido(std::string& name);

// Puts in `reports` the supported reports of `mRuta`, upper-cased, in the
// order a Windows folder lists the files: by name, without regard to letter
// case; nothing when the folder holds no TXT file at all. The system's error
// when the folder cannot be read.
[[nodiscard]] std::error_code reportsInFolder(const std::string& mRuta,
                                              std::optional<std::vector<std::string>>& reports);

// Fills List1 with reportsInFolder(mRuta). A folder without any TXT file
// leaves the list as it was; one with only other TXT files leaves it empty.
// A folder that cannot be read leaves it as it was, and gives the error.
[[nodiscard]] std::error_code CargarArchivos(ReportListBox& List1, const std::string& mRuta);

}  // namespace pliego
