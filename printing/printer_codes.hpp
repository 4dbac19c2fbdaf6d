#pragma once
// Printer codes inside a report's lines: single control bytes (SI, DC2 ...)
// and ESC sequences with their parameters. They take no column on paper.
#include <cstddef>
#include <string>
#include <string_view>

namespace pliego {

// The length of the printer code that begins at `at`, 0 when the byte there
// is printed. An ESC sequence cut by the line's end ends there.
std::size_t printerCodeLength(std::string_view line, std::size_t at);

// The columns the line takes on paper: its bytes less its printer codes.
std::size_t printedWidth(std::string_view line);

// The line without its printer codes, and the codes alone, in order.
std::string withoutPrinterCodes(std::string_view line);
std::string printerCodesOf(std::string_view line);

// What a line's codes do to the form: an ESC @ (reset), and the last page
// length set by ESC C, in lines (ESC C NUL n counts six lines an inch).
struct FormCodes {
  bool reset = false;
  int pageLength = 0;  // 0: none set
};
FormCodes formCodesOf(std::string_view line);

}  // namespace pliego
