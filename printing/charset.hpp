#pragma once
// Windows-1252 report bytes to the printer's character table (code pages
// 437, 850 and 858), byte for byte, on their way to the printer.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "printing/printer_setup.hpp"

namespace pliego {

// Converts every byte whose Windows-1252 character the table has to that
// character's byte in the table; every other byte goes as it is, except
// that, when asked, the Windows-1252 bytes 0x80-0x9F the table has not
// become one plain ASCII look-alike each (’ to ', – to -, … to .), so that
// no column moves. Counts those 0x80-0x9F bytes, folded or not: a printer
// may take them for control codes.
class PrinterCharset {
 public:
  PrinterCharset(CharTable table, bool fold);
  explicit PrinterCharset(const PrinterSetup& setup) : PrinterCharset(setup.table, setup.foldTypography) {}

  std::string convert(std::string_view bytes);
  void convertInPlace(char* bytes, std::size_t size);
  // Counts as the conversion does, without converting.
  void count(std::string_view bytes) {
    for (const char c : bytes) controlBytes_ += control_[static_cast<unsigned char>(c)];
  }
  // True for a byte that `controlBytes` counts.
  bool counted(unsigned char byte) const { return control_[byte]; }
  // The 0x80-0x9F bytes seen so far that the table did not convert.
  std::uint64_t controlBytes() const { return controlBytes_; }
  // True when the conversion leaves every byte as it is.
  bool unchanged() const { return unchanged_; }

 private:
  std::array<unsigned char, 256> map_{};
  std::array<bool, 256> control_{};
  std::uint64_t controlBytes_ = 0;
  bool unchanged_ = true;
};

// The character of a byte of Windows-1252 (0 for its five unused bytes).
char16_t windows1252Char(unsigned char byte);
// The character of a byte of the table's code page (the byte for AsFile).
char16_t tableChar(CharTable table, unsigned char byte);

}  // namespace pliego
