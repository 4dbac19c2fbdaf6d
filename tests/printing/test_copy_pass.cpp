#include "printing/page_header.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

class CopyPassTest : public PrintJobTest {
 protected:
  void SetUp() override { view.preview = CheckState::Checked; }
};

TEST_F(CopyPassTest, PlainReportOf200LinesWith66PerPageAnd5HeaderLines) {
  const auto report = numberedLines(200);
  giveReport("LISTADO.TXT", report);
  runJobHere(job, view);

  const auto header = slice(report, 1, 5);
  std::vector<std::string> expected{pageStamp(report[0], 1)};
  append(expected, slice(report, 2, 65));
  const std::pair<int, int> bodies[] = {{66, 125}, {126, 185}, {186, 200}};
  int page = 2;
  for (const auto& [first, last] : bodies) {
    expected.push_back(pageStamp(header[0], page++));
    append(expected, slice(header, 2, 5));
    append(expected, slice(report, first, last));
  }
  EXPECT_EQ(workLines(), expected);
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(job.mEncabezado(), header);
  EXPECT_EQ(job.mAnchoMaximo(), 192);
}

TEST_F(CopyPassTest, LinesBetweenPagesOpenEveryLaterPage) {
  const auto report = numberedLines(12);
  giveReport("LISTADO.TXT", report);
  view.perPage = "6";
  view.header = "1";
  view.between = "2";
  runJobHere(job, view);
  std::vector<std::string> expected{pageStamp(report[0], 1)};
  append(expected, slice(report, 2, 5));
  append(expected, {" ", " ", pageStamp(report[0], 2)});
  append(expected, slice(report, 6, 9));
  append(expected, {" ", " ", pageStamp(report[0], 3)});
  append(expected, slice(report, 10, 12));
  EXPECT_EQ(workLines(), expected);
}

TEST_F(CopyPassTest, ReportEndingWithItsPageGetsNoFurtherHeader) {
  const auto report = numberedLines(125);
  giveReport("LISTADO.TXT", report);
  runJobHere(job, view);
  const auto lines = workLines();
  ASSERT_EQ(lines.size(), 65u + 5u + 60u);
  EXPECT_EQ(lines.back(), "linea 125");
}

TEST_F(CopyPassTest, ShortAndEmptyReports) {
  giveReport("LISTADO.TXT", {"solo"});
  runJobHere(job, view);
  EXPECT_EQ(job.mEncabezado(), (std::vector<std::string>{"solo", "", "", "", ""}));
  EXPECT_EQ(workLines(), std::vector<std::string>{pageStamp("solo", 1)});

  giveReport("LISTADO.TXT", {});
  runJobHere(job, view);
  EXPECT_EQ(dir.read("WRITE.TXT"), "");
  EXPECT_EQ(job.mEncabezado(), std::vector<std::string>(5));
  EXPECT_EQ(job.mAnchoMaximo(), 0);
  EXPECT_EQ(lastMessage(), "Impresion Finalizada");
  EXPECT_EQ(launcher.started.size(), 2u);
}

TEST_F(CopyPassTest, VatTotalsCutOnlyForVatBooksWithTheBoxUnchecked) {
  const std::vector<std::string> report{"IVA VENTAS", "factura 1", "tasas de i.v.a.: no corta", "factura 2",
                                        "   Tasas de I.V.A.: 21%", "total 1", "total 2"};
  struct Case {
    std::string name;
    CheckState totals;
    std::size_t lines;
  };
  const Case cases[] = {
      {"IVAVENTAS.TXT", CheckState::Unchecked, 4}, {" ivacompras.txt ", CheckState::Unchecked, 4},
      {"IVAVENTAS.TXT", CheckState::Checked, 7},   {"IVAVENTAS.TXT", CheckState::Grayed, 4},
      {"LISTADO.TXT", CheckState::Unchecked, 7},   {"IVAVENTAS.TXT.BAK", CheckState::Unchecked, 7},
  };
  view.header = "1";
  for (const auto& c : cases) {
    giveReport(c.name, report);
    view.vatTotals = c.totals;
    runJobHere(job, view);
    const auto lines = workLines();
    ASSERT_EQ(lines.size(), c.lines) << c.name;
    EXPECT_EQ(lines.back(), report[c.lines - 1]) << c.name;
  }
}

TEST_F(CopyPassTest, BytesAndLineEndsOfTheReportAreNormalisedToCrLfOnly) {
  // LF, lone CR, CR LF, an 8-bit byte, an ESC sequence and a Ctrl+Z end.
  dir.write("LISTADO.TXT", "uno\nDOS \xD1\r\x1b" "E tres\r\ncuatro\x1a" "BASURA");
  view.report = "LISTADO.TXT";
  view.header = "0";
  runJobHere(job, view);
  EXPECT_EQ(dir.read("WRITE.TXT"), "uno\r\nDOS \xD1\r\n\x1b" "E tres\r\ncuatro\r\n");
}

TEST_F(CopyPassTest, ListedUpperCaseNameFindsALowerCaseFileOnDisk) {
  dir.write("ivaventas.txt", "IVA\r\nfila\r\n");
  view.report = "IVAVENTAS.TXT";
  view.header = "1";
  runJobHere(job, view);
  EXPECT_EQ(workLines(), (std::vector<std::string>{pageStamp("IVA", 1), "fila"}));
}

}  // namespace
