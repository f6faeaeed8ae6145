// The text of message windows: the "#" codes that show variable values, and the size of a window
// around a text.
#include <string>

#include "tests/play/message_fixture.h"

namespace {

TEST_F(MessageWindowTest, TextCodesShowVariableValues) {
  Start(BackEnd::DirectDraw);
  auto& common = g_SaveData.m_Variables;
  auto& stage = m_Scene->m_StageVars;
  struct Case {
    const char* text;
    std::int32_t c5;
    const char* shown;
  };
  const Case cases[] = {
      {"#C5", 42, "42"},
      {"#C5_4", 42, "  42"},
      {"#C5_4Z", 42, "0042"},
      {"#C5_P.", 42, "+42"},
      {"#C5_3", -7, "-  7"},
      {"#C5_3P", 7, "+  7"},
      {"#C5_2", 12345, "12345"},  // the width is a minimum
      {"#C5_0", 0, "0"},
      {"#c5_z3.x", 42, "042x"},  // small letters; each width digit replaces the one before
      {"#C5_39", 1, "        1"},
      {"#C5_4.5", 42, "  425"},  // the full stop ends the code and goes with it
      {"#C5..", 42, "42."},
      {"HP #C1_3Z.", 0, "HP 005"},
      {"#C0 #C300 #X1 # #C #_3 #S", 42, "#C0 #C300 #X1 # #C #_3 #S"},
      {"#C99999999999999999999", 42, "#C99999999999999999999"},  // a huge index stays as typed
      {"#S3 #s3", 42, "-9 -9"},
      {"#SC3 #C3S", 42, "11 11"},  // C wins over S
      {"#C5#C5", 42, "4242"},
      {"#C5_4C", 42, "  42C"},  // a letter after the underscore ends the code
      {"#C2147483647", 42, "#C2147483647"},
      {"##C5", 42, "#42"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    common.Fill(0);
    common.At(5) = static_cast<std::uint32_t>(c.c5);
    common.At(1) = 5;
    common.At(3) = 11;
    stage.At(3) = -9;
    std::string text = c.text;
    ParseMessageText(text);
    EXPECT_EQ(text, c.shown);
  }
}

TEST_F(MessageWindowTest, TextCodesPassOverDoubleByteCharactersAndReadCheckedVectors) {
  Start(BackEnd::DirectDraw);
  g_SaveData.m_Variables.At(5) = 42;
  // 0x81 0x23 is not a character (0x23 is no trail byte), so its "#" is a code; 0x82 0x40 is one.
  std::string lone = "\x81#C5";
  ParseMessageText(lone);
  EXPECT_EQ(lone, "\x81" "42");
  // A trail byte equal to "#" never occurs, but a code right after a double-byte character does.
  std::string after = "\x82\x40#C5";
  ParseMessageText(after);
  EXPECT_EQ(after, "\x82\x40" "42");

  // The last stage variable is read through the bounds check whatever the vector's length.
  m_Scene->m_StageVars.Fill(6);
  std::string last = "#S255";
  ParseMessageText(last);
  EXPECT_EQ(last, "6");

  // No variables made yet: the codes stay.
  g_SaveData.m_Variables.clear();
  m_Scene->m_StageVars.clear();
  std::string none = "#C5 #S5";
  ParseMessageText(none);
  EXPECT_EQ(none, "#C5 #S5");
}

TEST_F(MessageWindowTest, WindowSizeIsTheTextsMeasurePlusTwoDots) {
  struct Case {
    std::int32_t pitch;
    std::string text;
    std::int32_t width, height;
  };
  const std::string longLine(5000, '#');
  const Case cases[] = {
      {16, "", 2, 18},
      {16, "##", 34, 18},
      {16, SJ("■#\n#"), 34, 34},  // a double-byte character is one cell
      {16, "#\n\n#", 18, 50},
      {16, longLine, 5000 * 16 + 2, 18},  // lines of any length
      {0, "i#", 3 + 8 + 2, 18},
      {0, longLine, 5000 * 8 + 2, 18},
  };
  for (BackEnd backEnd : kBackEnds) {
    Start(backEnd);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(BackEndName(backEnd)) + " pitch " + std::to_string(c.pitch) + " " +
                   c.text.substr(0, 8));
      MakeFont(c.pitch);
      std::int32_t width = 0, height = 0;
      MeasureMessageText(width, height, c.text);
      EXPECT_EQ(width, c.width);
      EXPECT_EQ(height, c.height);
    }
  }
}

}  // namespace
