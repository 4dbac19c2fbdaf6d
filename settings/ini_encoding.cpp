#include "settings/ini_encoding.hpp"

#include <array>

#include "common/code_page.hpp"

namespace pliego {

namespace {

char32_t fromCodePage(unsigned char byte) { return unicodeOfCp1252(byte); }

// A character Windows-1252 lacks becomes "?".
char toCodePage(char32_t c) {
  const unsigned char byte = cp1252OfUnicode(c);
  return byte != 0 || c == 0 ? static_cast<char>(byte) : '?';
}

void appendUtf16(std::string& out, char32_t c, bool bigEndian) {
  const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

unsigned byteAt(const std::string& file, std::size_t i) { return static_cast<unsigned char>(file[i]); }

// Length of a well-formed UTF-8 sequence at `i` and its character; 0 when the
// bytes there are not one.
std::size_t utf8Sequence(const std::string& file, std::size_t i, char32_t& c) {
  const unsigned lead = byteAt(file, i);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                            : lead >= 0xF0 && lead < 0xF5   ? 4
                                                                            : 0;
  if (length == 0 || i + length > file.size()) return 0;
  c = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned next = byteAt(file, i + k);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
  return length;
}

}  // namespace

DecodedIni::DecodedIni(const std::string& file) {
  const std::string_view view(file);
  if (view.starts_with(kUtf8Mark)) {
    encoding_ = IniEncoding::Utf8;
    decodeUtf8(file, kUtf8Mark.size());
  } else if (view.starts_with(kUtf16LeMark) || view.starts_with(kUtf16BeMark)) {
    const bool bigEndian = view.starts_with(kUtf16BeMark);
    encoding_ = bigEndian ? IniEncoding::Utf16Be : IniEncoding::Utf16Le;
    decodeUtf16(file, 2, bigEndian);
  } else {
    text_ = file;
    end_ = file.size();
  }
}

void DecodedIni::add(char c, std::size_t from) {
  text_ += c;
  origin_.push_back(from);
}

// A byte that starts no well-formed sequence becomes one "?".
void DecodedIni::decodeUtf8(const std::string& file, std::size_t i) {
  while (i < file.size()) {
    char32_t c = 0;
    const std::size_t length = utf8Sequence(file, i, c);
    add(length ? toCodePage(c) : '?', i);
    i += length ? length : 1;
  }
  end_ = file.size();
}

// A surrogate pair is one character; a lone surrogate is "?"; an odd last
// byte is no character.
void DecodedIni::decodeUtf16(const std::string& file, std::size_t i, bool bigEndian) {
  const auto unitAt = [&](std::size_t at) -> char32_t {
    return bigEndian ? (byteAt(file, at) << 8) | byteAt(file, at + 1) : (byteAt(file, at + 1) << 8) | byteAt(file, at);
  };
  while (i + 1 < file.size()) {
    const char32_t unit = unitAt(i);
    const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 3 < file.size() && unitAt(i + 2) >= 0xDC00 &&
                      unitAt(i + 2) <= 0xDFFF;
    add(pair || (unit >= 0xD800 && unit <= 0xDFFF) ? '?' : toCodePage(unit), i);
    i += pair ? 4 : 2;
  }
  end_ = i;
}

std::size_t DecodedIni::fileOffset(std::size_t at) const {
  if (origin_.empty() && encoding_ == IniEncoding::CodePage) return at;
  return at < origin_.size() ? origin_[at] : end_;
}

std::string DecodedIni::spliced(const std::string& file, std::size_t begin, std::size_t end,
                                std::string_view insert) const {
  const std::size_t from = fileOffset(begin), to = fileOffset(end);
  return file.substr(0, from) + encodeIni(insert, encoding_) + file.substr(to);
}

std::string encodeIni(std::string_view text, IniEncoding encoding) {
  if (encoding == IniEncoding::CodePage) return std::string(text);
  std::string out;
  for (const char byte : text) {
    const char32_t c = fromCodePage(static_cast<unsigned char>(byte));
    if (encoding == IniEncoding::Utf8) appendUtf8(out, c);
    else appendUtf16(out, c, encoding == IniEncoding::Utf16Be);
  }
  return out;
}

}  // namespace pliego
