// INI files saved by other editors: with a UTF-8 or UTF-16 byte-order mark
// the text is read as Windows-1252 and written back in the file's own
// encoding; a NUL byte ends the text of its line.
#include <string>

#include "settings/ini_fixture.hpp"
#include "support/platform_skips.hpp"

using namespace pliego::testing;

namespace {

const std::string kUtf8Mark = "\xEF\xBB\xBF";

// The UTF-16 bytes of `text`, little- or big-endian, with the mark first.
std::string utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// A literal's bytes, NULs included.
template <std::size_t N>
std::string withNuls(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// Files with a byte-order mark and NUL bytes, read as Windows' profile
// functions read them; under Wine those functions are Wine's, which read
// such files otherwise.
class ProfileEncoding : public IniFolder {
 protected:
  void SetUp() override {
    PLIEGO_SKIP_UNDER_WINE("the profile functions are Wine's, which read marked files otherwise");
    IniFolder::SetUp();
  }
};

// "Señal" and "[AÑO]" as a Windows editor saves them in UTF-8 with a mark;
// "日本" and "😀" have no Windows-1252 byte.
const std::string kUtf8File = kUtf8Mark +
                              "; perfiles \xE2\x82\xAC\r\n"
                              "[A\xC3\x91O]\r\n"
                              "Se\xC3\xB1" "al=\xC3\xB1" "and\xC3\xBA\r\n"
                              "Nota=\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n";

TEST_F(ProfileEncoding, Utf8WithAMarkReadsAsTheCodePage) {
  give(kUtf8File);
  EXPECT_EQ(read("A\xD1O", "Se\xF1" "al"), "\xF1" "and\xFA");
  EXPECT_EQ(read("A\xD1O", "Nota"), "?? ?");
  EXPECT_EQ(read(nullptr, nullptr, "", 100), nulList({"A\xD1O"}));
  EXPECT_EQ(read("A\xD1O", nullptr, "", 100), nulList({"Se\xF1" "al", "Nota"}));
}

TEST_F(ProfileEncoding, BytesThatAreNoUtf8ReadAsQuestionMarks) {
  give(kUtf8Mark + "[A]\r\nMal=\xC3(\xFF\xED\xA0\x80!\r\nCorto=\xE2\x82");
  EXPECT_EQ(read("A", "Mal"), "?(???" "?!");
  EXPECT_EQ(read("A", "Corto"), "??");
}

TEST_F(ProfileEncoding, Utf8WithAMarkIsWrittenInUtf8AndKeepsItsOtherBytes) {
  give(kUtf8File);
  EXPECT_NE(write("A\xD1O", "Se\xF1" "al", "a\xF1o \x80"), 0);
  EXPECT_NE(write("Ca\xF1" "on", "LPT", "1"), 0);
  EXPECT_EQ(contents(), kUtf8Mark +
                            "; perfiles \xE2\x82\xAC\r\n"
                            "[A\xC3\x91O]\r\n"
                            "Se\xC3\xB1" "al=a\xC3\xB1o \xE2\x82\xAC\r\n"
                            "Nota=\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n"
                            "[Ca\xC3\xB1on]\r\nLPT=1\r\n");
  EXPECT_EQ(read("A\xD1O", "Se\xF1" "al"), "a\xF1o \x80");
}

TEST_F(ProfileEncoding, Utf16WithAMarkIsReadAndWrittenInItsOwnByteOrder) {
  for (const bool bigEndian : {false, true}) {
    give(utf16(u"[A\u00D1O]\r\nSe\u00F1al=\u00F1and\u00FA\r\nNota=\u65E5 \U0001F600\r\n", bigEndian));
    EXPECT_EQ(read("A\xD1O", "Se\xF1" "al"), "\xF1" "and\xFA") << bigEndian;
    EXPECT_EQ(read("A\xD1O", "Nota"), "? ?") << bigEndian;
    EXPECT_NE(write("a\xD1o", "LPT", "\x80 2"), 0);  // ASCII letters match in any case
    EXPECT_NE(write("A\xD1O", "Se\xF1" "al", "s\xED"), 0);
    EXPECT_NE(write("Nueva", "K", "v"), 0);
    EXPECT_EQ(contents(), utf16(u"[A\u00D1O]\r\nSe\u00F1al=s\u00ED\r\nNota=\u65E5 \U0001F600\r\nLPT=\u20AC 2\r\n"
                                u"[Nueva]\r\nK=v\r\n",
                                bigEndian))
        << bigEndian;
  }
}

TEST_F(ProfileEncoding, AFileOfOnlyAMarkGetsTheFirstSectionInItsEncoding) {
  give(utf16(u"", false));
  EXPECT_NE(write("A", "x", "\xF1"), 0);
  EXPECT_EQ(contents(), utf16(u"[A]\r\nx=\u00F1\r\n", false));
  give(kUtf8Mark);
  EXPECT_NE(write("A", "x", "\xF1"), 0);
  EXPECT_EQ(contents(), kUtf8Mark + "[A]\r\nx=\xC3\xB1\r\n");
}

TEST_F(ProfileEncoding, RemovalsInAnEncodedFileKeepTheRest) {
  give(kUtf8File + "[B]\r\nK=1\r\n");
  EXPECT_NE(write("A\xD1O", "Se\xF1" "al", nullptr), 0);
  EXPECT_NE(write("B", nullptr, nullptr), 0);
  EXPECT_EQ(contents(), kUtf8Mark + "; perfiles \xE2\x82\xAC\r\n[A\xC3\x91O]\r\n"
                                    "Nota=\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n");
}

// Without a mark the bytes are the code page's and stay as they are, even
// those that would be UTF-8.
TEST_F(ProfileEncoding, WithoutAMarkTheBytesAreTakenAsTheyAre) {
  give("[A\xC3\x91O]\r\nK=\xC3\xB1\r\n");
  EXPECT_EQ(read("A\xC3\x91O", "K"), "\xC3\xB1");
  EXPECT_EQ(read("A\xD1O", "K", "no"), "no");
}

TEST_F(ProfileEncoding, ANulByteEndsTheTextOfItsLine) {
  give(withNuls("[A]\0 ]\r\nK=v\0 resto\r\nJ\0=2\r\nJ=3\r\n"));
  EXPECT_EQ(read("A", "K"), "v");
  EXPECT_EQ(read("A", "J", "ninguno"), "ninguno") << "the first J has no '=' before its NUL";
  EXPECT_EQ(read(nullptr, nullptr), nulList({"A"}));
  EXPECT_NE(write("A", "K", "w"), 0);
  EXPECT_EQ(contents(), withNuls("[A]\0 ]\r\nK=w\r\nJ\0=2\r\nJ=3\r\n"));
}

}  // namespace
