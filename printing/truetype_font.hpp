#pragma once
// What a PDF needs to know of a TrueType font it embeds whole: its
// PostScript name, its box and heights for the font descriptor, and the
// width of the glyph of every Windows-1252 character.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pliego {

struct TrueTypeFont {
  std::string postScriptName;  // printable ASCII, no blanks
  // In thousandths of an em, as the PDF gives them.
  int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  int ascent = 0, descent = 0, capHeight = 0;
  double italicAngle = 0;
  bool fixedPitch = false;
  // The advance of the glyph each Windows-1252 byte maps to (0 for a byte
  // the font has no glyph for, and for the five unused bytes).
  std::array<int, 256> widths{};
};

// Nothing when `bytes` is not a TrueType font with a Unicode character map.
std::optional<TrueTypeFont> readTrueTypeFont(std::string_view bytes);

}  // namespace pliego
