// The printer set-up from the profile: its keys, the bytes sent before and
// after the work file, and the form length checked against the layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/job_error.hpp"
#include "printing/pagination.hpp"
#include "printing/print_fixture.hpp"
#include "printing/printer_setup.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const NumberFormat kDot{'.', ','};

PageRules rules(const char* report, const char* perPage, const char* header, const char* between) {
  return makePageRules(report, perPage, header, between, CheckState::Checked, CheckState::Checked, kDot);
}

PrinterSetup setup(CommandSet commands, Pitch pitch, CharTable table = CharTable::AsFile) {
  PrinterSetup s;
  s.commands = commands;
  s.pitch = pitch;
  s.table = table;
  return s;
}

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int v : values) out += static_cast<char>(v);
  return out;
}

// 66 lines a page, 4 header lines, none between: pages of 65 lines.
const PageRules kPlain66 = rules("LISTADO.TXT", "66", "4", "0");

struct BytesCase {
  const char* name;
  PrinterSetup setup;
  std::string expected;
};

TEST(PrinterSetupBytes, EachCommandSetPitchAndTable) {
  const std::string escpHead = bytes({27, '@', 27, '2', 27, 'C', 65, 27, 'O'});
  const std::string ibmHead = bytes({27, 'A', 12, 27, '2', 27, 'C', 65, 27, 'O'});
  const std::string enableHigh = bytes({27, '6'});
  const std::vector<BytesCase> cases = {
      {"ESC/P 10", setup(CommandSet::EscP, Pitch::Cpi10), escpHead + bytes({27, 'P', 18}) + enableHigh},
      {"ESC/P 12", setup(CommandSet::EscP, Pitch::Cpi12), escpHead + bytes({27, 'M', 18}) + enableHigh},
      {"ESC/P 17.1", setup(CommandSet::EscP, Pitch::Cpi17), escpHead + bytes({27, 'P', 15}) + enableHigh},
      {"ESC/P 20", setup(CommandSet::EscP, Pitch::Cpi20), escpHead + bytes({27, 'M', 15}) + enableHigh},
      {"ESC/P PC437", setup(CommandSet::EscP, Pitch::Cpi10, CharTable::Pc437),
       escpHead + bytes({27, 'P', 18, 27, '(', 't', 3, 0, 1, 1, 0, 27, 't', 1}) + enableHigh},
      {"ESC/P PC850", setup(CommandSet::EscP, Pitch::Cpi17, CharTable::Pc850),
       escpHead + bytes({27, 'P', 15, 27, '(', 't', 3, 0, 1, 3, 0, 27, 't', 1}) + enableHigh},
      {"ESC/P PC858", setup(CommandSet::EscP, Pitch::Cpi12, CharTable::Pc858),
       escpHead + bytes({27, 'M', 18, 27, '(', 't', 3, 0, 1, 44, 0, 27, 't', 1}) + enableHigh},
      {"IBM 10", setup(CommandSet::Proprinter, Pitch::Cpi10), ibmHead + bytes({18}) + enableHigh},
      {"IBM 12", setup(CommandSet::Proprinter, Pitch::Cpi12), ibmHead + bytes({18, 27, ':'}) + enableHigh},
      {"IBM 17.1", setup(CommandSet::Proprinter, Pitch::Cpi17), ibmHead + bytes({18, 15}) + enableHigh},
      {"IBM PC437", setup(CommandSet::Proprinter, Pitch::Cpi10, CharTable::Pc437),
       ibmHead + bytes({18, 27, '[', 'T', 4, 0, 0, 0, 1, 181}) + enableHigh},
      {"IBM PC850", setup(CommandSet::Proprinter, Pitch::Cpi17, CharTable::Pc850),
       ibmHead + bytes({18, 15, 27, '[', 'T', 4, 0, 0, 0, 3, 82}) + enableHigh},
      {"IBM PC858", setup(CommandSet::Proprinter, Pitch::Cpi10, CharTable::Pc858),
       ibmHead + bytes({18, 27, '[', 'T', 4, 0, 0, 0, 3, 90}) + enableHigh},
      {"none", setup(CommandSet::None, Pitch::Cpi17, CharTable::Pc850), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(setupBytes(c.setup, kPlain66), c.expected) << c.name;
}

TEST(PrinterSetupBytes, IbmHasNoTwentyCharactersAnInch) {
  try {
    setupBytes(setup(CommandSet::Proprinter, Pitch::Cpi20), kPlain66);
    FAIL() << "20 cpi accepted";
  } catch (const JobError& e) {
    EXPECT_NE(std::string(e.what()).find("20 caracteres por pulgada"), std::string::npos) << e.what();
  }
}

struct LengthCase {
  const char* perPage;
  const char* between;
  std::string form;  // the ESC C part, empty when refused
};

TEST(PrinterSetupBytes, EachFormLengthIncludingTheLimits) {
  // A plain report of N lines a page and E between pages makes pages of N - 1 + E lines.
  const std::vector<LengthCase> cases = {
      {"2", "0", bytes({27, 'C', 1})},          {"67", "0", bytes({27, 'C', 66})},
      {"72", "1", bytes({27, 'C', 72})},        {"128", "0", bytes({27, 'C', 127})},
      {"129", "0", ""},                         {"127", "6", bytes({27, 'C', 0, 22})},
      {"133", "0", bytes({27, 'C', 0, 22})},    {"121", "12", bytes({27, 'C', 0, 22})},
      {"139", "0", ""},                         {"130", "1", ""},
      {"145", "0", ""},
  };
  for (const CommandSet commands : {CommandSet::EscP, CommandSet::Proprinter}) {
    for (const auto& c : cases) {
      const PageRules r = rules("LISTADO.TXT", c.perPage, "0", c.between);
      const PrinterSetup s = setup(commands, Pitch::Cpi10);
      if (c.form.empty()) {
        try {
          setupBytes(s, r);
          ADD_FAILURE() << c.perPage << "+" << c.between << " accepted";
        } catch (const JobError& e) {
          EXPECT_NE(std::string(e.what()).find("no admite paginas de"), std::string::npos) << e.what();
        }
      } else {
        const std::string got = setupBytes(s, r);
        EXPECT_NE(got.find(c.form + bytes({27, 'O'})), std::string::npos) << c.perPage << "+" << c.between;
      }
    }
  }
}

TEST(PrinterSetupBytes, PagesWithoutAFixedLengthAreRefused) {
  const std::vector<PageRules> refused = {
      rules("MAYOR.TXT", "66.5", "4", "0"),    // the ledger's fractional page
      rules("LISTADO.TXT", "5", "4", "0"),     // header as tall as the page
      rules("LISTADO.TXT", "1", "0", "0"),     // no room on the page
      rules("LISTADO.TXT", "abc", "0", "0"),
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(physicalPageLines(r).has_value());
    EXPECT_THROW(setupBytes(setup(CommandSet::EscP, Pitch::Cpi10), r), JobError);
  }
}

TEST(PrinterSetupBytes, EndOfJobIsNothingOrAFormFeed) {
  PrinterSetup s;
  EXPECT_EQ(endOfJobBytes(s), "");
  s.end = JobEnd::FormFeed;
  EXPECT_EQ(endOfJobBytes(s), "\f");
}

TEST(PrinterSetupBytes, StartOfJobCarriesTheHeaderCodesOnceWhenAsked) {
  const std::vector<std::string> header = {"\x1B@\x0F" "EMPRESA", "LIBRO \x1B" "C\x2C", "FECHA"};
  PrinterSetup s = setup(CommandSet::EscP, Pitch::Cpi17);
  EXPECT_EQ(startOfJobBytes(s, kPlain66, header), setupBytes(s, kPlain66));
  s.headerCodesOnce = true;
  EXPECT_EQ(startOfJobBytes(s, kPlain66, header), bytes({27, '@', 15, 27, 'C', 44}) + setupBytes(s, kPlain66));
  EXPECT_TRUE(withPrinterSetup(kPlain66, s).headerCodesOnce);
}

// Where header line 2 stands in the work file: one line per page.
std::vector<std::size_t> pageStarts(const PageRules& r, int reportLines) {
  auto lines = std::vector<std::string>{"EMPRESA", "ENCABEZADO DOS", "COLUMNAS", "----"};
  lines.resize(r.headerCount);
  for (int i = 1; i <= reportLines; ++i)
    lines.push_back(i % 9 == 0 && r.kind == ReportKind::Ledger ? "SALDO FINAL: " + std::to_string(i)
                                                                : "asiento " + std::to_string(i));
  const std::string report = joinCrLf(lines);
  LineReader in;
  in.openMemory(report);
  const auto header = captureHeader(in, r);
  EXPECT_TRUE(in.rewind());
  std::string work;
  LineWriter out;
  out.createInMemory(work);
  layOut(in, out, r, header);
  EXPECT_TRUE(out.close());
  std::vector<std::size_t> starts;
  const auto written = splitCrLf(work);
  for (std::size_t i = 0; i < written.size(); ++i)
    if (written[i] == "ENCABEZADO DOS") starts.push_back(i);
  return starts;
}

TEST(PhysicalPage, IsTheDistanceTheEngineLeavesBetweenPages) {
  const std::vector<PageRules> cases = {
      rules("LISTADO.TXT", "66", "4", "0"),   rules("LISTADO.TXT", "72", "4", "1"),
      rules("IVAVENTAS.TXT", "66", "2", "3"), rules("LISTADO.TXT", "66.5", "4", "2"),
      rules("MAYOR.TXT", "66", "4", "0"),     rules("MAYOR.TXT", "40", "3", "2"),
  };
  for (const auto& r : cases) {
    const auto lines = physicalPageLines(r);
    ASSERT_TRUE(lines.has_value());
    const auto starts = pageStarts(r, 500);
    ASSERT_GE(starts.size(), 4u);
    for (std::size_t p = 1; p < starts.size(); ++p)
      EXPECT_EQ(starts[p] - starts[p - 1], static_cast<std::size_t>(*lines)) << r.linesPerPage << " page " << p;
  }
}

struct TextsCase {
  PrinterSetupTexts texts;
  PrinterSetup expected;
};

TEST(PrinterSetupKeys, StoredTextsReadAsTheirValues) {
  PrinterSetup wideEpson = setup(CommandSet::EscP, Pitch::Cpi17, CharTable::Pc850);
  wideEpson.carriageColumns = 136;
  wideEpson.end = JobEnd::FormFeed;
  PrinterSetup oki = setup(CommandSet::Proprinter, Pitch::Cpi12, CharTable::Pc437);
  oki.carriageColumns = 80;
  oki.headerCodesOnce = true;
  oki.foldTypography = true;
  const std::vector<TextsCase> cases = {
      {{}, PrinterSetup{}},
      {{"NINGUNO", "10", "0", "COMO EL ARCHIVO", "NADA", "EN CADA PAGINA", "NO"}, PrinterSetup{}},
      {{"desconocido", "33", "-4", "latin", "?", "?", "?"}, PrinterSetup{}},
      {{"EPSON ESC/P", "17.1", "136", "PC850", "SALTO DE PAGINA", "", ""}, wideEpson},
      {{" epson ", "17,1", "136", "pc850", "salto de pagina", "", ""}, wideEpson},
      {{"IBM PROPRINTER", "12", "80", "PC437", "NADA", "UNA VEZ AL COMIENZO", "SI"}, oki},
  };
  for (const auto& c : cases) EXPECT_EQ(readPrinterSetup(c.texts), c.expected) << c.texts.commands;
}

TEST(PrinterSetupKeys, TodaysBehaviourIsStoredAsNoKeysAndOthersReadBack) {
  EXPECT_EQ(printerSetupTexts(PrinterSetup{}), PrinterSetupTexts{});
  for (const CommandSet commands : {CommandSet::None, CommandSet::EscP, CommandSet::Proprinter})
    for (const Pitch pitch : {Pitch::Cpi10, Pitch::Cpi12, Pitch::Cpi17, Pitch::Cpi20})
      for (const CharTable table : {CharTable::AsFile, CharTable::Pc437, CharTable::Pc850, CharTable::Pc858}) {
        PrinterSetup s = setup(commands, pitch, table);
        s.carriageColumns = 136;
        s.end = JobEnd::FormFeed;
        EXPECT_EQ(readPrinterSetup(printerSetupTexts(s)), s);
      }
}

TEST(PrinterSetupKeys, CarriageColumnsAtEachPitch) {
  struct Case {
    int columns;
    Pitch pitch;
    int expected;
  };
  const std::vector<Case> cases = {{80, Pitch::Cpi10, 80},   {80, Pitch::Cpi12, 96},  {80, Pitch::Cpi17, 137},
                                   {80, Pitch::Cpi20, 160},  {136, Pitch::Cpi10, 136}, {136, Pitch::Cpi12, 163},
                                   {136, Pitch::Cpi17, 233}, {136, Pitch::Cpi20, 272}, {0, Pitch::Cpi17, 0}};
  for (const auto& c : cases) {
    PrinterSetup s;
    s.carriageColumns = c.columns;
    s.pitch = c.pitch;
    EXPECT_EQ(columnsAtPitch(s), c.expected) << c.columns;
  }
}

}  // namespace

namespace {

class PrinterSetupJobTest : public PrintJobTest {};

TEST_F(PrinterSetupJobTest, TheJobTakesTheSetUpAndLeavesTheWorkFileAsTodayUnlessCodesGoOnce) {
  std::vector<std::string> lines = {"\x1B@\x0F" "EMPRESA", "LIBRO", "FECHA", "----", "===="};
  append(lines, numberedLines(200));
  giveReport("IVAVENTAS.TXT", lines);
  view.perPage = "40";
  runJobHere(job, view);
  const std::string today = dir.read("WRITE.TXT");
  ASSERT_NE(today.find("\x1B@\x0F"), std::string::npos);

  view.printer = {"EPSON ESC/P", "17.1", "136", "PC850", "SALTO DE PAGINA", "", ""};
  const auto settings = jobSettingsOf(readJobFields(view), NumberFormat{'.', ','});
  EXPECT_EQ(settings.printer.commands, CommandSet::EscP);
  EXPECT_EQ(settings.printer.end, JobEnd::FormFeed);
  EXPECT_FALSE(settings.rules.headerCodesOnce);
  runJobHere(job, view);
  EXPECT_EQ(dir.read("WRITE.TXT"), today);

  view.printer.headerCodes = "UNA VEZ AL COMIENZO";
  EXPECT_TRUE(jobSettingsOf(readJobFields(view), NumberFormat{'.', ','}).rules.headerCodesOnce);
  runJobHere(job, view);
  const std::string once = dir.read("WRITE.TXT");
  EXPECT_EQ(once.find('\x1B'), std::string::npos);
  std::size_t pages = 0;
  for (auto at = today.find("\x1B@\x0F"); at != std::string::npos; at = today.find("\x1B@\x0F", at + 1)) ++pages;
  EXPECT_EQ(pages, 6u);  // 205 lines: 39 on page 1, 34 under the header on the others
  EXPECT_EQ(once.size(), today.size() - 3 * pages);
  EXPECT_EQ(lastMessage(), kJobDone);
}

}  // namespace

namespace {

class CheckBeforePrintingTest : public PrintJobTest {
 protected:
  void giveWideReport() {
    std::vector<std::string> lines = {"EMPRESA", "LIBRO", "FECHA", "----", "===="};
    append(lines, numberedLines(100));
    lines.push_back(std::string(250, '-'));
    giveReport("IVAVENTAS.TXT", lines);
    view.printer = {"EPSON ESC/P", "17.1", "80", "PC850", "", "", ""};
  }
};

TEST_F(CheckBeforePrintingTest, AProblemIsAskedAboutOnceBeforeAnythingIsSent) {
  giveWideReport();
  dialogs.answerYes = false;
  runJobHere(job, view);
  ASSERT_EQ(dialogs.confirmed.size(), 1u);
  EXPECT_NE(dialogs.confirmed[0].find("250 columnas y el carro admite 137"), std::string::npos) << dialogs.confirmed[0];
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_TRUE(dialogs.informed.empty());
  EXPECT_NE(view.caption.find("Renglon mas ancho: 250 columnas de 137"), std::string::npos) << view.caption;

  dialogs.answerYes = true;
  runJobHere(job, view);
  EXPECT_EQ(dialogs.confirmed.size(), 2u);
  EXPECT_TRUE(dir.exists("WRITE.TXT"));
  EXPECT_EQ(lastMessage(), kJobDone);
}

TEST_F(CheckBeforePrintingTest, NoSetUpOrAPreviewOrNothingWrongAsksNothing) {
  giveWideReport();
  view.printer = {};
  runJobHere(job, view);
  view.printer = {"EPSON ESC/P", "17.1", "80", "PC850", "", "", ""};
  view.preview = CheckState::Checked;
  runJobHere(job, view);
  view.preview = CheckState::Unchecked;
  view.printer.carriage = "136";  // 272 columns at 20 characters an inch
  view.printer.pitch = "20";
  runJobHere(job, view);
  EXPECT_TRUE(dialogs.confirmed.empty());
  EXPECT_EQ(dialogs.informed, (std::vector<std::string>(3, kJobDone)));
}

}  // namespace

namespace {

TEST_F(CheckBeforePrintingTest, APageThePrinterCannotBeGivenIsRefusedBeforeAnythingIsWritten) {
  giveWideReport();
  view.perPage = "200";
  runJobHere(job, view);
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_NE(dialogs.informed[0].find("no admite paginas de 199 renglones"), std::string::npos) << dialogs.informed[0];
  EXPECT_TRUE(dialogs.confirmed.empty());
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
}

}  // namespace
