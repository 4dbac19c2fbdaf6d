// The supported reports: their kind, and on real folders which TXT files
// are offered, and how.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.hpp"
#include "reports/reports.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

struct FakeReportList : ReportListBox {
  std::vector<std::string> entries{"ANTERIOR"};
  void clearReports() override { entries.clear(); }
  void addReport(const std::string& name) override { entries.push_back(name); }
  std::vector<std::string> sorted() const {
    auto copy = entries;
    std::sort(copy.begin(), copy.end());
    return copy;
  }
};

TEST(ReportKinds, TheLedgerByTheStartOfItsNameAVatBookByTheWholeName) {
  const std::pair<const char*, ReportKind> cases[] = {
      {"MAYOR.TXT", ReportKind::Ledger},       {"  mayor.txt ", ReportKind::Ledger},
      {"MAYOR.TXTX", ReportKind::Ledger},      {"IVAVENTAS.TXT", ReportKind::VatBook},
      {" ivacompras.txt", ReportKind::VatBook}, {"IVAVENTAS.TXT2", ReportKind::Plain},
      {"LISTADO.TXT", ReportKind::Plain},      {"", ReportKind::Plain},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(kindOf(name), kind) << name;
}

TEST(EsReporteValido, TrimsUpperCasesAndComparesTheStart) {
  struct Case {
    std::string name, normalised;
    bool valid;
  };
  const Case cases[] = {
      {"mayor.txt", "MAYOR.TXT", true},
      {"  IvaCompras.txt  ", "IVACOMPRAS.TXT", true},
      {"ivaventas.TXT", "IVAVENTAS.TXT", true},
      {"MAYOR.TXT.TXT", "MAYOR.TXT.TXT", true},
      {"IVAVENTAS.TXT.VIEJO.TXT", "IVAVENTAS.TXT.VIEJO.TXT", true},
      {"MAYOR2.TXT", "MAYOR2.TXT", false},
      {"write.txt", "WRITE.TXT", false},
      {"WRITE2.TXT", "WRITE2.TXT", false},
      {"IVA.TXT", "IVA.TXT", false},
      {"\tMAYOR.TXT", "\tMAYOR.TXT", false},
  };
  for (const auto& c : cases) {
    std::string name = c.name;
    EXPECT_EQ(EsReporteValido(name), c.valid) << c.name;
    EXPECT_EQ(name, c.normalised);
  }
}

TEST(CargarArchivos, ListsTheThreeReportsUpperCasedOnceEach) {
  TempFolder dir;
  for (const char* name : {"mayor.txt", "IvaCompras.Txt", "IVAVENTAS.TXT", "WRITE.TXT", "notas.txt", "MAYOR.DOC"})
    dir.write(name, "x\r\n");
  std::filesystem::create_directory(dir.file("CARPETA.TXT"));
  FakeReportList list;
  ASSERT_FALSE(CargarArchivos(list, dir.path()));
  EXPECT_EQ(list.sorted(), (std::vector<std::string>{"IVACOMPRAS.TXT", "IVAVENTAS.TXT", "MAYOR.TXT"}));
}

// A Windows folder lists its names in the order of their upper-cased bytes;
// a byte order or the directory's own order would put the lower-case names
// elsewhere.
TEST(CargarArchivos, ListsTheReportsInTheOrderOfAWindowsFolder) {
  TempFolder dir;
  for (const char* name : {"mayor.txt", "MAYOR.TXT.2023.TXT", "ivaventas.txt.viejo.txt", "IvaVentas.txt",
                           "IvaCompras.TXT.B.TXT", "IVACOMPRAS.TXT", "IVA_COMPRAS.TXT.TXT"})
    dir.write(name, "x\r\n");
  FakeReportList list;
  ASSERT_FALSE(CargarArchivos(list, dir.path()));
  EXPECT_EQ(list.entries, (std::vector<std::string>{"IVACOMPRAS.TXT", "IVACOMPRAS.TXT.B.TXT", "IVAVENTAS.TXT",
                                                    "IVAVENTAS.TXT.VIEJO.TXT", "MAYOR.TXT", "MAYOR.TXT.2023.TXT"}));
}

TEST(CargarArchivos, OnlyWorkFilesLeaveTheListEmpty) {
  TempFolder dir;
  dir.write("WRITE.TXT", "x\r\n");
  dir.write("write2.txt", "x\r\n");
  FakeReportList list;
  ASSERT_FALSE(CargarArchivos(list, dir.path()));
  EXPECT_TRUE(list.entries.empty());
}

TEST(CargarArchivos, NoTxtFileLeavesTheListAsItWas) {
  TempFolder dir;
  dir.write("Pliegomatic.ini", "[P]\r\n");
  dir.write("imprimir.sh", "cat WRITE.TXT\n");
  FakeReportList list;
  ASSERT_FALSE(CargarArchivos(list, dir.path()));
  EXPECT_EQ(list.entries, (std::vector<std::string>{"ANTERIOR"}));
}

TEST(CargarArchivos, AFolderThatCannotBeReadGivesTheErrorAndLeavesTheList) {
  TempFolder dir;
  FakeReportList list;
  EXPECT_EQ(CargarArchivos(list, dir.file("no-existe")), std::errc::no_such_file_or_directory);
  EXPECT_EQ(list.entries, (std::vector<std::string>{"ANTERIOR"}));
}

}  // namespace
