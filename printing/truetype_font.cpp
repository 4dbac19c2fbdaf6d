#include "printing/truetype_font.hpp"

#include <cmath>
#include <cstdint>

#include "common/code_page.hpp"

namespace pliego {

namespace {

// Big-endian reads that turn every read past the end into a failure.
class FontBytes {
 public:
  explicit FontBytes(std::string_view bytes) : bytes_(bytes) {}
  bool failed() const { return failed_; }
  std::uint32_t u8(std::size_t at) {
    if (at >= bytes_.size()) {
      failed_ = true;
      return 0;
    }
    return static_cast<unsigned char>(bytes_[at]);
  }
  std::uint32_t u16(std::size_t at) { return u8(at) << 8 | u8(at + 1); }
  std::uint32_t u32(std::size_t at) { return u16(at) << 16 | u16(at + 2); }
  int i16(std::size_t at) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(u16(at))); }

  // The start of the table `tag`; 0 (with the failure set) when there is none.
  std::size_t table(std::string_view tag) {
    const std::uint32_t count = u16(4);
    for (std::uint32_t i = 0; i < count && !failed_; ++i) {
      const std::size_t record = 12 + 16 * std::size_t{i};
      if (bytes_.substr(std::min(record, bytes_.size()), 4) == tag) return u32(record + 8);
    }
    failed_ = true;
    return 0;
  }
  // True when every table the font lists lies inside it: a font cut short is no font.
  bool whole() {
    const std::uint32_t count = u16(4);
    for (std::uint32_t i = 0; i < count && !failed_; ++i) {
      const std::size_t record = 12 + 16 * std::size_t{i};
      if (std::uint64_t{u32(record + 8)} + u32(record + 12) > bytes_.size()) return false;
    }
    return count > 0 && !failed_;
  }
  bool has(std::string_view tag) {
    const std::uint32_t count = u16(4);
    for (std::uint32_t i = 0; i < count && !failed_; ++i)
      if (bytes_.substr(std::min(12 + 16 * std::size_t{i}, bytes_.size()), 4) == tag) return true;
    return false;
  }

 private:
  std::string_view bytes_;
  bool failed_ = false;
};

// The glyph of `c` in a format 4 character map at `map`; 0 when none.
std::uint32_t glyphOf(FontBytes& font, std::size_t map, std::uint32_t c) {
  const std::uint32_t segments = font.u16(map + 6) / 2;
  const std::size_t ends = map + 14, starts = ends + 2 * segments + 2;
  const std::size_t deltas = starts + 2 * segments, offsets = deltas + 2 * segments;
  for (std::uint32_t i = 0; i < segments && !font.failed(); ++i) {
    if (font.u16(ends + 2 * i) < c) continue;
    const std::uint32_t start = font.u16(starts + 2 * i);
    if (start > c) return 0;
    const std::uint32_t delta = font.u16(deltas + 2 * i), offset = font.u16(offsets + 2 * i);
    if (offset == 0) return (c + delta) & 0xFFFF;
    const std::uint32_t glyph = font.u16(offsets + 2 * i + offset + 2 * (c - start));
    return glyph == 0 ? 0 : (glyph + delta) & 0xFFFF;
  }
  return 0;
}

// The Windows Unicode map in format 4, or 0.
std::size_t unicodeMap(FontBytes& font) {
  const std::size_t cmap = font.table("cmap");
  const std::uint32_t count = font.u16(cmap + 2);
  for (std::uint32_t i = 0; i < count && !font.failed(); ++i) {
    const std::size_t record = cmap + 4 + 8 * std::size_t{i};
    if (font.u16(record) != 3 || font.u16(record + 2) != 1) continue;
    const std::size_t map = cmap + font.u32(record + 4);
    if (font.u16(map) == 4) return map;
  }
  return 0;
}

// Name 6, the PostScript name, from a Macintosh or a Windows record.
std::string postScriptName(FontBytes& font) {
  const std::size_t names = font.table("name");
  const std::uint32_t count = font.u16(names + 2);
  const std::size_t strings = names + font.u16(names + 4);
  for (std::uint32_t i = 0; i < count && !font.failed(); ++i) {
    const std::size_t record = names + 6 + 12 * std::size_t{i};
    const std::uint32_t platform = font.u16(record);
    if (font.u16(record + 6) != 6 || (platform != 1 && platform != 3)) continue;
    const std::size_t at = strings + font.u16(record + 10), length = font.u16(record + 8);
    const std::size_t step = platform == 3 ? 2 : 1;
    std::string name;
    for (std::size_t k = step - 1; k < length; k += step) {
      const auto c = static_cast<char>(font.u8(at + k));
      if (c > ' ' && c < 0x7f && c != '/' && c != '(' && c != ')' && c != '[' && c != ']' && c != '<' &&
          c != '>' && c != '{' && c != '}' && c != '%')
        name += c;
    }
    if (!name.empty()) return name;
  }
  return "PliegoMono";
}

}  // namespace

std::optional<TrueTypeFont> readTrueTypeFont(std::string_view bytes) {
  FontBytes font(bytes);
  const std::uint32_t version = font.u32(0);
  if ((version != 0x00010000 && version != 0x74727565) || !font.whole()) return std::nullopt;  // 'true'
  const std::size_t head = font.table("head"), hhea = font.table("hhea"), hmtx = font.table("hmtx");
  const std::size_t post = font.table("post");
  const double unitsPerEm = font.u16(head + 18);
  const std::size_t map = unicodeMap(font);
  if (font.failed() || unitsPerEm < 16 || map == 0) return std::nullopt;
  const auto thousandths = [unitsPerEm](double units) { return static_cast<int>(std::lround(units * 1000 / unitsPerEm)); };

  TrueTypeFont out;
  out.postScriptName = postScriptName(font);
  out.xMin = thousandths(font.i16(head + 36));
  out.yMin = thousandths(font.i16(head + 38));
  out.xMax = thousandths(font.i16(head + 40));
  out.yMax = thousandths(font.i16(head + 42));
  out.ascent = thousandths(font.i16(hhea + 4));
  out.descent = thousandths(font.i16(hhea + 6));
  out.capHeight = out.ascent;
  if (font.has("OS/2")) {
    const std::size_t os2 = font.table("OS/2");
    if (font.u16(os2) >= 2) out.capHeight = thousandths(font.i16(os2 + 88));
  }
  out.italicAngle = font.i16(post + 4) + font.u16(post + 6) / 65536.0;
  out.fixedPitch = font.u32(post + 12) != 0;
  const std::uint32_t metrics = font.u16(hhea + 34);
  if (metrics == 0) return std::nullopt;
  for (unsigned byte = 32; byte < 256; ++byte) {
    const char32_t c = unicodeOfCp1252(static_cast<unsigned char>(byte));
    if (c == 0 || c == 0x7f) continue;
    const std::uint32_t glyph = glyphOf(font, map, static_cast<std::uint32_t>(c));
    if (glyph == 0) continue;
    out.widths[byte] = thousandths(font.u16(hmtx + 4 * std::size_t{std::min(glyph, metrics - 1)}));
  }
  if (font.failed()) return std::nullopt;
  return out;
}

}  // namespace pliego
