#pragma once
// Windows-1252, the office's code page, beside the system's own encoding
// (UTF-8 on Linux, the ANSI code page, 1252, on Windows). Reports and the INI
// are 1252 bytes; file names and what commands write are the system's.
#include <string>
#include <string_view>

namespace pliego {

// Upper case as Windows gives it for 1252 text: ASCII letters, the accented
// letters ("ñ" 0xF1 becomes "Ñ" 0xD1) and "š", "œ", "ž", "ÿ". "ß" and "µ"
// have no upper case there and stay.
std::string toUpperCp1252(std::string_view text);

// System text as 1252 bytes, for the record; a character that 1252 lacks,
// and a byte that is not text in the system's encoding, becomes "?".
std::string systemToCp1252(std::string_view text);

// 1252 bytes as system text, to sit beside file names in a message.
std::string cp1252ToSystem(std::string_view text);

// The Unicode character of a 1252 byte, and the byte of a character (0 when
// 1252 lacks it). The five bytes 1252 leaves unused stand for U+0081 and so on.
char32_t unicodeOfCp1252(unsigned char byte);
unsigned char cp1252OfUnicode(char32_t character);

// Appends the UTF-8 bytes of a character of the Basic Multilingual Plane.
void appendUtf8(std::string& out, char32_t c);

}  // namespace pliego
