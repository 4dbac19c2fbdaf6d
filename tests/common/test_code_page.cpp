// Windows-1252 beside the system's encoding: upper case as Windows gives it,
// and text from the system converted for the record and back.
#include <gtest/gtest.h>

#include <string>

#include "common/code_page.hpp"
#include "common/text.hpp"

using namespace pliego;

namespace {

struct UpperCase {
  const char* text;
  const char* upper;
};

TEST(CodePageTest, UpperCaseIsThatOfWindowsForItsCodePage) {
  const UpperCase cases[] = {
      {"ma\xF1" "ana", "MA\xD1" "ANA"},                         // mañana
      {"pe\xF1" "a grande", "PE\xD1" "A GRANDE"},
      {"\xE1lvarez mu\xF1oz", "\xC1LVAREZ MU\xD1OZ"},           // álvarez muñoz
      {"\xE0\xE7\xE9\xEE\xF6\xFC\xFE", "\xC0\xC7\xC9\xCE\xD6\xDC\xDE"},
      {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},                 // š œ ž ÿ
      {"\xDF \xB5 \xF7 \x80 1-2", "\xDF \xB5 \xF7 \x80 1-2"},   // ß µ ÷ € have none
      {"YA EN MAYUSCULA \xD1", "YA EN MAYUSCULA \xD1"},
  };
  for (const UpperCase& c : cases) EXPECT_EQ(toUpperCp1252(c.text), c.upper) << c.text;
  // Matching names stays ASCII-only.
  EXPECT_EQ(toUpperAscii("ma\xF1" "ana"), "MA\xF1" "ANA");
}

#ifndef _WIN32
struct FromSystem {
  const char* system;
  const char* cp1252;
};

TEST(CodePageTest, SystemTextBecomesCodePageBytesWithQuestionMarksForTheRest) {
  const FromSystem cases[] = {
      {"Oficina Contable A\xC3\xB1o 2024", "Oficina Contable A\xF1o 2024"},
      {"no est\xC3\xA1 disponible (cola inv\xC3\xA1lida)", "no est\xE1 disponible (cola inv\xE1lida)"},
      {"\xE2\x82\xAC 10 \xE2\x80\x93 \xE2\x80\x9C" "cola\xE2\x80\x9D", "\x80 10 \x96 \x93" "cola\x94"},
      {"\xD0\x96 \xE4\xB8\xAD \xF0\x9F\x96\xA8", "? ? ?"},          // Cyrillic, Chinese, an emoji
      {"latin-1 A\xF1o", "latin-1 A?o"},                                // not UTF-8
      {"\xC0\xAF \xED\xA0\x80 \xE2\x82", "?? ??? ??"},                  // overlong, a surrogate, cut short
      {"", ""},
  };
  for (const FromSystem& c : cases) EXPECT_EQ(systemToCp1252(c.system), c.cp1252) << c.system;
}

TEST(CodePageTest, EveryCodePageByteGoesToTheSystemAndBack) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string system = cp1252ToSystem(all);
  EXPECT_EQ(cp1252ToSystem("\xBF Seguro"), "\xC2\xBF Seguro");
  EXPECT_EQ(cp1252ToSystem("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(systemToCp1252(system), all);
}
#endif

}  // namespace
