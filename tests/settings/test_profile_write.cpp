// Writing and deleting: where new lines go, what stays byte for byte, and
// what a write refuses.
#include <filesystem>

#include "settings/ini_fixture.hpp"
#include "support/platform_skips.hpp"

using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

class ProfileWrite : public IniFolder {};

TEST_F(ProfileWrite, FirstWriteCreatesTheFile) {
  EXPECT_NE(write("Oficina", "LPT", "1"), 0);
  EXPECT_EQ(contents(), "[Oficina]\r\nLPT=1\r\n");
  EXPECT_EQ(read("oficina", "lpt"), "1");
}

TEST_F(ProfileWrite, IntoAMissingFolderFailsAndCreatesNothing) {
  const std::string missing = folder.file("no-existe/Pliegomatic.ini");
  EXPECT_EQ(pliego::writePrivateProfileString("A", "x", "1", missing.c_str()), 0);
  EXPECT_EQ(pliego::writePrivateProfileString("A", "x", nullptr, missing.c_str()), 0);
  EXPECT_EQ(pliego::writePrivateProfileString("A", nullptr, nullptr, missing.c_str()), 0);
  EXPECT_FALSE(folder.exists("no-existe"));
}

TEST_F(ProfileWrite, UnderAFolderThatIsAFileFails) {
  folder.write("carpeta", "not a folder");
  const std::string path = folder.file("carpeta/Pliegomatic.ini");
  EXPECT_EQ(pliego::writePrivateProfileString("A", "x", "1", path.c_str()), 0);
  EXPECT_EQ(folder.read("carpeta"), "not a folder");
}

struct EditCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST_F(ProfileWrite, PlacesNewAndChangedEntries) {
  PLIEGO_SKIP_UNDER_WINE("Wine's profile functions rewrite the whole file in their own layout; Windows keeps every untouched byte");
  const EditCase cases[] = {
      {"new key after the section's last non-blank line", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
       "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"new key under an empty header", "[A]\r\n\r\n[B]\r\n", "a", "z", "3", "[A]\r\nz=3\r\n\r\n[B]\r\n"},
      {"new key in the first of two sections", "[A]\r\nx=1\r\n[a]\r\ny=2\r\n", "a", "y", "3",
       "[A]\r\nx=1\r\ny=3\r\n[a]\r\ny=2\r\n"},
      {"new section at the end", "[A]\r\nx=1\r\n\r\n", "B", "y", "2", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n"},
      {"new section after a last line without an end", "[A]\r\nx=1", "B", "y", "2",
       "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
      {"new key after a last line without an end", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\r\ny=2\r\n"},
      {"value replaced in place, spelling and spacing kept", "[Oficina]\n  Renglones =  72  \n[B]\r\n",
       "OFICINA", "RENGLONES", "80", "[Oficina]\n  Renglones =  80\n[B]\r\n"},
      {"only the first key of a name changes", "[A]\r\nx=1\r\nX=2\r\n", "A", "x", "9", "[A]\r\nx=9\r\nX=2\r\n"},
      {"line without '=' gets its value", "[A]\r\nsolo\r\n", "A", "SOLO", "1", "[A]\r\nsolo=1\r\n"},
      {"value loses leading blanks only", "", "A", "x", " \t hola  ", "[A]\r\nx=hola  \r\n"},
      {"names are stripped of blanks", "[A]\r\nx=1\r\n", " A ", " x\t", "2", "[A]\r\nx=2\r\n"},
      {"empty value", "[A]\r\nx=1\r\n", "A", "x", "", "[A]\r\nx=\r\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "2", "\xEF\xBB\xBF[A]\r\nx=2\r\n"},
      {"entries before the first header", "x=1\r\n[A]\r\n", "", "y", "2", "x=1\r\ny=2\r\n[A]\r\n"},
  };
  for (const auto& c : cases) {
    give(c.before);
    EXPECT_NE(write(c.section, c.key, c.value), 0) << c.name;
    EXPECT_EQ(contents(), c.after) << c.name;
  }
}

TEST_F(ProfileWrite, SameValueLeavesTheFileUntouched) {
  give("[A]\r\n  x =  72   \r\n");
  const ino_t before = inode();
  EXPECT_NE(write("a", "X", "72"), 0);
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(contents(), "[A]\r\n  x =  72   \r\n");
}

TEST_F(ProfileWrite, RefusesLineBreaksAndChangesNothing) {
  give("[A]\r\nx=1\r\n");
  EXPECT_EQ(write("A", "x", "dos\r\nlineas"), 0);
  EXPECT_EQ(write("A", "x", "lf\n"), 0);
  EXPECT_EQ(write("A", "x\r", "1"), 0);
  EXPECT_EQ(write("A\n[B]", "x", "1"), 0);
  EXPECT_EQ(contents(), "[A]\r\nx=1\r\n");
}

// The refusal stands in front of every write, whatever the platform does with
// the names: removals with a line break in a name are refused as well.
TEST_F(ProfileWrite, RefusesLineBreaksInRemovalsToo) {
  give("[A]\r\nx=1\r\n");
  EXPECT_EQ(write("A", "x\r\n", nullptr), 0);
  EXPECT_EQ(write("A\n", "x", nullptr), 0);
  EXPECT_EQ(write("A\r", nullptr, nullptr), 0);
  EXPECT_EQ(contents(), "[A]\r\nx=1\r\n");
  // The value of a section removal is not stored, so it may hold anything.
  EXPECT_NE(write("A", nullptr, "no\r\nimporta"), 0);
  EXPECT_EQ(contents(), "");
}

// A file as users leave it after editing by hand.
const std::string kHandEdited =
    "; Perfiles de la oficina\r\n"
    ";   no tocar\n"
    "\r\n"
    "  [ EPSON ]   ; matricial\r\n"
    "RENGLONES POR PAGINA =  72\r\n"
    "\tLPT=1 ; impresora del fondo\n"
    "Desconocida = algo  \r"
    "\r\n"
    "\r\n"
    "[Oficina 2]\n"
    "   NUMERO DE PAGINA   =   1  \n"
    "\n"
    "[Ultima]\r\n"
    "x=1";

TEST_F(ProfileWrite, HandEditedFileKeepsEveryUntouchedByte) {
  PLIEGO_SKIP_UNDER_WINE("Wine's profile functions rewrite the whole file in their own layout; Windows keeps every untouched byte");
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  const EditCase cases[] = {
      {"change a value", kHandEdited, "epson", "lpt", "2", replaced(kHandEdited, "LPT=1 ; impresora del fondo\n", "LPT=2\n")},
      {"add a key", kHandEdited, "Oficina 2", "LPT", "3",
       replaced(kHandEdited, "=   1  \n\n", "=   1  \nLPT=3\r\n\n")},
      {"delete a key", kHandEdited, "EPSON", "Desconocida", nullptr,
       replaced(kHandEdited, "Desconocida = algo  \r", "")},
      {"add a section", kHandEdited, "Nueva", "k", "v", kHandEdited + "\r\n[Nueva]\r\nk=v\r\n"},
  };
  for (const auto& c : cases) {
    give(c.before);
    EXPECT_NE(write(c.section, c.key, c.value), 0) << c.name;
    EXPECT_EQ(contents(), c.after) << c.name;
  }
}

class ProfileDelete : public IniFolder {};

TEST_F(ProfileDelete, RemovesLinesAndSections) {
  PLIEGO_SKIP_UNDER_WINE("Wine's profile functions drop blank lines and normalise spacing and line ends; Windows does not");
  const EditCase cases[] = {
      {"a key, header stays", "[A]\r\nx=1\r\n[B]\r\n", "a", "X", nullptr, "[A]\r\n[B]\r\n"},
      {"a key of the first section of that name that has it", "[A]\r\nx=1\r\n[a]\r\ny=2\r\ny=3\r\n", "A", "y",
       nullptr, "[A]\r\nx=1\r\n[a]\r\ny=3\r\n"},
      {"a key without '='", "[A]\r\nsolo\r\nx=1\r\n", "A", "solo", nullptr, "[A]\r\nx=1\r\n"},
      {"the last line, without an end", "[A]\r\nx=1\r\ny=2", "A", "y", nullptr, "[A]\r\nx=1\r\n"},
      {"a section with its lines", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n[A]\r\nz=3\r\n", "a", nullptr, nullptr,
       "[B]\r\ny=2\r\n[A]\r\nz=3\r\n"},
      {"a section in the middle", "[A]\r\n[B]\n\ny=2\n[C]\n", "B", nullptr, nullptr, "[A]\r\n[C]\n"},
      {"the last section leaves an empty file", "[A]\r\nx=1\r\n", "A", nullptr, nullptr, ""},
      {"a section, the value ignored", "[A]\r\n[B]\r\n", "B", nullptr, "ignorado", "[A]\r\n"},
  };
  for (const auto& c : cases) {
    give(c.before);
    EXPECT_NE(write(c.section, c.key, c.value), 0) << c.name;
    EXPECT_EQ(contents(), c.after) << c.name;
  }
  EXPECT_TRUE(folder.exists("Pliegomatic.ini"));
}

TEST_F(ProfileDelete, WhatIsNotThereSucceedsWithoutTouchingTheFile) {
  give("[A]\r\nx=1\r\n");
  const ino_t before = inode();
  EXPECT_NE(write("A", "y", nullptr), 0);
  EXPECT_NE(write("B", "x", nullptr), 0);
  EXPECT_NE(write("B", nullptr, nullptr), 0);
  EXPECT_NE(write(" A", "x", nullptr), 0);  // names are compared as passed
  EXPECT_NE(write("A", " x", nullptr), 0);
  EXPECT_NE(write(" A ", nullptr, nullptr), 0);
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(contents(), "[A]\r\nx=1\r\n");
}

TEST_F(ProfileDelete, OnAMissingFileSucceedsAndCreatesNothing) {
  EXPECT_NE(write("A", "x", nullptr), 0);
  EXPECT_NE(write("A", nullptr, nullptr), 0);
  EXPECT_FALSE(folder.exists("Pliegomatic.ini"));
}

}  // namespace
