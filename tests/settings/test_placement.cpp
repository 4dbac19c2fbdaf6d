// Window placement saved to and restored from the current section.
#include <map>
#include <stdexcept>

#include "settings/cinifile.hpp"
#include "settings/ini_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

struct FakeWindow : PlacementWindow {
  int state = 0;
  double left = 0, top = 0, width = 0, height = 0;
  bool widthFails = false;     // as if the window had no Width
  std::vector<std::string> events;  // moves and state changes, in order

  int WindowState() const override { return state; }
  void SetWindowState(int s) override {
    state = s;
    events.push_back("state " + std::to_string(s));
  }
  double Left() const override { return left; }
  double Top() const override { return top; }
  double Width() const override {
    if (widthFails) throw std::runtime_error("no Width");
    return width;
  }
  double Height() const override { return height; }
  void Move(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) override {
    left = l, top = t, width = w, height = h;
    events.push_back("move " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(w) + " " +
                     std::to_string(h));
  }
};

// 800 x 600 pixels at 15 twips per pixel.
const ScreenMetrics kScreen{12000, 9000, 15, 15};

class PlacementFixture : public IniFolder {
 protected:
  cInifile ini_;
  FakeWindow window_;
  void SetUp() override {
    ini_.Path(ini);
    ini_.Section("frmPrueba");
    ini_.Key("clave actual");
    ini_.Default("por defecto");
  }
  // A section holding exactly these keys and values.
  void store(const std::map<std::string, std::string>& keys) const {
    std::string file = "[Otra]\r\nLeft=1\r\n[frmPrueba]\r\n";
    for (const auto& [key, value] : keys) file += key + "=" + value + "\r\n";
    give(file);
  }
  void expectAccessorRestored() const {
    EXPECT_EQ(ini_.Key(), "clave actual");
    EXPECT_EQ(ini_.Default(), "por defecto");
    EXPECT_EQ(ini_.Section(), "frmPrueba");
  }
};

class PlacementSave : public PlacementFixture {};

TEST_F(PlacementSave, NormalWindowWritesStateThenEdges) {
  window_ = FakeWindow{};
  window_.left = 1200, window_.top = 900, window_.width = 6000, window_.height = 4500;
  ini_.SaveFormPosition(window_);
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(contents(), "[frmPrueba]\r\nMaximised=0\r\nLeft=1200\r\nTop=900\r\nWidth=6000\r\nHeight=4500\r\n");
  expectAccessorRestored();
}

TEST_F(PlacementSave, MaximisedWindowWritesOnlyTheFlag) {
  store({{"Left", "100"}, {"Maximised", "0"}, {"Width", "4000"}});
  window_.state = 2;
  window_.left = 7, window_.width = 8;
  ini_.SaveFormPosition(window_);
  EXPECT_TRUE(ini_.Success());
  EXPECT_EQ(contents(), "[Otra]\r\nLeft=1\r\n[frmPrueba]\r\nLeft=100\r\nMaximised=1\r\nWidth=4000\r\n");
  expectAccessorRestored();
}

TEST_F(PlacementSave, MinimisedWindowWritesNothing) {
  window_.state = 1;
  ini_.SaveFormPosition(window_);
  EXPECT_FALSE(folder.exists("Pliegomatic.ini"));
  EXPECT_FALSE(ini_.Success());
  store({{"Left", "100"}});
  ini_.Key("x");
  ini_.Value("1");  // a good write before
  ini_.Key("clave actual");
  const std::string before = contents();
  ini_.SaveFormPosition(window_);
  EXPECT_EQ(contents(), before);
  EXPECT_TRUE(ini_.Success());
  expectAccessorRestored();
}

TEST_F(PlacementSave, FailurePartWayKeepsEarlierKeys) {
  window_.left = 10, window_.top = 20, window_.widthFails = true;
  ini_.SaveFormPosition(window_);
  EXPECT_EQ(ini_.LastReturnCode(), 0);
  EXPECT_EQ(contents(), "[frmPrueba]\r\nMaximised=0\r\nLeft=10\r\nTop=20\r\n");
  expectAccessorRestored();
}

TEST_F(PlacementSave, RefusedWritesShowOnlyInTheReturnCode) {
  ini_.Path(folder.file("falta/Pliegomatic.ini"));
  ini_.SaveFormPosition(window_);
  EXPECT_FALSE(ini_.Success());
  ini_.Path(ini);
  expectAccessorRestored();
}

class PlacementLoad : public PlacementFixture {};

struct LoadCase {
  const char* name;
  std::map<std::string, std::string> stored;
  double left, top, width, height;  // the window before
  std::vector<std::string> events;
};

TEST_F(PlacementLoad, KeepsTheWindowOnTheScreenAndAboveTheMinimum) {
  const LoadCase cases[] = {
      {"no keys: stays", {}, 1500, 1200, 4500, 3000, {"move 1500 1200 4500 3000"}},
      {"no keys: into the margins, grown to the minimum", {}, -300, 0, 1000, 2000, {"move 60 60 3000 3000"}},
      {"stored placement", {{"Left", "600"}, {"Top", "450"}, {"Width", "5000"}, {"Height", "4000"}},
       0, 0, 3000, 3000, {"move 600 450 5000 4000"}},
      {"narrow width grows", {{"Left", "600"}, {"Width", "1000"}}, 0, 450, 4000, 4000, {"move 600 450 3000 4000"}},
      {"pushed left from the right edge", {{"Left", "11000"}, {"Width", "4000"}}, 0, 450, 0, 4000,
       {"move 7940 450 4000 4000"}},
      {"too wide: at the margin and narrowed", {{"Left", "11000"}, {"Width", "13000"}}, 0, 450, 0, 4000,
       {"move 60 450 11880 4000"}},
      {"too tall: at the margin and shortened", {{"Top", "500"}, {"Height", "10000"}}, 600, 0, 4000, 0,
       {"move 600 60 4000 8880"}},
      {"pushed up from the bottom edge", {{"Top", "8000"}, {"Height", "3000"}}, 600, 0, 4000, 0,
       {"move 600 5940 4000 3000"}},
      {"blanks and halves", {{"Left", " 1440 "}, {"Top", "1440.5"}, {"Width", "4441.5"}, {"Height", "3000"}}, 0, 0,
       0, 0, {"move 1440 1440 4442 3000"}},
      {"text that does not convert", {{"Left", "abc"}, {"Top", ""}, {"Width", "1e99"}, {"Height", "4000"}}, 900,
       800, 5000, 0, {"move 900 800 5000 4000"}},
      {"fraction of the window's own place", {}, 1000.5, 1001.5, 4000, 3000, {"move 1000 1002 4000 3000"}},
      {"maximised after the move", {{"Maximised", "1"}, {"Left", "600"}}, 0, 600, 4000, 4000,
       {"move 600 600 4000 4000", "state 2"}},
      {"maximised as a word is not", {{"Maximised", "yes"}}, 600, 600, 4000, 4000, {"move 600 600 4000 4000"}},
      {"maximised as zero is not", {{"Maximised", "0"}}, 600, 600, 4000, 4000, {"move 600 600 4000 4000"}},
  };
  for (const auto& c : cases) {
    store(c.stored);
    window_ = FakeWindow{};
    window_.left = c.left, window_.top = c.top, window_.width = c.width, window_.height = c.height;
    ini_.LoadFormPosition(window_, kScreen);
    EXPECT_EQ(window_.events, c.events) << c.name;
    expectAccessorRestored();
  }
}

TEST_F(PlacementLoad, MinimumLargerThanTheScreenAllowsMovesNothing) {
  store({{"Left", "600"}, {"Width", "5000"}});
  window_.left = 1, window_.top = 2, window_.width = 3, window_.height = 4;
  ini_.LoadFormPosition(window_, ScreenMetrics{3000, 9000, 15, 15});  // 200 pixels wide
  EXPECT_TRUE(window_.events.empty());
  ini_.LoadFormPosition(window_, kScreen, 11881, 3000);
  EXPECT_TRUE(window_.events.empty());
  ini_.LoadFormPosition(window_, kScreen, 11880, 3000);
  EXPECT_EQ(window_.events, std::vector<std::string>{"move 60 60 11880 3000"});
}

TEST_F(PlacementLoad, ValuesAreRoundedAfterTheComparisons) {
  // Four pixels of 15.375 twips are 61.5 twips: Left 61 is inside the margin
  // and becomes 62 (the half goes to the even neighbour).
  store({{"Left", "61"}, {"Top", "62"}, {"Width", "4000"}, {"Height", "4000"}});
  ini_.LoadFormPosition(window_, ScreenMetrics{12000, 9000, 15.375, 15.375});
  EXPECT_EQ(window_.events, std::vector<std::string>{"move 62 62 4000 4000"});
  // A margin of 60.5 twips: 7941 + 3999 = 11940 passes 12000 - 60.5, so the
  // window moves to 12000 - 60.5 - 3999 = 7940.5, which rounds to 7940.
  store({{"Left", "7941"}, {"Top", "61"}, {"Width", "3999"}, {"Height", "4000"}});
  window_.events.clear();
  ini_.LoadFormPosition(window_, ScreenMetrics{12000, 9000, 15.125, 15.125});
  EXPECT_EQ(window_.events, std::vector<std::string>{"move 7940 61 3999 4000"});
}

TEST_F(PlacementLoad, LeavesTheReturnCodeAsItWas) {
  ini_.Key("x");
  ini_.Value("1");
  ini_.Key("clave actual");
  ASSERT_TRUE(ini_.Success());
  ini_.LoadFormPosition(window_, kScreen);
  EXPECT_TRUE(ini_.Success());
}

TEST_F(PlacementLoad, SumOutsideTheIntegerRangeEndsQuietly) {
  store({{"Left", "2147483000"}, {"Width", "3000"}, {"Maximised", "1"}});
  ini_.Key("x");
  ini_.Value("1");
  ini_.Key("clave actual");
  ini_.LoadFormPosition(window_, kScreen);
  EXPECT_TRUE(window_.events.empty());
  EXPECT_EQ(ini_.LastReturnCode(), 0);
  expectAccessorRestored();
}

TEST_F(PlacementLoad, WindowPlaceOutsideTheIntegerRangeEndsQuietly) {
  store({{"Maximised", "1"}});
  window_.left = 3e9;
  ini_.Key("x");
  ini_.Value("1");
  ini_.Key("clave actual");
  ini_.LoadFormPosition(window_, kScreen);
  EXPECT_TRUE(window_.events.empty());
  EXPECT_FALSE(ini_.Success());
  expectAccessorRestored();
}

TEST(CLngDefault, ConvertsTheWholeTextOrGivesTheDefault) {
  const cInifile ini;
  struct Case {
    const char* text;
    std::int32_t fallback;
    std::int32_t expected;
  };
  const Case cases[] = {
      {" 1440 ", 7, 1440},           {"1440.5", 7, 1440},           {"1441.5", 7, 1442},
      {"-2.5", 7, -2},               {"abc", 500, 500},             {"", 7, 7},
      {"12abc", 7, 7},               {"2147483647", 7, 2147483647}, {"2147483648", 7, 7},
      {"-2147483648", 7, INT32_MIN}, {"2147483647.5", 7, 7},        {"-2147483648.5", 7, INT32_MIN},
      {"1,440", 7, 1440},            {"FAIL", -1, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ini.CLngDefault(c.text, c.fallback), c.expected) << c.text;
  EXPECT_EQ(ini.CLngDefault(""), 0);
}

TEST(CLngDefault, ReadsTheUsersDecimalComma) {
  cInifile ini;
  ini.setNumberFormat(NumberFormat{',', '.'});
  EXPECT_EQ(ini.CLngDefault("1440,5", 7), 1440);
  EXPECT_EQ(ini.CLngDefault("1441,5", 7), 1442);
  EXPECT_EQ(ini.CLngDefault("1.440", 7), 1440);
}

}  // namespace
