#include "common/code_page.hpp"

#include <algorithm>
#include <cstdint>

namespace pliego {

namespace {

// 0x80 to 0x9F, where 1252 differs from Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char upperCp1252(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 0x20);
  if (byte >= 0xE0 && byte != 0xF7 && byte != 0xFF) return static_cast<char>(byte - 0x20);
  switch (byte) {
    case 0x9A: return '\x8A';  // š
    case 0x9C: return '\x8C';  // œ
    case 0x9E: return '\x8E';  // ž
    case 0xFF: return '\x9F';  // ÿ
    default: return c;
  }
}

}  // namespace

std::string toUpperCp1252(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), upperCp1252);
  return out;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t unicodeOfCp1252(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

unsigned char cp1252OfUnicode(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
  for (unsigned char byte = 0x80; byte < 0xA0; ++byte)
    if (kHighControls[byte - 0x80] == character) return byte;
  return 0;
}

}  // namespace pliego
