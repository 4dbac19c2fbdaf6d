#include <gtest/gtest.h>

#include <cmath>

#include "common/numbers.hpp"

using namespace pliego;

namespace {

struct ValueCase {
  const char* text;
  double expected;
};

TEST(NumericValue, ReadsTheLeadingNumber) {
  const ValueCase cases[] = {
      {"72", 72},      {"  66", 66},    {"3 lineas", 3},   {"", 0},         {"abc", 0},
      {"-2", -2},      {"+4", 4},       {"2.5", 2.5},      {".5", 0.5},     {"1.5.3", 1.5},
      {"1e2", 100},    {"1E+2x", 100},  {"1e", 1},         {"1e-", 1},      {"2,5", 2},
      {"\t 7", 7},     {"-", 0},        {".", 0},          {"0.4", 0.4},    {"12abc34", 12},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(numericValue(c.text), c.expected) << c.text;
}

TEST(NumericValue, HugeExponentReadsAsInfinityNotAsAFailure) {
  EXPECT_TRUE(std::isinf(numericValue("1e999")));
  EXPECT_EQ(numericValue("1e-999"), 0.0);
}

TEST(ParseUserNumber, WholeTextInTheUsersFormat) {
  const NumberFormat dot{'.', ','};
  const NumberFormat comma{',', '.'};
  EXPECT_EQ(parseUserNumber(" 72 ", dot), 72.0);
  EXPECT_EQ(parseUserNumber("2.5", dot), 2.5);
  EXPECT_EQ(parseUserNumber("2,5", comma), 2.5);
  EXPECT_EQ(parseUserNumber("1,000", dot), 1000.0);
  EXPECT_EQ(parseUserNumber("1.000", comma), 1000.0);
  EXPECT_EQ(parseUserNumber("-3", dot), -3.0);
  EXPECT_EQ(parseUserNumber("1e3", dot), 1000.0);
  for (const char* bad : {"", "   ", "3 lineas", "abc", "2,5,", ",5", "1e999", "-", "5-"})
    EXPECT_FALSE(isNumeric(bad, dot)) << bad;
  EXPECT_EQ(parseUserNumber("2.5", comma), 25.0);  // "." groups digits there
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(-3.5), -4);
  EXPECT_EQ(roundHalfEven(0.4), 0);
  EXPECT_EQ(roundHalfEven(1440.5), 1440);
  EXPECT_EQ(roundHalfEven(1441.5), 1442);
  EXPECT_EQ(roundHalfEven(2.6), 3);
}

TEST(IntegerRanges, OutOfRangeGivesNothing) {
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_FALSE(toInt16(32767.6).has_value());
  EXPECT_EQ(toInt16(-32768), -32768);
  EXPECT_FALSE(toInt16(-32769).has_value());
  EXPECT_FALSE(toInt32(2147483648.0).has_value());
  EXPECT_FALSE(toInt32(std::nan("")).has_value());
  EXPECT_EQ(toInt32(2.5), 2);
}

TEST(FormatNumber, WholeNumbersPlainFractionsWithTheLocaleSeparator) {
  const NumberFormat comma{',', '.'};
  EXPECT_EQ(formatNumber(72, comma), "72");
  EXPECT_EQ(formatNumber(0, comma), "0");
  EXPECT_EQ(formatNumber(-0.0, comma), "0");
  EXPECT_EQ(formatNumber(-1, comma), "-1");
  EXPECT_EQ(formatNumber(2.5, comma), "2,5");
  EXPECT_EQ(formatNumber(2.5, NumberFormat{}), "2.5");
}

}  // namespace
