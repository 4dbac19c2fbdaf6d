// The check before printing, on real report files: lines wider than the
// carriage, page-length codes in the repeated header, bytes 0x80-0x9F; and
// the header codes sent once instead of on every page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "printing/page_header.hpp"
#include "printing/pagination.hpp"
#include "printing/print_fixture.hpp"
#include "printing/printer_codes.hpp"
#include "printing/report_check.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

const fs::path kDemo = fs::path(__FILE__).parent_path().parent_path().parent_path() / "demo";
const NumberFormat kDot{'.', ','};

PageRules rulesFor(const std::string& report, const char* perPage = "66", const char* header = "4") {
  return makePageRules(report, perPage, header, "0", CheckState::Checked, CheckState::Checked, kDot);
}

PrinterSetup wideEpson() {
  PrinterSetup s;
  s.commands = CommandSet::EscP;
  s.pitch = Pitch::Cpi17;
  s.carriageColumns = 136;
  s.table = CharTable::Pc850;
  return s;
}

PrinterSetup narrowAt(Pitch pitch) {
  PrinterSetup s = wideEpson();
  s.carriageColumns = 80;
  s.pitch = pitch;
  return s;
}

class ReportCheckTest : public ::testing::Test {
 protected:
  TempFolder dir;
  ReportCheck check(const std::string& name, const std::vector<std::string>& lines, const PrinterSetup& setup,
                    const PageRules& rules) {
    dir.write(name, joinCrLf(lines));
    LineReader report(dir.file(name));
    return checkReport(report, rules, setup);
  }
  static std::vector<std::string> ledgerLines(const std::string& first) {
    std::vector<std::string> lines = {first, "LIBRO MAYOR", "Fecha   Asiento   Debe   Haber", "----"};
    for (int i = 1; i <= 150; ++i) lines.push_back("01/03/2024  " + std::to_string(i) + "  Compra de mercaderia  1.000,00");
    lines.push_back("SALDO FINAL:  150.000,00");
    return lines;
  }
};

TEST_F(ReportCheckTest, TheDemoReportsAreSilentOnAWideEpson) {
  for (const char* name : {"MAYOR.TXT", "IVACOMPRAS.TXT", "IVAVENTAS.TXT"}) {
    for (const PrinterSetup& setup : {wideEpson(), PrinterSetup{}}) {
      LineReader report((kDemo / name).string());
      ASSERT_FALSE(report.atEnd()) << name;
      const ReportCheck found = checkReport(report, rulesFor(name), setup);
      EXPECT_FALSE(found.troubled()) << name << ": " << found.message();
      EXPECT_TRUE(found.problems().empty());
      EXPECT_EQ(found.widest, 192) << name;  // the page stamp
      EXPECT_NE(found.status().find("Sin problemas"), std::string::npos);
    }
  }
}

TEST_F(ReportCheckTest, LinesWiderThanTheCarriageAtThePitchAreTold) {
  std::vector<std::string> lines = ledgerLines("EMPRESA");
  lines.push_back(std::string(240, '='));
  struct Case {
    PrinterSetup setup;
    bool wide;
  };
  // 240 columns; the stamp alone is 192: 80 columns at 17.1 give 137.
  const std::vector<Case> cases = {{wideEpson(), true},       {narrowAt(Pitch::Cpi17), true},
                                   {narrowAt(Pitch::Cpi10), true}, {PrinterSetup{}, false}};
  for (const auto& c : cases) {
    const ReportCheck found = check("MAYOR.TXT", lines, c.setup, rulesFor("MAYOR.TXT"));
    EXPECT_EQ(found.widest, 240);
    EXPECT_EQ(found.tooWide(), c.wide) << found.carriage;
  }
  PrinterSetup twenty = wideEpson();
  twenty.pitch = Pitch::Cpi20;
  const ReportCheck fits = check("MAYOR.TXT", lines, twenty, rulesFor("MAYOR.TXT"));
  EXPECT_FALSE(fits.troubled()) << fits.message();
  const ReportCheck narrow = check("MAYOR.TXT", lines, narrowAt(Pitch::Cpi17), rulesFor("MAYOR.TXT"));
  ASSERT_EQ(narrow.problems().size(), 1u);
  EXPECT_NE(narrow.problems()[0].find("240 columnas y el carro admite 137"), std::string::npos);
}

TEST_F(ReportCheckTest, PrinterCodesTakeNoColumn) {
  const std::string coded = "\x1B@\x0F" + std::string(130, 'x') + "\x1B" "C\x42\x12";
  const ReportCheck found = check("LISTADO.TXT", {"T", coded}, narrowAt(Pitch::Cpi17), rulesFor("LISTADO.TXT", "66", "0"));
  EXPECT_EQ(found.widest, 130);
  EXPECT_FALSE(found.tooWide());
}

TEST_F(ReportCheckTest, AResetOrAnotherPageLengthInTheRepeatedHeaderIsTold) {
  struct Case {
    const char* name;
    std::string codes;
    bool reset;
    int length;  // -1: the page the layout makes, so no problem
  };
  const std::vector<Case> cases = {
      {"ESC @ SI", "\x1B@\x0F", true, 0},
      {"ESC C 44", "\x1B" "C\x2C", false, 44},
      {"ESC C NUL 12", std::string("\x1B" "C\x00\x0C", 4), false, 72},
      {"ESC C page", "", false, -1},
      {"none", "", false, 0},
  };
  // 66 lines a page and none between: a plain book's pages have 65 lines, the ledger's 66.
  for (const auto& c : cases) {
    for (const char* report : {"MAYOR.TXT", "IVACOMPRAS.TXT"}) {
      const PageRules rules = rulesFor(report);
      const int page = *physicalPageLines(rules);
      EXPECT_EQ(page, rules.kind == ReportKind::Ledger ? 66 : 65);
      const std::string codes = c.length == -1 ? "\x1B" "C" + std::string(1, static_cast<char>(page)) : c.codes;
      const ReportCheck found = check(report, ledgerLines(codes + "COMPANIA"), wideEpson(), rules);
      EXPECT_EQ(found.headerReset, c.reset) << c.name;
      EXPECT_EQ(found.headerPageLength, c.length == -1 ? 0 : c.length) << c.name << " " << report;
      EXPECT_EQ(found.troubled(), c.reset || c.length > 0) << c.name;
    }
  }
  // The same codes further down, outside the header lines, are not the header's.
  auto lines = ledgerLines("COMPANIA");
  lines[10] = "\x1B@" + lines[10];
  EXPECT_FALSE(check("MAYOR.TXT", lines, wideEpson(), rulesFor("MAYOR.TXT")).troubled());
}

TEST_F(ReportCheckTest, HeaderCodesSentOnceAreNoLongerAHazard) {
  PrinterSetup once = wideEpson();
  once.headerCodesOnce = true;
  EXPECT_FALSE(check("MAYOR.TXT", ledgerLines("\x1B@\x0F" "COMPANIA"), once, rulesFor("MAYOR.TXT")).troubled());
  EXPECT_FALSE(check("MAYOR.TXT", ledgerLines("\x1B" "C\x2C" "COMPANIA"), once, rulesFor("MAYOR.TXT")).troubled());
  // Without a set-up of its own the printer keeps the header's 44 lines.
  PrinterSetup bare;
  bare.headerCodesOnce = true;
  EXPECT_EQ(check("MAYOR.TXT", ledgerLines("\x1B" "C\x2C" "X"), bare, rulesFor("MAYOR.TXT")).headerPageLength, 44);
}

TEST_F(ReportCheckTest, BytesThePrinterMayTakeForControlCodesAreCounted) {
  auto lines = ledgerLines("COMPANIA");
  lines[20] += " O\x92" "Brien \x93Hnos\x94 \x96 cta. \x80 10";
  struct Case {
    CharTable table;
    bool fold;
    std::uint64_t counted;
    bool troubled;
  };
  const std::vector<Case> cases = {{CharTable::AsFile, false, 5, true},
                                   {CharTable::Pc850, false, 5, true},
                                   {CharTable::Pc858, false, 4, true},  // the euro is 858's
                                   {CharTable::Pc850, true, 5, false}};
  for (const auto& c : cases) {
    PrinterSetup s = wideEpson();
    s.table = c.table;
    s.foldTypography = c.fold;
    const ReportCheck found = check("IVAVENTAS.TXT", lines, s, rulesFor("IVAVENTAS.TXT"));
    EXPECT_EQ(found.controlBytes, c.counted);
    EXPECT_EQ(found.troubled(), c.troubled);
  }
}

TEST_F(ReportCheckTest, TheMessageNamesEveryProblemAndAsksToGoOn) {
  auto lines = ledgerLines("\x1B@\x1B" "C\x2C" "COMPANIA");
  lines.push_back(std::string(300, '-') + "\x92");
  const ReportCheck found = check("MAYOR.TXT", lines, wideEpson(), rulesFor("MAYOR.TXT"));
  EXPECT_EQ(found.problems().size(), 4u);
  EXPECT_NE(found.message().find("Desea imprimir de todos modos"), std::string::npos);
  EXPECT_NE(found.status().find("Revise"), std::string::npos);
}

// The report laid out with the header codes once and every page read back.
std::vector<std::string> laidOut(const std::vector<std::string>& lines, PageRules rules, bool once,
                                 std::vector<std::string>* header = nullptr) {
  rules.headerCodesOnce = once;
  const std::string report = joinCrLf(lines);
  LineReader in;
  in.openMemory(report, 64);
  const auto captured = captureHeader(in, rules);
  if (header) *header = captured;
  EXPECT_TRUE(in.rewind());
  std::string work;
  LineWriter out;
  out.createInMemory(work);
  layOut(in, out, rules, captured);
  EXPECT_TRUE(out.close());
  return splitCrLf(work);
}

TEST_F(ReportCheckTest, HeaderCodesOnceLeavesThemOutOfEveryPageAndKeepsTheRest) {
  const auto lines = ledgerLines("\x1B@\x0F" "COMPANIA \x1B" "C\x2C");
  for (const char* report : {"MAYOR.TXT", "LISTADO.TXT", "IVACOMPRAS.TXT"}) {
    const PageRules rules = rulesFor(report, "20", "4");
    std::vector<std::string> header;
    const auto before = laidOut(lines, rules, false);
    const auto after = laidOut(lines, rules, true, &header);
    ASSERT_EQ(after.size(), before.size()) << report;
    int stamped = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
      // The ledger's foot line of blanks is as wide as the widest line, now without its codes.
      if (before[i].find_first_not_of(' ') == std::string::npos)
        EXPECT_EQ(after[i].find_first_not_of(' '), std::string::npos);
      else
        EXPECT_EQ(after[i], withoutPrinterCodes(before[i])) << report << " line " << i;
      if (before[i].find(" Pagina: ") != std::string::npos) {
        ++stamped;
        // On paper the label ends where page 1 has it.
        EXPECT_EQ(printedWidth(after[i]), printedWidth(before[i]));
      }
    }
    EXPECT_GE(stamped, 1);
    EXPECT_EQ(headerPrinterCodes(header), "\x1B@\x0F\x1B" "C\x2C");
  }
}

}  // namespace
