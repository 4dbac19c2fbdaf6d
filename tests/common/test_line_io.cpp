#include <gtest/gtest.h>

#include "common/line_io.hpp"
#include "common/text.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

std::vector<std::string> readAll(const TempFolder& dir, const std::string& bytes) {
  dir.write("in.txt", bytes);
  LineReader in(dir.file("in.txt"));
  std::vector<std::string> lines;
  std::string line;
  while (in.next(line)) lines.push_back(line);
  EXPECT_FALSE(in.failed());
  return lines;
}

TEST(LineReader, EveryLineEndAndTheEndOfText) {
  TempFolder dir;
  using L = std::vector<std::string>;
  const std::pair<std::string, L> cases[] = {
      {"", L{}},
      {"a\r\nb\r\n", L{"a", "b"}},
      {"a\nb", L{"a", "b"}},
      {"a\rb\r", L{"a", "b"}},
      {"a\r\n\r\nb", L{"a", "", "b"}},
      {"\n", L{""}},
      {"a\r\n\x1a", L{"a"}},
      {"a\x1a" "b\r\n", L{"a"}},
      {"\x1a" "a", L{}},
      {"\xC1\xD1\t\x1b" "E\r\n", L{"\xC1\xD1\t\x1b" "E"}},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(readAll(dir, bytes), expected);
}

TEST(LineReader, CrLfSplitAcrossReadBlocksIsOneLineEnd) {
  TempFolder dir;
  for (std::size_t length : {65535u, 65534u, 65536u, 200000u}) {
    const std::string longLine(length, 'x');
    EXPECT_EQ(readAll(dir, longLine + "\r\nsiguiente\r\n"), (std::vector<std::string>{longLine, "siguiente"}))
        << length;
  }
}

TEST(LineReader, MissingFileDoesNotOpen) {
  TempFolder dir;
  LineReader in;
  EXPECT_FALSE(in.open(dir.file("no.txt")));
  EXPECT_TRUE(in.atEnd());
}

TEST(LineWriter, EndsEveryLineWithCrLfAndReportsFailure) {
  TempFolder dir;
  LineWriter out;
  ASSERT_TRUE(out.create(dir.file("out.txt")));
  out.write("uno");
  out.writeRepeated(kBlankLine, 2);
  out.write("");
  ASSERT_TRUE(out.close());
  EXPECT_EQ(dir.read("out.txt"), "uno\r\n \r\n \r\n\r\n");
  EXPECT_FALSE(out.create(dir.file("no/such/folder.txt")));
  EXPECT_FALSE(out.ok());

  LineWriter full;
  ASSERT_TRUE(full.create("/dev/full"));
  full.writeRepeated(std::string(1000, 'x'), 5000);
  EXPECT_FALSE(full.close());
}

TEST(TextRules, CaseFoldingTouchesAsciiOnly) {
  EXPECT_EQ(toUpperAscii("mayor.txt \xF1\xE1"), "MAYOR.TXT \xF1\xE1");
  EXPECT_TRUE(containsUpperAscii("x saldo Final: 1", "SALDO FINAL:"));
  EXPECT_FALSE(containsUpperAscii("SALDO FINAL 1", "SALDO FINAL:"));
  EXPECT_FALSE(containsUpperAscii(": SALDO", "SALDO FINAL:"));
  EXPECT_TRUE(containsUpperAscii("abc", "B"));
}

TEST(TextRules, ReportKinds) {
  const std::tuple<const char*, bool, bool> cases[] = {
      {"MAYOR.TXT", true, false},        {"  mayor.txt ", true, false},    {"MAYOR.TXTX", true, false},
      {"IVAVENTAS.TXT", false, true},    {" ivacompras.txt", false, true}, {"IVAVENTAS.TXT2", false, false},
      {"LISTADO.TXT", false, false},     {"", false, false},
  };
  for (const auto& [name, ledger, vat] : cases) {
    EXPECT_EQ(isLedgerName(name), ledger) << name;
    EXPECT_EQ(isVatBookName(name), vat) << name;
  }
}

}  // namespace
