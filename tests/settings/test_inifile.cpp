// cInifile on real files: values, defaults, deletes, lists and the result of
// the last write.
#include "settings/cinifile.hpp"

#include <filesystem>

#include "settings/ini_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;
using namespace std::string_literals;

namespace {

class IniFileAccessor : public IniFolder {
 protected:
  cInifile ini_;
  void SetUp() override {
    ini_.Path(ini);
    ini_.Section("Oficina");
    ini_.Key("LPT");
  }
};

TEST_F(IniFileAccessor, MissingFileReadsEmpty) {
  EXPECT_FALSE(ini_.Success());
  EXPECT_EQ(ini_.LastReturnCode(), 0);
  EXPECT_EQ(ini_.Value(), "");
  EXPECT_EQ(ini_.Sections(), "");
  EXPECT_EQ(ini_.INISection(), "");
  std::vector<std::string> names{"viejo", "otro"};
  std::int32_t count = 7;
  ini_.EnumerateAllSections(names, count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(names.empty());
  names = {"viejo"};
  count = 7;
  ini_.EnumerateCurrentSection(names, count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(folder.exists("Pliegomatic.ini"));
}

TEST_F(IniFileAccessor, MissingKeyReadsTheAssignedDefault) {
  give("[Oficina]\r\nOtra=1\r\n");
  ini_.Default("sin valor");
  EXPECT_EQ(ini_.Value(), "sin valor");
  ini_.Key("otra");
  EXPECT_EQ(ini_.Value(), "1");
}

TEST_F(IniFileAccessor, ValueIsStoredWithoutItsNuls) {
  ini_.Value("\0a\0\0b c\0"s);
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(contents(), "[Oficina]\r\nLPT=ab c\r\n");
  EXPECT_EQ(ini_.Value(), "ab c");
}

TEST_F(IniFileAccessor, LongValueReadsBackCutTo254) {
  std::string value;
  for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + i % 26);
  ini_.Value(value);
  EXPECT_EQ(ini_.Value(), value.substr(0, 254));
  EXPECT_NE(contents().find(value), std::string::npos);  // stored whole
}

TEST_F(IniFileAccessor, WriteIntoAMissingFolderFailsUntilTheNextGoodWrite) {
  ini_.Path(folder.file("falta/Pliegomatic.ini"));
  ini_.Value("1");
  EXPECT_FALSE(ini_.Success());
  EXPECT_EQ(ini_.LastReturnCode(), 0);
  ini_.Path(ini);
  ini_.Value("1");
  EXPECT_TRUE(ini_.Success());
  EXPECT_NE(ini_.LastReturnCode(), 0);
}

TEST_F(IniFileAccessor, OnlyWritesChangeTheLastReturnCode) {
  give("[Oficina]\r\nLPT=1\r\n");
  ini_.Value("2");
  ASSERT_TRUE(ini_.Success());
  ini_.Path(folder.file("falta/x.ini"));
  (void)ini_.Value();
  (void)ini_.Sections();
  std::vector<std::string> names;
  std::int32_t count = 0;
  ini_.EnumerateAllSections(names, count);
  EXPECT_TRUE(ini_.Success());
  ini_.DeleteKey();
  EXPECT_FALSE(ini_.Success());
  ini_.Path(ini);
  (void)ini_.Value();
  (void)ini_.INISection();
  EXPECT_FALSE(ini_.Success());
  ini_.DeleteSection();
  EXPECT_TRUE(ini_.Success());
}

TEST_F(IniFileAccessor, DeleteKeyRemovesOneEntry) {
  give("[Oficina]\r\nLPT=1\r\nRenglones=72\r\n[Otra]\r\nLPT=3\r\n");
  ini_.DeleteKey();
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(contents(), "[Oficina]\r\nRenglones=72\r\n[Otra]\r\nLPT=3\r\n");
  EXPECT_EQ(ini_.Key(), "LPT");
  EXPECT_EQ(ini_.Section(), "Oficina");
}

TEST_F(IniFileAccessor, DeleteSectionRemovesItWithItsEntries) {
  give("[Otra]\r\nx=1\r\n[Oficina]\r\nLPT=1\r\nRenglones=72\r\n[Ultima]\r\n");
  ini_.DeleteSection();
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(contents(), "[Otra]\r\nx=1\r\n[Ultima]\r\n");
}

TEST_F(IniFileAccessor, AssigningINISectionRemovesTheSection) {
  give("[Oficina]\r\nLPT=1\r\n[Otra]\r\nx=1\r\n");
  ini_.INISection("TEXTO ASIGNADO");
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(contents(), "[Otra]\r\nx=1\r\n");
}

class IniEnumerations : public IniFileAccessor {};

TEST_F(IniEnumerations, AllSectionsInFileOrderReplacingAStaleArray) {
  give("[A]\r\nx=1\r\n[B]\r\n[C]\r\ny=2\r\n");
  std::vector<std::string> names{"viejo1", "viejo2", "viejo3", "viejo4"};
  std::int32_t count = 99;
  ini_.EnumerateAllSections(names, count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(ini_.Sections(), "A\0B\0C\0"s);
}

TEST_F(IniEnumerations, KeysOfTheCurrentSectionInFileOrder) {
  give("[Otra]\r\nz=0\r\n[oficina]\r\nRenglones=72\r\n;nota=x\r\n=sin nombre\r\nLPT=1\r\n");
  std::vector<std::string> keys{"viejo"};
  std::int32_t count = 0;
  ini_.EnumerateCurrentSection(keys, count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(keys, (std::vector<std::string>{"Renglones", "", "LPT"}));  // an empty name stays
  EXPECT_EQ(ini_.INISection(), "Renglones\0\0LPT\0"s);
}

TEST_F(IniEnumerations, DefaultTextIsNoKeyName) {
  give("[Otra]\r\nz=0\r\n");
  ini_.Default("nada");
  EXPECT_EQ(ini_.INISection(), "nada");
  std::vector<std::string> keys{"viejo"};
  std::int32_t count = 5;
  ini_.EnumerateCurrentSection(keys, count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(keys.empty());
}

TEST_F(IniEnumerations, LongSectionListLosesItsCutName) {
  std::string file;
  for (int i = 0; i < 700; ++i) file += "[Seccion" + std::to_string(1000 + i) + "]\r\n";
  give(file);  // 700 names of 11 bytes: 8,400 bytes with their NULs
  EXPECT_EQ(ini_.Sections().size(), 8190u);
  std::vector<std::string> names;
  std::int32_t count = 0;
  ini_.EnumerateAllSections(names, count);
  ASSERT_EQ(count, 682);
  ASSERT_EQ(names.size(), 682u);
  EXPECT_EQ(names.front(), "Seccion1000");
  EXPECT_EQ(names.back(), "Seccion1681");
}

}  // namespace
