#pragma once
// Text rules shared by every subsystem. Text is bytes in the office's 8-bit
// code page: nothing is decoded, and case folding touches ASCII letters only.
#include <string>
#include <string_view>

namespace pliego {

// The blank line the program writes into work files: one space, never nothing.
inline constexpr std::string_view kBlankLine = " ";

char upperAscii(char c);
std::string toUpperAscii(std::string_view text);
// Removes leading and trailing spaces.
std::string_view trimSpaces(std::string_view text);
bool startsWith(std::string_view text, std::string_view prefix);
// True when `text` holds `needle` (which must be upper case) in any ASCII case.
bool containsUpperAscii(std::string_view text, std::string_view upperNeedle);

}  // namespace pliego
