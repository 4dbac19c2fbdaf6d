#include "common/numbers.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace pliego {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isValBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Converts a clean "[-]digits[.digits][e[-]digits]" text.
double convertClean(const std::string& clean) {
  double value = 0;
  const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: decide between overflow and underflow.
    const bool negative = !clean.empty() && clean.front() == '-';
    const auto e = clean.find('e');
    const bool hugeExponent = e != std::string::npos && clean[e + 1] != '-';
    const double magnitude = hugeExponent ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
  }
  return value;
}

// Appends the digits at `text[i...]` to `out`, skipping group separators that
// stand between two digits when `group` is given; returns how many digits.
std::size_t takeDigits(std::string_view text, std::size_t& i, std::string& out, char group = 0) {
  std::size_t count = 0;
  while (i < text.size()) {
    if (isDigit(text[i])) {
      out += text[i++];
      ++count;
    } else if (group && text[i] == group && count > 0 && i + 1 < text.size() && isDigit(text[i + 1])) {
      ++i;
    } else {
      break;
    }
  }
  return count;
}

// Reads "e[+-]digits" at text[i...] into out when complete; otherwise leaves i.
bool takeExponent(std::string_view text, std::size_t& i, std::string& out) {
  if (i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return false;
  std::size_t j = i + 1;
  std::string exponent = "e";
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
    if (text[j] == '-') exponent += '-';
    ++j;
  }
  if (takeDigits(text, j, exponent) == 0) return false;
  out += exponent;
  i = j;
  return true;
}

// Reads sign, mantissa and exponent starting at i; `decimal` and `group`
// name the separators. Returns the clean text, or nothing without a digit.
std::optional<std::string> takeNumber(std::string_view text, std::size_t& i, char decimal, char group) {
  std::string clean;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') clean += '-';
    ++i;
  }
  std::string intPart, fracPart;
  std::size_t digits = takeDigits(text, i, intPart, group);
  bool point = false;
  if (i < text.size() && text[i] == decimal) {
    point = true;
    ++i;
    digits += takeDigits(text, i, fracPart);
  }
  if (digits == 0) return std::nullopt;
  clean += intPart.empty() ? "0" : intPart;
  if (point && !fracPart.empty()) clean += "." + fracPart;
  takeExponent(text, i, clean);
  return clean;
}

}  // namespace

double numericValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isValBlank(text[i])) ++i;
  const auto clean = takeNumber(text, i, '.', 0);
  return clean ? convertClean(*clean) : 0.0;
}

std::optional<double> parseUserNumber(std::string_view text, const NumberFormat& format) {
  std::size_t i = 0;
  while (i < text.size() && isValBlank(text[i])) ++i;
  const auto clean = takeNumber(text, i, format.decimal, format.group);
  if (!clean) return std::nullopt;
  while (i < text.size() && isValBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  const double value = convertClean(*clean);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double roundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int64_t> roundToRange(double value, std::int64_t low, std::int64_t high) {
  const double rounded = roundHalfEven(value);
  if (!(rounded >= static_cast<double>(low) && rounded <= static_cast<double>(high))) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

std::optional<std::int16_t> toInt16(double value) {
  const auto v = roundToRange(value, INT16_MIN, INT16_MAX);
  if (!v) return std::nullopt;
  return static_cast<std::int16_t>(*v);
}

std::optional<std::int32_t> toInt32(double value) {
  const auto v = roundToRange(value, INT32_MIN, INT32_MAX);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(*v);
}

std::string formatNumber(double value, const NumberFormat& format) {
  if (value == 0) return "0";  // also turns -0 into "0"
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  for (char& c : text)
    if (c == '.') c = format.decimal;
  return text;
}

}  // namespace pliego
