// Windows paths: narrow paths are in the ANSI code page everywhere (the
// report list, the job, the INI file, the print script), and a drive root
// stays "F:\".
// Windows only: the Windows implementation (paths, output step, spooler).
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files.hpp"
#include "platform/launcher.hpp"
#include "platform/windows_support.hpp"
#include "printing/print_fixture.hpp"
#include "settings/cinifile.hpp"
#include "reports/reports.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

// "Contabilidad 2025–2026 €ñ" in code page 1252: en dash 0x96, euro 0x80, ñ 0xF1.
const std::string kFolderName = "Contabilidad 2025\x96"
                                "2026 \x80\xF1";
const std::wstring kFolderNameWide = L"Contabilidad 2025\u20132026 \u20AC\u00F1";

struct Names : ReportListBox {
  std::vector<std::string> entries;
  void clearReports() override { entries.clear(); }
  void addReport(const std::string& name) override { entries.push_back(name); }
};

class CodePageFolder : public ::testing::Test {
 protected:
  TempFolder base;
  std::string folder = base.file(kFolderName);

  void SetUp() override {
    ASSERT_EQ(GetACP(), 1252u) << "these tests need the Windows-1252 code page (Wine: LANG=C.UTF-8)";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    // The folder's name on disk is the one the user sees.
    ASSERT_TRUE(std::filesystem::is_directory(std::filesystem::path(base.path()) / kFolderNameWide));
  }
  void give(const std::string& name, const std::string& bytes) { base.write(kFolderName + "\\" + name, bytes); }
  std::string read(const std::string& name) { return base.read(kFolderName + "\\" + name); }
};

TEST_F(CodePageFolder, TheReportListShowsTheFolderAndNamesInTheCodePage) {
  give("MAYOR.TXT", "mayor\r\n");
  give("IVAVENTAS.TXT", "ventas\r\n");
  give("A\xF1o \x96 \x80.TXT", "otro\r\n");
  Names list;
  ASSERT_FALSE(CargarArchivos(list, folder));
  std::sort(list.entries.begin(), list.entries.end());
  EXPECT_EQ(list.entries, (std::vector<std::string>{"IVAVENTAS.TXT", "MAYOR.TXT"}));

  std::vector<std::string> names;
  ASSERT_FALSE(listFilesWithExtension(folder, ".txt", names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A\xF1o \x96 \x80.TXT", "IVAVENTAS.TXT", "MAYOR.TXT"}));
  EXPECT_TRUE(findFileNoCase(folder, "a\xF1O \x96 \x80.txt").has_value());
}

TEST_F(CodePageFolder, TheJobReadsTheReportAndWritesTheWorkFile) {
  give("MAYOR.TXT", "MAYOR\r\ncuenta \xF1\r\nSALDO FINAL: 10\r\n");
  FakeView view;
  FakeDialogs dialogs;
  FakeLauncher launcher;
  PrintJob job{view, dialogs, launcher, folder, NumberFormat{'.', ','}};
  view.report = "mayor.txt";
  view.header = "1";
  view.perPage = "10";
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  const auto lines = splitCrLf(read("WRITE.TXT"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "cuenta \xF1");
  EXPECT_EQ(read("IMPRIMIR.BAT"), "TYPE WRITE.TXT > LPT%1\r\n");
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].command.program, folder + "\\IMPRIMIR.BAT");
}

TEST_F(CodePageFolder, TheIniFileIsTheOneInTheFolder) {
  cInifile ini;
  ini.Path(joinPath(folder, "Pliegomatic.ini"));
  ini.Section("Epson \x96 1");
  ini.Key("Renglones");
  ini.Value("66");
  EXPECT_EQ(read("Pliegomatic.ini"), "[Epson \x96 1]\r\nRenglones=66\r\n");
  cInifile again;
  again.Path(joinPath(folder, "Pliegomatic.ini"));
  again.Section("Epson \x96 1");
  again.Key("Renglones");
  EXPECT_EQ(again.Value(), "66");
}

TEST_F(CodePageFolder, ThePrintScriptRunsThere) {
  give("IVAVENTAS.TXT", "IVA VENTAS\r\nfila\r\n");
  give("IMPRIMIR.BAT", "TYPE WRITE.TXT > COPIA%1.TXT\r\n");
  FakeView view;
  FakeDialogs dialogs;
  SystemLauncher launcher;
  PrintJob job{view, dialogs, launcher, folder, NumberFormat{}};
  view.report = "IVAVENTAS.TXT";
  view.header = "1";
  view.port = "2";
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  ASSERT_TRUE(launcher.waitForTracked(std::chrono::seconds(30)));
  EXPECT_EQ(splitCrLf(read("COPIA2.TXT")).at(1), "fila");
  EXPECT_EQ(read("COPIA2.TXT"), read("WRITE.TXT"));
}

TEST(WindowsDriveRoot, KeepsItsSeparator) {
  struct Case {
    std::string given, folder, ini;
  };
  const Case cases[] = {
      {"F:\\", "F:\\", "F:\\Pliegomatic.ini"},
      {"F:\\SUB\\", "F:\\SUB", "F:\\SUB\\Pliegomatic.ini"},
      {"F:\\SUB", "F:\\SUB", "F:\\SUB\\Pliegomatic.ini"},
      {"\\\\SERVIDOR\\CONTABLE\\", "\\\\SERVIDOR\\CONTABLE", "\\\\SERVIDOR\\CONTABLE\\Pliegomatic.ini"},
  };
  for (const auto& c : cases) {
    const std::string folder = withoutTrailingSeparator(c.given);
    EXPECT_EQ(folder, c.folder) << c.given;
    EXPECT_EQ(joinPath(folder, "Pliegomatic.ini"), c.ini) << c.given;
  }
}

// A drive whose root the test may fill: the one the test runner mapped
// (PLIEGO_TEST_DRIVE; under Wine a link in the prefix's dosdevices), else
// one mapped here onto `folder`, as "subst" does. "" when there is none.
std::string mappedDrive(const std::string& folder) {
  if (const char* given = std::getenv("PLIEGO_TEST_DRIVE")) return given;
  char drive[] = "P:";
  for (; drive[0] >= 'G'; --drive[0])
    if (GetDriveTypeA((std::string(drive) + "\\").c_str()) == DRIVE_NO_ROOT_DIR) break;
  if (!DefineDosDeviceA(0, drive, folder.c_str())) return "";
  return drive;
}

// The program at the root of a drive, started from one of its folders, lists
// the root's reports.
TEST(WindowsDriveRoot, AProgramAtTheRootListsTheRoot) {
  TempFolder mapped;
  TempFolder out;
  const std::string drive = mappedDrive(mapped.path());
  ASSERT_NE(drive, "") << "no drive to try the root on";
  const std::string root = drive + "\\";
  struct Cleanup {
    std::string drive, root;
    ~Cleanup() {
      std::error_code ignored;
      for (const char* name : {"MAYOR.TXT", "SUB", "PLIEGO.EXE"})
        std::filesystem::remove_all(nativePath(root + name), ignored);
      if (!std::getenv("PLIEGO_TEST_DRIVE")) DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
    }
  } cleanup{drive, root};
  ASSERT_TRUE(CreateDirectoryA((root + "SUB").c_str(), nullptr)) << root;
  ASSERT_TRUE(CopyFileA(helperProgram().c_str(), (root + "PLIEGO.EXE").c_str(), FALSE));
  for (const char* report : {"MAYOR.TXT", "SUB\\IVAVENTAS.TXT"}) {
    std::FILE* file = openFile(root + report, "wb");
    ASSERT_NE(file, nullptr) << report;
    std::fclose(file);
  }
  const int code = runToEnd("\"" + root + "PLIEGO.EXE\" carpeta \"" + out.file("salida.out") + "\"", root + "SUB");
  ASSERT_EQ(code, 0);
  EXPECT_EQ(out.read("salida.out"), root + "\nMAYOR.TXT\n");
}

}  // namespace

// Entries are found by their names in the code page, in a folder that also
// holds a name the code page cannot spell.
TEST_F(CodePageFolder, EntriesAreFoundByTheirNamesInTheCodePage) {
  give("A\xF1o \x80.BAT", "");
  std::ofstream(std::filesystem::path(base.path()) / kFolderNameWide / L"\u4E2D.txt") << "x";
  EXPECT_EQ(findEntryNoCase(folder, "A\xF1o \x80.BAT"), std::optional<std::string>("A\xF1o \x80.BAT"));
  EXPECT_EQ(findEntryNoCase(folder, "IMPRIMIR.BAT"), std::nullopt);
}
#endif
