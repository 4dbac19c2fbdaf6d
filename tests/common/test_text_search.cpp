#include <gtest/gtest.h>

#include <string>

#include "common/text.hpp"
#include "common/text_search.hpp"

using namespace pliego;

namespace {

TEST(TextSearch, FindsTheFirstPlaceWithOrWithoutCase) {
  struct Case {
    const char* needle;
    bool ignoreCase;
    std::string text;
    std::size_t at;
  };
  const Case cases[] = {
      {"SALDO FINAL:", true, "x saldo final: y SALDO FINAL:", 2},
      {"SALDO FINAL:", true, "SALDO FINAL SALDO FINAL;:", 25},
      {"FINAL", true, "saldo fiNAl", 6},
      {"FINAL", true, "FINA FINAX FINAL", 11},
      {"FINAL", true, "FIN", 3},
      {"Tasas de I.V.A.:", false, "tasas de i.v.a.: Tasas de I.V.A.:", 17},
      {"Tasas de I.V.A.:", false, "Tasas de I.V.A.", 15},
      {"\xD1O:", true, "a\xF1o: A\xD1O:", 6},  // only ASCII letters fold
  };
  for (const auto& c : cases) EXPECT_EQ(TextSearch(c.needle, c.ignoreCase).find(c.text.data(), c.text.size()), c.at) << c.needle << " in " << c.text;
}

TEST(TextRules, CaseFoldingTouchesAsciiOnly) {
  EXPECT_EQ(toUpperAscii("mayor.txt \xF1\xE1"), "MAYOR.TXT \xF1\xE1");
  EXPECT_TRUE(containsUpperAscii("x saldo Final: 1", "SALDO FINAL:"));
  EXPECT_FALSE(containsUpperAscii("SALDO FINAL 1", "SALDO FINAL:"));
  EXPECT_FALSE(containsUpperAscii(": SALDO", "SALDO FINAL:"));
  EXPECT_TRUE(containsUpperAscii("abc", "B"));
}

}  // namespace
