// The alignment page and the one-page feed, on their bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/alignment_page.hpp"
#include "printing/job_error.hpp"
#include "printing/page_header.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const NumberFormat kDot{'.', ','};

PageRules rulesFor(const char* report, const char* perPage, const char* header, const char* between) {
  return makePageRules(report, perPage, header, between, CheckState::Checked, CheckState::Checked, kDot);
}

PrinterSetup epson(int columns, Pitch pitch) {
  PrinterSetup s;
  s.commands = CommandSet::EscP;
  s.carriageColumns = columns;
  s.pitch = pitch;
  s.table = CharTable::Pc850;
  return s;
}

const std::vector<std::string> kHeader = {"\x1B@\x0F" "DISTRIBUIDORA DEL SUR S.A.", "LIBRO MAYOR - A\xD1O 2024",
                                          "Fecha  Asiento  Concepto"};

struct Case {
  const char* report;
  const char* perPage;
  const char* between;
  PrinterSetup setup;
  int lines, width;
};

TEST(AlignmentPage, SetUpThenOnePageOfTheProfile) {
  const std::vector<Case> cases = {
      {"LISTADO.TXT", "66", "0", epson(136, Pitch::Cpi17), 65, 233},
      {"MAYOR.TXT", "72", "0", epson(136, Pitch::Cpi17), 72, 233},
      {"IVAVENTAS.TXT", "66", "1", epson(80, Pitch::Cpi10), 66, 80},
      {"LISTADO.TXT", "12", "3", PrinterSetup{}, 14, 192},
  };
  for (const auto& c : cases) {
    const PageRules rules = rulesFor(c.report, c.perPage, "3", c.between);
    const std::string bytes = alignmentPage(c.setup, rules, kHeader, 7);
    const std::string setup = setupBytes(c.setup, rules);
    ASSERT_EQ(bytes.substr(0, setup.size()), setup) << c.report;
    const auto lines = splitCrLf(bytes.substr(setup.size()));
    ASSERT_EQ(static_cast<int>(lines.size()), c.lines) << c.report;
    // The header lines without their codes, in the printer's table (Ñ is 0xA5 in 850).
    EXPECT_EQ(lines[0], "DISTRIBUIDORA DEL SUR S.A.");
    EXPECT_EQ(lines[1], c.setup.table == CharTable::Pc850 ? "LIBRO MAYOR - A\xA5O 2024" : kHeader[1]);
    EXPECT_EQ(lines[2], kHeader[2]);
    // The ruler to the carriage's width, then the stamp where the book has it.
    EXPECT_EQ(static_cast<int>(lines[3].size()), c.width);
    EXPECT_EQ(lines[3].substr(0, 10), "....+....1");
    EXPECT_EQ(lines[4].substr(0, 12), "123456789012");
    EXPECT_EQ(lines[5], pageStamp("", 7));
    EXPECT_EQ(lines[5].size(), 192u);
    EXPECT_EQ(lines[5].substr(182), " Pagina: 7");
    // Every further line carries its number from the top of the form; the last is marked.
    for (int i = 6; i < c.lines - 1; ++i) EXPECT_EQ(std::stoi(lines[i]), i + 1) << c.report;
    EXPECT_EQ(lines.back(), (c.lines < 100 ? "  " : " ") + std::to_string(c.lines) + std::string(kLastLineMark));
  }
}

TEST(AlignmentPage, APageShorterThanItsHeadingStillEndsOnItsMark) {
  const PageRules rules = rulesFor("LISTADO.TXT", "5", "3", "0");  // four lines a page
  const auto lines = splitCrLf(alignmentPage(PrinterSetup{}, rules, kHeader));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "   4" + std::string(kLastLineMark));
}

TEST(AlignmentPage, ThePagesTheSetUpRefusesAreRefused) {
  EXPECT_THROW(alignmentPage(epson(80, Pitch::Cpi10), rulesFor("LISTADO.TXT", "200", "3", "0"), kHeader), JobError);
  EXPECT_THROW(alignmentPage(PrinterSetup{}, rulesFor("MAYOR.TXT", "66.5", "3", "0"), kHeader), JobError);
  EXPECT_THROW(formAdvanceBytes(PrinterSetup{}, rulesFor("LISTADO.TXT", "3", "3", "0")), JobError);
}

TEST(AlignmentPage, TheFormAdvanceIsTheSetUpThenExactlyOnePage) {
  const std::vector<std::pair<PageRules, int>> cases = {{rulesFor("LISTADO.TXT", "66", "4", "0"), 65},
                                                        {rulesFor("LISTADO.TXT", "66", "4", "1"), 66},
                                                        {rulesFor("MAYOR.TXT", "72", "4", "0"), 72}};
  for (const auto& [rules, lines] : cases) {
    for (const PrinterSetup& setup : {epson(136, Pitch::Cpi17), PrinterSetup{}}) {
      const std::string bytes = formAdvanceBytes(setup, rules);
      const std::string head = setupBytes(setup, rules);
      ASSERT_EQ(bytes.substr(0, head.size()), head);
      EXPECT_EQ(splitCrLf(bytes.substr(head.size())), std::vector<std::string>(static_cast<std::size_t>(lines), " "));
    }
  }
}

TEST(AlignmentPage, TheRulerCountsTheColumns) {
  const auto ruler = columnRuler(25);
  EXPECT_EQ(ruler[0], "....+....1....+....2....+");
  EXPECT_EQ(ruler[1], "1234567890123456789012345");
  EXPECT_EQ(columnRuler(233)[0].substr(229), "3...");  // columns 230 to 233
  EXPECT_EQ(columnRuler(233)[0].substr(199, 1), "0");  // column 200
}

}  // namespace
