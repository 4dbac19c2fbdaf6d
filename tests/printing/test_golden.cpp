// Golden rows: every folder under golden/ holds a report, the settings of
// the window's fields and the work file those must give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "printing/pagination.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

const fs::path kGolden = fs::path(__FILE__).parent_path() / "golden";

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct Row {
  std::string name, report, expected;
  std::map<std::string, std::string> settings;

  const std::string& at(const std::string& key) const { return settings.at(key); }
  CheckState box(const std::string& key) const { return static_cast<CheckState>(std::stoi(at(key))); }
  NumberFormat format() const { return at("decimal") == "," ? NumberFormat{',', '.'} : NumberFormat{'.', ','}; }
  PageRules rules() const {
    return makePageRules(at("report"), at("perpage"), at("header"), at("between"), box("pagenumber"),
                         box("vattotals"), format());
  }
};

std::vector<Row> goldenRows() {
  std::vector<Row> rows;
  for (const auto& entry : fs::directory_iterator(kGolden)) {
    if (!entry.is_directory()) continue;
    Row row{entry.path().filename().string(), slurp(entry.path() / "report.txt"),
            slurp(entry.path() / "expected.txt"), {}};
    std::istringstream settings(slurp(entry.path() / "settings.txt"));
    for (std::string line; std::getline(settings, line);)
      row.settings[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    rows.push_back(std::move(row));
  }
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.name < b.name; });
  return rows;
}

// The engine alone, on bytes in memory.
std::string layOutInMemory(const Row& row, std::size_t blockSize) {
  const PageRules rules = row.rules();
  LineReader report;
  report.openMemory(row.report, blockSize);
  const auto header = captureHeader(report, rules);
  EXPECT_TRUE(report.rewind());
  std::string work;
  LineWriter out;
  out.createInMemory(work);
  const Layout layout = layOut(report, out, rules, header);
  EXPECT_TRUE(out.close());
  EXPECT_FALSE(layout.stopped);
  return work;
}

TEST(GoldenRows, AreThere) { EXPECT_GE(goldenRows().size(), 30u); }

// Small blocks put line ends, CR LF pairs, Ctrl+Z and the markers across
// block boundaries everywhere.
TEST(GoldenRows, EngineInMemoryAtEveryBlockSize) {
  for (const auto& row : goldenRows())
    for (std::size_t blockSize : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{64}, LineReader::kBlockSize})
      EXPECT_EQ(layOutInMemory(row, blockSize), row.expected) << row.name << ", blocks of " << blockSize;
}

// The whole job on real files in a real folder, as the window runs it.
TEST(GoldenRows, PrintJobOnRealFiles) {
  for (const auto& row : goldenRows()) {
    TempFolder dir;
    FakeView view;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    PrintJob job{view, dialogs, launcher, dir.path(), row.format()};
    dir.write(row.at("report"), row.report);
    view.report = row.at("report");
    view.perPage = row.at("perpage");
    view.header = row.at("header");
    view.between = row.at("between");
    view.pageNumber = row.box("pagenumber");
    view.vatTotals = row.box("vattotals");
    view.preview = CheckState::Checked;
    runJobHere(job, view);
    EXPECT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"}) << row.name;
    EXPECT_EQ(dir.read("WRITE.TXT"), row.expected) << row.name;
    EXPECT_FALSE(dir.exists("WRITE2.TXT")) << row.name;
  }
}

// Reports of several blocks, whose pages go to the work file in runs of
// many kilobytes straight from the read blocks (and to the preview's copy):
// the job on real files gives what the engine gives in memory through small
// blocks, with odd line ends and the markers in between.
TEST(GoldenRows, LargeReportsOnRealFilesMatchTheEngineInMemory) {
  const auto bigReport = [](bool ledger) {
    std::string text = "EMPRESA DEMO S.A.\r\nLIBRO DE PRUEBA\r\nFECHA  DETALLE  IMPORTE\r\n";
    for (int i = 0; text.size() < 1500000; ++i) {
      text += std::to_string(i) + " MOVIMIENTO " + std::string(static_cast<std::size_t>(60 + i * 37 % 130), '.');
      text += i % 997 == 0 ? "\n" : i % 1009 == 0 ? "\r" : "\r\n";
      if (ledger && i % 41 == 40) text += "      SALDO FINAL:   " + std::to_string(i) + ",00\r\n";
    }
    return text + "Tasas de I.V.A.:  21,00 %\r\nTotal  1.234,56\r\n";
  };
  for (const std::string report : {"IVAVENTAS.TXT", "LISTADO.TXT", "MAYOR.TXT"})
    for (const std::string totals : {"0", "1"}) {
      Row row{report + ", totals " + totals, bigReport(report == "MAYOR.TXT"), "",
              {{"report", report}, {"perpage", "66"}, {"header", "3"}, {"between", "2"}, {"pagenumber", "1"},
               {"vattotals", totals}, {"decimal", ","}}};
      row.expected = layOutInMemory(row, 7);
      TempFolder dir;
      FakeView view;
      FakeDialogs dialogs;
      FakeLauncher launcher;
      PrintJob job{view, dialogs, launcher, dir.path(), row.format()};
      dir.write(report, row.report);
      view.report = report;
      view.perPage = "66";
      view.header = "3";
      view.between = "2";
      view.pageNumber = CheckState::Checked;
      view.vatTotals = row.box("vattotals");
      view.preview = CheckState::Checked;
      runJobHere(job, view);
      ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"}) << row.name;
      EXPECT_TRUE(dir.read("WRITE.TXT") == row.expected) << row.name;
      ASSERT_EQ(launcher.started.size(), 1u) << row.name;
      EXPECT_TRUE(readBytes(launcher.started[0].command.arguments.at(0)) == row.expected) << row.name;
    }
}

}  // namespace
