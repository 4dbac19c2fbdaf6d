// The system's encoding on Linux: UTF-8.
#include "common/code_page.hpp"

#include <cstddef>
#include <optional>

namespace pliego {

namespace {

// The character that starts at `at`, and how many bytes it takes; nothing
// for a byte that does not start a well-formed sequence (it takes one byte).
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  if (lead < 0x80) return lead;
  const std::size_t extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 && lead < 0xF0 ? 2
                            : lead >= 0xC2 && lead < 0xE0                  ? 1
                                                                           : 0;
  if (extra == 0 || at + extra >= text.size()) return std::nullopt;
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  length = extra + 1;
  return c;
}

}  // namespace

std::string systemToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 1;
    const auto c = nextUtf8(text, at, length);
    const unsigned char byte = c ? cp1252OfUnicode(*c) : 0;
    out += byte != 0 || c == U'\0' ? static_cast<char>(byte) : '?';
    at += length;
  }
  return out;
}

std::string cp1252ToSystem(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) appendUtf8(out, unicodeOfCp1252(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace pliego
