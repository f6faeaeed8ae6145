// The vocabulary of the project settings: menu measuring, the window text of a text menu, shown
// menu entries, ranking-kind counts, the font faces and the colour-mode labels.
#include "project/system_texts.h"

#include <gtest/gtest.h>

#include "project/font_faces.h"
#include "tests/project/system_fixture.h"

namespace {

TEST_F(SystemDataTest, MenuTextLeftXCentresTheWidestText) {
  struct LeftCase {
    int centreX, first, count, extra;
    int left;
  };
  const LeftCase cases[] = {
      {320, 19, 3, 1, 264},  // "しゅうりょう" is the widest: (6 + 1) cells
      {320, 19, 2, 0, 272},
      {320, 19, 0, 0, 320},
      {320, 19, 0, 1, 312},
      {320, 19, -4, 0, 320},
      {304, 10, 2, 0, 248},  // two texts of 7 characters
      {320, 27, 1, 0, 216},  // "F3キーでランキングへ登録": 13 characters of mixed width
      {320, 27, 1, 1, 208},
      {0, 8, 2, 0, -32},  // "残りHP", "残りSP"
  };
  cSystemData s;
  for (const LeftCase& c : cases) {
    EXPECT_EQ(s.MenuTextLeftX(c.centreX, c.first, c.count, c.extra), c.left)
        << c.centreX << ", " << c.first << ", " << c.count << ", " << c.extra;
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

// Project texts go into the window text as data: a "%" stays a "%", whatever follows it.
TEST_F(SystemDataTest, TextMenuKeepsPercentSignsLiterally) {
  cSystemData s;
  s.m_UiTexts.At(19) = "100%";
  s.m_UiTexts.At(20) = "%s%d%n%%";
  s.m_UiTexts.At(21) = SJ("リトライ");
  struct ComposeCase {
    int count, extra;
    std::string text;
    int width;
  };
  const ComposeCase cases[] = {
      {3, 0, "100%\n%s%d%n%%\n" + SJ("リトライ") + "\n", 8},
      {3, 1, " 100%\n %s%d%n%%\n " + SJ("リトライ") + "\n", 9},
      {1, 0, "100%\n", 4},
      {0, 0, "", 0},
      {0, 1, "", 1},
  };
  std::string text = "stale";
  int width = -1;
  for (const ComposeCase& c : cases) {
    s.ComposeSystemTextMenu(19, c.count, c.extra, text, width);
    EXPECT_EQ(text, c.text) << c.count << ", " << c.extra;
    EXPECT_EQ(width, c.width) << c.count << ", " << c.extra;
  }
  EXPECT_EQ(s.MenuTextLeftX(320, 20, 1, 0), 320 - 4 * 16);
}

TEST(SystemTextsTest, AppendFormatAppendsWholeResults) {
  std::string text = "head:";
  EXPECT_EQ(&AppendFormat(text, "%d-%s", 7, "x"), &text);
  EXPECT_EQ(text, "head:7-x");
  // Beyond the 5120-byte room of one piece, the result is still whole and nothing overflows.
  const std::string longText(6000, 'a');
  AppendFormat(text, "[%s]", longText.c_str());
  EXPECT_EQ(text, "head:7-x[" + longText + "]");
  std::string exact;
  AppendFormat(exact, "%s", std::string(5119, 'b').c_str());
  AppendFormat(exact, "%s", std::string(5120, 'c').c_str());
  EXPECT_EQ(exact, std::string(5119, 'b') + std::string(5120, 'c'));
}

TEST(SystemTextsTest, ShownMenuEntriesFallBackToEntryZero) {
  struct MenuCase {
    std::vector<std::int32_t> shown;
    std::vector<int> entries;
  };
  const MenuCase cases[] = {
      {{1, 1, 1, 1}, {0, 1, 2, 3}},
      {{1, 0, 1, 0, 1, 0, 1}, {0, 2, 4, 6}},
      {{0, 0, 5, -1}, {2, 3}},
      {{0, 0, 0, 0}, {0}},
      {{0}, {0}},
      {{}, {}},
  };
  std::vector<int> entries = {99};
  for (const MenuCase& c : cases) {
    std::vector<cSystemMenuItem> menu(c.shown.size());
    for (std::size_t i = 0; i < menu.size(); ++i) menu[i].m_Shown = c.shown[i];
    ShownMenuEntries(menu, entries);
    EXPECT_EQ(entries, c.entries) << testing::PrintToString(c.shown);
  }
}

TEST_F(SystemDataTest, CountSystemFlagsCountsSetKindsOfEnabledSets) {
  struct CountCase {
    std::int32_t enabled;
    std::vector<std::uint8_t> flags;
    std::uint32_t count;
  };
  const CountCase cases[] = {
      {0, {1, 1, 1, 1, 1}, 0}, {1, {1, 1, 1, 1, 1}, 5}, {1, {0, 2, 0, 255, 0}, 2},
      {-1, {1, 0, 0, 0, 0}, 1}, {1, {}, 0},           {1, {1, 1, 1, 1, 1, 1, 1}, 7},
  };
  for (const CountCase& c : cases) {
    cSystemData s;
    s.m_RankingSets.At(2).m_Enabled = c.enabled;
    s.m_RankingSets.At(2).m_Flags.assign(c.flags.begin(), c.flags.end());
    EXPECT_EQ(s.CountSystemFlags(2), c.count) << c.enabled << " " << testing::PrintToString(c.flags);
  }
  cSystemData s;
  EXPECT_EQ(s.CountSystemFlags(0), 5u);
  EXPECT_EQ(s.CountSystemFlags(3), 0u);
}

TEST(SystemTextsTest, FontFaceTableRows) {
  ASSERT_EQ(FontFaceTable.Size(), 123);
  EXPECT_EQ(FontFaceTable[0], "System");
  EXPECT_EQ(FontFaceTable[59], "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
  EXPECT_EQ(FontFaceTable[60], "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");
  EXPECT_EQ(FontFaceTable[61], "MS UI Gothic");
  // Half-width katakana belong to the names: one byte each.
  EXPECT_EQ(FontFaceTable[86], "HG\xba\xde\xbc\xaf\xb8\x45");
  EXPECT_EQ(FontFaceTable[101], "MT Extra");
  EXPECT_EQ(FontFaceTable[121], "Sydnie");
  EXPECT_EQ(FontFaceTable[122], "");
}

TEST_F(SystemDataTest, FontFaceOutsideTheTableIsTheDefaultFace) {
  const std::string& standard = FontFaceTable[60];
  const std::pair<std::int32_t, std::string> cases[] = {
      {0, "System"}, {60, standard}, {121, "Sydnie"}, {122, standard}, {123, standard}, {-1, standard},
      {100000, standard},
  };
  for (const auto& [index, face] : cases) {
    cSystemData s;
    s.m_FontFaceIndex = index;
    EXPECT_EQ(s.FontFace(), face) << index;
    EXPECT_EQ(FontFaceName(index), face) << index;
  }
}

TEST(SystemTextsTest, ColourModeLabels) {
  ASSERT_EQ(ColourModeLabels.Size(), 3);
  EXPECT_EQ(ColourModeLabels[0], SJ("256色(8bit) カラーパレットあり"));
  EXPECT_EQ(ColourModeLabels[1], SJ("1677万色(24bit) カラーパレットなし"));
  EXPECT_EQ(ColourModeLabels[2], "");
}

}  // namespace
