#pragma once
// Number rules shared by every subsystem.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pliego {

// The user's number format, taken from the system locale by the window.
struct NumberFormat {
  char decimal = '.';
  char group = ',';
};

// The number a text begins with, "." as the decimal point: blanks skipped,
// an optional sign, digits with at most one point, an optional exponent.
// Reading stops at the first other character; no number at the start gives
// 0. Never fails; a value too large for a double reads as +/- infinity.
double numericValue(std::string_view text);

// The whole text, blanks around it allowed, read as a number in the user's
// format (group separators between digits are accepted). Empty or blank text,
// anything else in it, or a value out of a double's range gives nothing.
std::optional<double> parseUserNumber(std::string_view text, const NumberFormat& format);
inline bool isNumeric(std::string_view text, const NumberFormat& format) {
  return parseUserNumber(text, format).has_value();
}

// Nearest whole number, ties to the even one (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Rounds half to even and checks the result against [low, high].
std::optional<std::int64_t> roundToRange(double value, std::int64_t low, std::int64_t high);
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

// Plain decimal text: whole numbers without a decimal part ("72", "0", "-1"),
// fractions with the user's decimal separator.
std::string formatNumber(double value, const NumberFormat& format);

}  // namespace pliego
