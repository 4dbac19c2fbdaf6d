// Reading values and lists the way the private-profile functions read them.
#include "settings/ini_fixture.hpp"
#include "support/platform_skips.hpp"

using namespace pliego::testing;
using namespace std::string_literals;

namespace {

// Hand-edited: comments, odd spacing, blank lines, LF-only and CR-only line
// ends, a duplicate section and bytes above ASCII.
const std::string kHandEdited =
    "Suelta=antes de todo\r\n"
    "; Perfiles de impresora\r\n"
    "\r\n"
    "   [  Oficina 2  ] x\r\n"
    "   RENGLONES POR PAGINA   =   72  \n"
    "LPT=1 ; impresora del fondo\r\n"
    "Nombre=\"Epson LX\"\r"
    "Simple='a'\r\n"
    "Medio=\"abc'\r\n"
    "Vacio=\r\n"
    "Solo\r\n"
    ";Nota=comentario\r\n"
    "\t\r\n"
    "[oficina 2]\r\n"
    "Segundo=si\r\n"
    "[A\xD1O]\r\n"
    "Mes=3\r\n"
    "[]\r\n"
    "SinNombre=1\r\n"
    "[Otra]";

struct ValueCase {
  const char* section;
  const char* key;
  const char* defaultText;
  std::string expected;
};

class ProfileRead : public IniFolder {};

TEST_F(ProfileRead, ValuesOfAHandEditedFile) {
  give(kHandEdited);
  const ValueCase cases[] = {
      {"Oficina 2", "RENGLONES POR PAGINA", "d", "72"},
      {"OFICINA 2", "renglones por pagina", "d", "72"},
      {"  Oficina 2\t", " LPT ", "d", "1 ; impresora del fondo"},
      {"Oficina 2", "Nombre", "d", "Epson LX"},
      {"Oficina 2", "Simple", "d", "a"},
      {"Oficina 2", "Medio", "d", "\"abc'"},
      {"Oficina 2", "Vacio", "d", ""},
      {"Oficina 2", "Solo", "d", "d"},
      {"Oficina 2", ";Nota", "d", "comentario"},
      {"Oficina 2", "Segundo", "d", "d"},  // only the first section of a name is read
      {"A\xD1O", "MES", "d", "3"},
      {"a\xF1o", "Mes", "d", "d"},  // only ASCII letters match without regard to case
      {"", "Suelta", "d", "antes de todo"},
      {"Otra", "x", "d", "d"},
      {"Nada", "x", "d", "d"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read(c.section, c.key, c.defaultText), c.expected) << c.section << " / " << c.key;
}

TEST_F(ProfileRead, DefaultLosesTrailingSpacesAndOuterQuotes) {
  give("[A]\r\nx=1\r\n");
  const ValueCase cases[] = {
      {"A", "y", "abc  ", "abc"},  {"A", "y", "   ", " "},    {"A", "y", " a ", " a"},
      {"A", "y", "'q'", "q"},      {"A", "y", "\"x", "\"x"},  {"A", "y", nullptr, ""},
      {"B", "y", "\"q\" ", "q"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read(c.section, c.key, c.defaultText), c.expected) << (c.defaultText ? c.defaultText : "none");
}

TEST_F(ProfileRead, MissingFileGivesTheDefault) {
  EXPECT_EQ(read("A", "x", "nada"), "nada");
  EXPECT_EQ(read("A", "x", ""), "");
  EXPECT_FALSE(folder.exists("Pliegomatic.ini"));
}

TEST_F(ProfileRead, ValueIsCutToOneLessThanTheBuffer) {
  const std::string value(300, 'v');
  give("[A]\r\nx=" + value + "\r\n");
  EXPECT_EQ(read("A", "x", "", 255), value.substr(0, 254));
  EXPECT_EQ(read("A", "x", "", 3), "vv");
  EXPECT_EQ(read("A", "x", "", 1), "");
}

TEST_F(ProfileRead, LongValueReadsWholeWithALargeBuffer) {
  std::string value(70000, 'a');
  value[69999] = 'z';
  give("[A]\r\nx=" + value + "\r\n");
  EXPECT_EQ(read("A", "x", "", 80000), value);
}

TEST_F(ProfileRead, ByteOrderMarkIsNotPartOfTheFirstLine) {
  give("\xEF\xBB\xBF[A]\r\nx=1\r\n");
  EXPECT_EQ(read("A", "x", "d"), "1");
  EXPECT_EQ(read(nullptr, nullptr, "", 255), nulList({"A"}));
}

class ProfileList : public IniFolder {};

TEST_F(ProfileList, KeysOfTheFirstMatchingSectionInFileOrder) {
  give(kHandEdited);
  EXPECT_EQ(read("oficina 2", nullptr, "d", 8192),
            nulList({"RENGLONES POR PAGINA", "LPT", "Nombre", "Simple", "Medio", "Vacio"}));
}

TEST_F(ProfileList, KeyListWithoutSuchSectionGivesTheDefault) {
  give(kHandEdited);
  EXPECT_EQ(read(" Oficina 2", nullptr, "d", 8192), "d");  // the name is compared as passed
  EXPECT_EQ(read("Otra", nullptr, "'d'", 8192), "d");      // nothing to list
  EXPECT_EQ(read("Nada", nullptr, "", 8192), "");
}

TEST_F(ProfileList, SectionsWithANameInFileOrderDuplicatesIncluded) {
  give(kHandEdited);
  EXPECT_EQ(read(nullptr, nullptr, "d", 8192), nulList({"Oficina 2", "oficina 2", "A\xD1O", "Otra"}));
}

TEST_F(ProfileList, SectionListNeverGivesTheDefault) {
  EXPECT_EQ(read(nullptr, nullptr, "d", 8192), "");
  give("");
  EXPECT_EQ(read(nullptr, nullptr, "d", 8192), "");
  give("x=1\r\n");
  EXPECT_EQ(read(nullptr, nullptr, "d", 8192), "");
}

// Sections Seccion0000, Seccion0001, ... each 11 bytes and a NUL in a list.
std::string manySections(int count) {
  std::string file;
  for (int i = 0; i < count; ++i) {
    file += "[Seccion" + std::to_string(10000 + i).substr(1) + "]\r\nk=1\r\n";
  }
  return file;
}

TEST_F(ProfileList, ListFitsOnlyWithRoomForTwoNuls) {
  PLIEGO_SKIP_UNDER_WINE("Wine ends a list cut short with one NUL, Windows with two");
  give(manySections(10));  // a list of 120 bytes
  const std::string whole = read(nullptr, nullptr, "", 8192);
  ASSERT_EQ(whole.size(), 120u);
  struct Case {
    std::uint32_t size;
    std::string expected;
  };
  const Case cases[] = {
      {122, whole}, {121, whole.substr(0, 119)}, {120, whole.substr(0, 118)}, {10, "Seccion0"}};
  for (const auto& c : cases) {
    std::vector<char> buffer(c.size, 'X');
    const auto count = pliego::getPrivateProfileString(nullptr, nullptr, "", buffer.data(), c.size, ini.c_str());
    EXPECT_EQ(std::string(buffer.data(), count), c.expected) << c.size;
    EXPECT_EQ(buffer[count], '\0') << c.size;
    EXPECT_EQ(buffer[count + 1], '\0') << c.size;
  }
}

TEST_F(ProfileList, SectionListLongerThanTheBufferCountsSizeLessTwo) {
  give(manySections(700));  // 8,400 bytes of names
  const std::string list = read(nullptr, nullptr, "", 8192);
  EXPECT_EQ(list.size(), 8190u);
  EXPECT_EQ(list.substr(0, 12), "Seccion0000"s + '\0');
  EXPECT_EQ(list.substr(8172), "Seccion0681"s + '\0' + "Seccio");
}

TEST_F(ProfileList, KeyListIsCutTheSameWay) {
  give("[A]\r\nuno=1\r\ndos=2\r\ntres=3\r\n");
  EXPECT_EQ(read("A", nullptr, "", 10), "uno\0dos\0"s);
  EXPECT_EQ(read("A", nullptr, "", 14), "uno\0dos\0tres"s);
  EXPECT_EQ(read("A", nullptr, "", 15), "uno\0dos\0tres\0"s);
}

}  // namespace
