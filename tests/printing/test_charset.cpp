// The conversion of Windows-1252 report bytes to the printer's character
// table, and the plain look-alikes of the bytes 0x80-0x9F.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/charset.hpp"

using namespace pliego;

namespace {

struct Letter {
  const char* name;
  unsigned char windows;
  int pc437, pc850, pc858;  // -1: the table does not have it
};

// From the published tables of code pages 1252, 437, 850 and 858.
const std::vector<Letter> kLetters = {
    {"a acute", 0xE1, 0xA0, 0xA0, 0xA0},    {"e acute", 0xE9, 0x82, 0x82, 0x82},
    {"i acute", 0xED, 0xA1, 0xA1, 0xA1},    {"o acute", 0xF3, 0xA2, 0xA2, 0xA2},
    {"u acute", 0xFA, 0xA3, 0xA3, 0xA3},    {"u diaeresis", 0xFC, 0x81, 0x81, 0x81},
    {"n tilde", 0xF1, 0xA4, 0xA4, 0xA4},    {"N tilde", 0xD1, 0xA5, 0xA5, 0xA5},
    {"inverted ?", 0xBF, 0xA8, 0xA8, 0xA8}, {"inverted !", 0xA1, 0xAD, 0xAD, 0xAD},
    {"masculine o", 0xBA, 0xA7, 0xA7, 0xA7}, {"feminine a", 0xAA, 0xA6, 0xA6, 0xA6},
    {"A acute", 0xC1, -1, 0xB5, 0xB5},      {"E acute", 0xC9, 0x90, 0x90, 0x90},
    {"I acute", 0xCD, -1, 0xD6, 0xD6},      {"O acute", 0xD3, -1, 0xE0, 0xE0},
    {"U acute", 0xDA, -1, 0xE9, 0xE9},      {"U diaeresis", 0xDC, 0x9A, 0x9A, 0x9A},
    {"degree", 0xB0, 0xF8, 0xF8, 0xF8},     {"pound", 0xA3, 0x9C, 0x9C, 0x9C},
    {"sharp s", 0xDF, 0xE1, 0xE1, 0xE1},    {"a grave", 0xE0, 0x85, 0x85, 0x85},
    {"c cedilla", 0xE7, 0x87, 0x87, 0x87},  {"o slash", 0xF8, -1, 0x9B, 0x9B},
    {"euro", 0x80, -1, -1, 0xD5},           {"f hook", 0x83, 0x9F, 0x9F, 0x9F},
};

std::string one(unsigned char b) { return std::string(1, static_cast<char>(b)); }

TEST(Charset, EachSpanishLetterToEachTable) {
  for (const auto& letter : kLetters) {
    const struct {
      CharTable table;
      int expected;
    } tables[] = {{CharTable::Pc437, letter.pc437}, {CharTable::Pc850, letter.pc850}, {CharTable::Pc858, letter.pc858}};
    for (const auto& t : tables) {
      PrinterCharset charset(t.table, false);
      const unsigned char want = t.expected < 0 ? letter.windows : static_cast<unsigned char>(t.expected);
      EXPECT_EQ(charset.convert(one(letter.windows)), one(want)) << letter.name << " table " << int(t.table);
    }
  }
}

TEST(Charset, EveryCharacterATableHasKeepsItsCharacterAndNothingElseChanges) {
  for (const CharTable table : {CharTable::Pc437, CharTable::Pc850, CharTable::Pc858}) {
    PrinterCharset charset(table, false);
    std::vector<int> seen(256, 0);
    for (int b = 0; b < 256; ++b) {
      const auto from = static_cast<unsigned char>(b);
      const auto to = static_cast<unsigned char>(charset.convert(one(from))[0]);
      if (b < 0x80) {
        EXPECT_EQ(to, from);
        continue;
      }
      bool tableHasIt = false;
      for (int t = 0x80; t < 256; ++t)
        tableHasIt |= windows1252Char(from) != 0 && tableChar(table, static_cast<unsigned char>(t)) == windows1252Char(from);
      if (tableHasIt) {
        EXPECT_EQ(tableChar(table, to), windows1252Char(from)) << std::hex << b;
        ++seen[to];
      } else
        EXPECT_EQ(to, from) << std::hex << b;
    }
    // No two converted letters become the same printer byte.
    for (int b = 0; b < 256; ++b) EXPECT_LE(seen[b], 1) << std::hex << b;
  }
}

TEST(Charset, AsTheFileChangesNoByte) {
  PrinterCharset charset(CharTable::AsFile, false);
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_TRUE(charset.unchanged());
  EXPECT_EQ(charset.convert(all), all);
  EXPECT_EQ(charset.controlBytes(), 32u);
}

TEST(Charset, TheBytes0x80To0x9FAreCountedAndFoldedWhenAsked) {
  // "O’Brien “SA” – 10…" in Windows-1252.
  const std::string name = "O\x92" "Brien \x93SA\x94 \x96 10\x85 \x97 \x91x\x92";
  struct Case {
    CharTable table;
    bool fold;
    std::string expected;
    std::uint64_t counted;
  };
  const std::vector<Case> cases = {
      {CharTable::AsFile, false, name, 8},
      {CharTable::AsFile, true, "O'Brien \"SA\" - 10. - 'x'", 8},
      {CharTable::Pc850, true, "O'Brien \"SA\" - 10. - 'x'", 8},
      {CharTable::Pc437, false, name, 8},
  };
  for (const auto& c : cases) {
    PrinterCharset charset(c.table, c.fold);
    EXPECT_EQ(charset.convert(name), c.expected);
    EXPECT_EQ(charset.controlBytes(), c.counted);
  }
}

TEST(Charset, EachFoldIsOnePlainByte) {
  const std::vector<std::pair<unsigned char, char>> folds = {
      {0x91, '\''}, {0x92, '\''}, {0x93, '"'}, {0x94, '"'}, {0x96, '-'}, {0x97, '-'},
      {0x85, '.'},  {0x82, ','},  {0x84, '"'}, {0x95, '*'}, {0x8B, '<'}, {0x9B, '>'},
      {0x8A, 'S'},  {0x9A, 's'},  {0x8E, 'Z'}, {0x9E, 'z'}, {0x9F, 'Y'}, {0x98, '~'}};
  PrinterCharset charset(CharTable::AsFile, true);
  for (const auto& [from, to] : folds) EXPECT_EQ(charset.convert(one(from)), std::string(1, to)) << std::hex << int(from);
  // The euro is a letter of 858: neither counted nor folded there.
  PrinterCharset euro(CharTable::Pc858, true);
  EXPECT_EQ(euro.convert("\x80"), "\xD5");
  EXPECT_EQ(euro.controlBytes(), 0u);
}

TEST(Charset, ConvertingInPiecesGivesTheSameBytesAndCount) {
  std::string report;
  for (int i = 0; i < 3000; ++i) report += static_cast<char>((i * 37) % 256);
  PrinterCharset whole(CharTable::Pc850, true), pieces(CharTable::Pc850, true);
  const std::string all = whole.convert(report);
  std::string joined;
  for (std::size_t at = 0; at < report.size(); at += 7) joined += pieces.convert(std::string_view(report).substr(at, 7));
  EXPECT_EQ(joined, all);
  EXPECT_EQ(pieces.controlBytes(), whole.controlBytes());
  EXPECT_GT(whole.controlBytes(), 0u);
}

}  // namespace
