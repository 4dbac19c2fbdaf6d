// Golden rows: every folder under golden/ holds a report, the settings of
// the window's fields and the work file those must give.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

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

// Rows are read once, when the tests are registered: one test per row.
std::vector<Row> readGoldenRows() {
  std::vector<Row> rows;
  std::error_code unreadable;  // no rows: GoogleTest fails the suites that have none
  for (const auto& entry : fs::directory_iterator(kGolden, unreadable)) {
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

const std::vector<Row>& goldenRows() {
  static const std::vector<Row> rows = readGoldenRows();
  return rows;
}

// A line of an output as a mismatch shows it: line ends and the other
// control characters written out.
std::string visible(const std::string& line) {
  const char* const hex = "0123456789ABCDEF";
  std::string shown;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r')
      shown += "\\r";
    else if (c == '\n')
      shown += "\\n";
    else if (byte < 0x20 || byte == 0x7F)
      shown += std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
    else
      shown += c;
  }
  return shown;
}

// The line of `text` that begins at `at`, its line end included; "" at the end.
std::string lineAt(const std::string& text, std::size_t at) {
  if (at >= text.size()) return "";
  const std::size_t end = text.find('\n', at);
  return text.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
}

// Equal outputs, or the first line where they differ, in both.
::testing::AssertionResult sameOutput(const std::string& got, const std::string& expected) {
  if (got == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0, number = 1;
  for (;;) {
    const std::string mine = lineAt(got, at), theirs = lineAt(expected, at);
    if (mine != theirs)
      return ::testing::AssertionFailure()
             << "the outputs differ at line " << number << " (byte " << at << "; " << got.size() << " bytes against "
             << expected.size() << " expected)\n     got: " << (mine.empty() ? "(end of output)" : visible(mine))
             << "\nexpected: " << (theirs.empty() ? "(end of output)" : visible(theirs));
    at += mine.size();
    ++number;
  }
}

// A test name from a row's folder name: letters, digits and underscores only.
std::string testName(std::string name) {
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

std::vector<std::size_t> rowIndexes() {
  std::vector<std::size_t> indexes(goldenRows().size());
  for (std::size_t i = 0; i < indexes.size(); ++i) indexes[i] = i;
  return indexes;
}

// Small blocks put line ends, CR LF pairs, Ctrl+Z and the markers across
// block boundaries everywhere.
class GoldenEngine : public ::testing::TestWithParam<std::tuple<std::size_t, std::size_t>> {};

TEST_P(GoldenEngine, InMemory) {
  const auto [index, blockSize] = GetParam();
  const Row& row = goldenRows()[index];
  EXPECT_TRUE(sameOutput(layOutInMemory(row, blockSize), row.expected)) << row.name << ", blocks of " << blockSize;
}

INSTANTIATE_TEST_SUITE_P(Rows, GoldenEngine,
                         ::testing::Combine(::testing::ValuesIn(rowIndexes()),
                                            ::testing::Values(std::size_t{1}, std::size_t{2}, std::size_t{7},
                                                              std::size_t{64}, LineReader::kBlockSize)),
                         [](const auto& param) {
                           return testName(goldenRows()[std::get<0>(param.param)].name) + "_blocks_of_" +
                                  std::to_string(std::get<1>(param.param));
                         });

// The whole job on real files in a real folder, as the window runs it.
class GoldenJob : public ::testing::TestWithParam<std::size_t> {};

TEST_P(GoldenJob, OnRealFiles) {
  const Row& row = goldenRows()[GetParam()];
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
  EXPECT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  EXPECT_TRUE(sameOutput(dir.read("WRITE.TXT"), row.expected));
  EXPECT_FALSE(dir.exists("WRITE2.TXT"));
}

INSTANTIATE_TEST_SUITE_P(Rows, GoldenJob, ::testing::ValuesIn(rowIndexes()),
                         [](const auto& param) { return testName(goldenRows()[param.param].name); });

std::string bigReport(bool ledger) {
  std::string text = "EMPRESA DEMO S.A.\r\nLIBRO DE PRUEBA\r\nFECHA  DETALLE  IMPORTE\r\n";
  for (int i = 0; text.size() < 1500000; ++i) {
    text += std::to_string(i) + " MOVIMIENTO " + std::string(static_cast<std::size_t>(60 + i * 37 % 130), '.');
    text += i % 997 == 0 ? "\n" : i % 1009 == 0 ? "\r" : "\r\n";
    if (ledger && i % 41 == 40) text += "      SALDO FINAL:   " + std::to_string(i) + ",00\r\n";
  }
  return text + "Tasas de I.V.A.:  21,00 %\r\nTotal  1.234,56\r\n";
}

// Reports of several blocks, whose pages go to the work file in runs of
// many kilobytes straight from the read blocks (and to the preview's copy):
// the job on real files gives what the engine gives in memory through small
// blocks, with odd line ends and the markers in between.
class LargeReport : public ::testing::TestWithParam<std::tuple<const char*, const char*>> {};

TEST_P(LargeReport, OnRealFilesMatchesTheEngineInMemory) {
  const std::string report = std::get<0>(GetParam()), totals = std::get<1>(GetParam());
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
  ASSERT_EQ(dialogs.informed, std::vector<std::string>{"Impresion Finalizada"});
  EXPECT_TRUE(sameOutput(dir.read("WRITE.TXT"), row.expected));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_TRUE(sameOutput(readBytes(launcher.started[0].command.arguments.at(0)), row.expected));
}

INSTANTIATE_TEST_SUITE_P(Reports, LargeReport,
                         ::testing::Combine(::testing::Values("IVAVENTAS.TXT", "LISTADO.TXT", "MAYOR.TXT"),
                                            ::testing::Values("0", "1")),
                         [](const auto& param) {
                           return testName(std::get<0>(param.param)) + "_totals_" + std::get<1>(param.param);
                         });

}  // namespace
