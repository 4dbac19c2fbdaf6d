#include <filesystem>

#include "printing/page_header.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

class LedgerPassTest : public PrintJobTest {
 protected:
  void SetUp() override {
    view.preview = CheckState::Checked;
    view.perPage = "10";
    view.header = "3";
    view.between = "2";
  }
  // A ledger of `count` lines whose line numbers in `closing` hold the marker.
  std::vector<std::string> ledger(int count, const std::vector<int>& closing, const std::string& marker = "SALDO FINAL:") {
    auto lines = numberedLines(count, "mayor ");
    for (int at : closing) lines[at - 1] += "   " + marker + " 1.234,56";
    giveReport("MAYOR.TXT", lines);
    return lines;
  }
  const std::string foot = std::string(192, ' ');
};

// A crashed accounting program can leave a line of a megabyte of NULs: the
// foot of every page stays at the 32767 blanks a 16-bit count holds, and the
// line itself goes through as it is.
TEST_F(LedgerPassTest, AHugeLineWidensTheFootTo32767BlanksAtMost) {
  auto lines = ledger(60, {10, 20, 30, 40, 50});
  const std::string corrupt(1 << 20, '\0');
  lines[24] = corrupt;
  giveReport("MAYOR.TXT", lines);
  runJobHere(job, view);
  ASSERT_EQ(lastMessage(), "Impresion Finalizada");
  int feet = 0, corrupted = 0;
  for (const auto& line : workLines()) {
    if (line.size() > 1 && line.find_first_not_of(' ') == std::string::npos) {
      EXPECT_EQ(line.size(), 32767u);
      ++feet;
    }
    if (line == corrupt) ++corrupted;
  }
  EXPECT_GE(feet, 6);
  EXPECT_EQ(corrupted, 1);
  EXPECT_LT(dir.read("WRITE.TXT").size(), (1u << 20) + 20 * 32769u);
}

TEST_F(LedgerPassTest, MarkerMatchesInAnyCaseButNeedsItsColon) {
  const struct {
    const char* marker;
    bool ends;
  } cases[] = {{"saldo final:", true}, {"Saldo Final:", true}, {"SALDO FINAL", false}, {"SALDOFINAL:", false}};
  for (const auto& c : cases) {
    const auto lines = ledger(6, {4}, c.marker);
    runJobHere(job, view);
    const auto out = workLines();
    ASSERT_GE(out.size(), 5u);
    EXPECT_EQ(out[4] == " ", c.ends) << c.marker;  // a blank line follows a page-ending balance
  }
}

TEST_F(LedgerPassTest, BalanceOnTheLastBodyLineGetsTheFootAtOnce) {
  const auto lines = ledger(10, {9});
  runJobHere(job, view);
  const auto out = workLines();
  ASSERT_GE(out.size(), 12u);
  EXPECT_EQ(out[8], lines[8]);
  EXPECT_EQ(out[9], foot);
  EXPECT_EQ(out[10], " ");  // the lines between pages
}

TEST_F(LedgerPassTest, BalanceArrivingOnAFullPageStartsTheNextOneWithoutEndingIt) {
  const auto lines = ledger(12, {10});
  runJobHere(job, view);
  std::vector<std::string> expected{pageStamp(lines[0], 1)};
  append(expected, slice(lines, 2, 9));
  append(expected, {foot, " ", " "});
  append(expected, slice(lines, 1, 3));
  append(expected, slice(lines, 10, 12));
  append(expected, blanks(3));
  append(expected, {foot});
  EXPECT_EQ(workLines(), expected);
}

TEST_F(LedgerPassTest, LedgerEndingInABalanceGetsAnEmptyLastPage) {
  const auto lines = ledger(5, {5});
  runJobHere(job, view);
  std::vector<std::string> expected{pageStamp(lines[0], 1)};
  append(expected, slice(lines, 2, 5));
  append(expected, blanks(4));
  append(expected, {foot, " ", " "});
  append(expected, slice(lines, 1, 3));
  append(expected, blanks(6));
  append(expected, {foot});
  EXPECT_EQ(workLines(), expected);
}

TEST_F(LedgerPassTest, EmptyLedgerIsOnePageWithAnEmptyFoot) {
  giveReport("MAYOR.TXT", {});
  runJobHere(job, view);
  auto expected = blanks(9);
  expected.push_back("");
  EXPECT_EQ(workLines(), expected);
}

TEST_F(LedgerPassTest, FailureLeavesTheEarlierWorkFileAndNoSecondFileAndSaysSo) {
  ledger(20, {8});
  dir.write("WRITE.TXT", "de un trabajo anterior\r\n");
  std::filesystem::create_directory(dir.file("WRITE2.TXT"));  // cannot be created as a file
  runJobHere(job, view);
  EXPECT_NE(lastMessage().find("WRITE2.TXT"), std::string::npos);
  EXPECT_NE(lastMessage(), "Impresion Finalizada");
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(dir.read("WRITE.TXT"), "de un trabajo anterior\r\n");  // never half a layout
}

}  // namespace
