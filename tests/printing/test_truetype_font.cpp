// The metrics a PDF takes from the TrueType font it embeds, read from the
// font files Debian installs, and fonts cut short or not fonts at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.hpp"
#include "printing/pdf_book.hpp"
#include "printing/truetype_font.hpp"

using namespace pliego;

namespace {

std::string bytesOf(const std::string& path) {
  std::ifstream in(nativePath(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

struct KnownFont {
  const char* path;
  const char* name;
  int width;  // of every glyph, in thousandths of an em
};

}  // namespace

TEST(TrueTypeFont, MonospacedFontsGiveTheirNameBoxAndOneWidthForEveryLetter) {
  const KnownFont fonts[] = {
      {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", "DejaVuSansMono", 602},
      {"/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf", "LiberationMono", 600},
  };
  int read = 0;
  for (const KnownFont& known : fonts) {
    // Debian's file, or its copy beside the tests where Debian's paths are not (Windows).
    std::string path = known.path;
    if (!std::filesystem::exists(nativePath(path)))
      path = joinPath(executableFolder(), std::filesystem::path(known.path).filename().string());
    if (!std::filesystem::exists(nativePath(path))) continue;
    ++read;
    const auto font = readTrueTypeFont(bytesOf(path));
    ASSERT_TRUE(font) << known.path;
    EXPECT_EQ(font->postScriptName, known.name);
    EXPECT_TRUE(font->fixedPitch);
    EXPECT_LT(font->xMin, 0);
    EXPECT_GT(font->yMax, font->ascent / 2);
    EXPECT_LT(font->descent, 0);
    EXPECT_GT(font->capHeight, 500);
    for (unsigned byte : {unsigned{' '}, unsigned{'A'}, 0xD1u, 0xBAu, 0x80u, 0xFFu})  // Ñ º € ÿ
      EXPECT_EQ(font->widths[byte], known.width) << known.path << " byte " << byte;
    for (unsigned byte : {0x81u, 0x8Du, 0x8Fu, 0x90u, 0x9Du})  // Windows-1252 leaves them unused
      EXPECT_EQ(font->widths[byte], 0) << byte;
  }
  EXPECT_GT(read, 0) << "no font to read";
}

TEST(TrueTypeFont, CutShortOrNotAFontGivesNothing) {
  const std::string font = bytesOf(pdfFontPath());
  ASSERT_GT(font.size(), 10000u);
  EXPECT_FALSE(readTrueTypeFont(""));
  EXPECT_FALSE(readTrueTypeFont("%PDF-1.4 not a font at all"));
  for (const std::size_t size : {std::size_t{12}, std::size_t{200}, font.size() / 3, font.size() - 100})
    EXPECT_FALSE(readTrueTypeFont(std::string_view(font).substr(0, size))) << size;
  std::string noTables = font;
  noTables[4] = noTables[5] = 0;  // a font that lists no table
  EXPECT_FALSE(readTrueTypeFont(noTables));
}
