#include <gtest/gtest.h>

#include "printing/page_header.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

TEST(PageStamp, LabelEndsInColumn192) {
  struct Case {
    std::string text;
    std::int64_t page;
    std::string expected;
  };
  const std::string long200(200, 'x');
  const std::string exact182(182, 'y');
  const Case cases[] = {
      {long200, 3, std::string(182, 'x') + " Pagina: 3"},
      {"", 12, std::string(181, ' ') + " Pagina: 12"},
      {exact182, 7, exact182 + " Pagina: 7"},
      {"EMPRESA S.A.", 1, "EMPRESA S.A." + std::string(170, ' ') + " Pagina: 1"},
      {std::string(181, 'z'), 40000, std::string(178, 'z') + " Pagina: 40000"},
  };
  for (const auto& c : cases) {
    const std::string stamp = pageStamp(c.text, c.page);
    EXPECT_EQ(stamp.size(), 192u);
    EXPECT_EQ(stamp, c.expected) << c.page;
  }
}

TEST(PageStamp, KeepsEightBitBytes) {
  const std::string text = "CONTABILIDAD A\xD1O 2026 \xE1\xE9";
  EXPECT_EQ(pageStamp(text, 2).substr(0, text.size()), text);
}

class PageHeaderTest : public ::testing::Test {
 protected:
  std::string report = "IVAVENTAS.TXT", between = "0";
  CheckState pageNumber = CheckState::Checked;
  std::vector<std::string> header{"EMPRESA", "LIBRO IVA VENTAS", std::string(250, '-')};

  // The page-opening block, with the rules read from the fields' texts.
  std::vector<std::string> writeHeader(std::int64_t page) {
    const PageRules rules =
        makePageRules(report, "66", "3", between, pageNumber, CheckState::Unchecked, NumberFormat{});
    std::string bytes;
    LineWriter out;
    out.createInMemory(bytes);
    EscribirEncabezado(out, header, page, rules);
    EXPECT_TRUE(out.close());
    return splitCrLf(bytes);
  }
};

TEST_F(PageHeaderTest, LinesBetweenPagesThenStampedHeader) {
  report = "IVAVENTAS.TXT";
  between = "2";
  const auto lines = writeHeader(4);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], " ");
  EXPECT_EQ(lines[1], " ");
  EXPECT_EQ(lines[2], pageStamp("EMPRESA", 4));
  EXPECT_EQ(lines[3], "LIBRO IVA VENTAS");
  EXPECT_EQ(lines[4], std::string(250, '-'));  // later header lines are never cut
}

TEST_F(PageHeaderTest, LinesBetweenPagesReadAsLeadingNumberRoundedHalfEven) {
  report = "IVACOMPRAS.TXT";
  header = {"H"};
  const std::pair<const char*, std::size_t> cases[] = {
      {"", 0}, {"0", 0}, {"-2", 0}, {"abc", 0}, {"3", 3}, {"2.5", 2}, {"3.5", 4}, {"0.4", 0}, {"3 lineas", 3},
  };
  for (const auto& [text, blankCount] : cases) {
    between = text;
    const auto lines = writeHeader(2);
    ASSERT_EQ(lines.size(), blankCount + 1) << text;
    for (std::size_t i = 0; i < blankCount; ++i) EXPECT_EQ(lines[i], " ");
    EXPECT_EQ(lines.back(), pageStamp("H", 2));
  }
}

TEST_F(PageHeaderTest, LedgerGetsNothingAtAll) {
  between = "3";
  for (const char* name : {"MAYOR.TXT", " mayor.txt ", "MAYOR.TXT.OLD"}) {
    report = name;
    EXPECT_TRUE(writeHeader(2).empty()) << name;
  }
}

TEST_F(PageHeaderTest, UncheckedPageNumberBoxWritesHeaderAsCaptured) {
  report = "IVAVENTAS.TXT";
  pageNumber = CheckState::Unchecked;
  EXPECT_EQ(writeHeader(5), header);
  pageNumber = CheckState::Grayed;
  EXPECT_EQ(writeHeader(5).front(), pageStamp("EMPRESA", 5));
}

}  // namespace
