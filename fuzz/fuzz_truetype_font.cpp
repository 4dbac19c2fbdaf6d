// Any bytes as the TrueType font beside the program: read without reading
// outside them, and every width given is a glyph's.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "printing/truetype_font.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto font = pliego::readTrueTypeFont(std::string_view(reinterpret_cast<const char*>(data), size));
  if (font) {
    for (int width : font->widths)
      if (width < 0 || width > 65535 * 1000 / 16) std::abort();
    if (font->postScriptName.empty()) std::abort();
  }
  return 0;
}
