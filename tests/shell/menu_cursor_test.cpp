#include "shell/menu_cursor.h"

#include <gtest/gtest.h>

#include "platform/audio/sound_effects.h"
#include "platform/host/trace.h"
#include "platform/services/log.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

cInput InputOf(std::uint16_t direction) {
  cInput input;
  input.m_Direction = direction;
  return input;
}

class MenuCursorTest : public ::testing::Test {
 protected:
  void SetUp() override { g_MenuCursor.Reset(); }
  void TearDown() override { g_MenuCursor.Reset(); }
  cMenuCursor m_Cursor;
};

TEST_F(MenuCursorTest, GridWrapsAtBothEndsAndPlacesTheCursor) {
  struct sCase {
    std::int32_t columns, rows;
    CursorState start;
    std::uint16_t direction;
    std::int32_t column, row;
  };
  // clang-format off
  const sCase cases[] = {
      {1, 2, {0, 0, 0, 0}, kDirUp, 0, 1},                 // two entries: up from the first is the last
      {1, 2, {0, 1, 0, 0}, kDirDown, 0, 0},               // and down from the last the first
      {3, 4, {0, 2, 0, 0}, kDirLeft, 2, 2},               // across wraps the same way
      {3, 4, {2, 3, 0, 0}, kDirRight | kDirDown, 0, 0},   // both axes in one move
      {3, 4, {1, 1, 0, 0}, kDirLeft | kDirRight, 0, 1},   // left wins over right
      {3, 4, {1, 1, 0, 0}, kDirUp | kDirDown, 1, 0},      // up wins over down
      {1, 3, {0, 7, 0, 0}, 0, 0, 0},                      // a row beyond the menu comes back to the top
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "start " << c.start.column << "," << c.start.row << " dir " << c.direction);
    *m_Cursor.current = c.start;
    m_Cursor.MoveGrid(InputOf(c.direction), 100, 50, 20, 32, c.columns, c.rows);
    EXPECT_EQ(m_Cursor.current->column, c.column);
    EXPECT_EQ(m_Cursor.current->row, c.row);
    EXPECT_EQ(m_Cursor.current->x, c.column * 20 + 100);
    EXPECT_EQ(m_Cursor.current->y, c.row * 32 + 50);
  }
  // A negative size moves nothing.
  *m_Cursor.current = {1, 1, 5, 5};
  m_Cursor.MoveGrid(InputOf(kDirDown), 0, 0, 16, 16, -1, 3);
  EXPECT_EQ(*m_Cursor.current, (CursorState{1, 1, 5, 5}));
}

TEST_F(MenuCursorTest, ListScrollsPagesAndClamps) {
  struct sCase {
    const char* what;
    std::int32_t vertical;
    std::int32_t count, visible, paging;
    std::int32_t index, top;
    std::uint16_t direction;
    std::int32_t wantIndex, wantTop;
  };
  // clang-format off
  const sCase cases[] = {
      {"page down on the last page goes to the last entry", 1, 99, 10, 1, 95, 89, kDirRight, 98, 89},
      {"page up on the first page goes to the first entry", 1, 99, 10, 1, 5, 0, kDirLeft, 0, 0},
      {"a page is one entry short of the window",          1, 99, 10, 1, 0, 0, kDirRight, 9, 9},
      {"page up moves back by the same",                   1, 99, 10, 1, 20, 18, kDirLeft, 11, 9},
      {"down at the window's foot scrolls by one",         1, 99, 10, 1, 9, 0, kDirDown, 10, 1},
      {"up at the window's head scrolls by one",           1, 99, 10, 1, 10, 10, kDirUp, 9, 9},
      {"a single step never wraps at the end",             1, 99, 10, 1, 98, 89, kDirDown, 98, 89},
      {"nor at the start",                                 1, 99, 10, 1, 0, 0, kDirUp, 0, 0},
      {"a short list keeps its top",                       1, 3, 10, 1, 2, 0, kDirDown, 2, 0},
      {"paging off: left and right do nothing",            1, 99, 10, 0, 4, 0, kDirRight, 4, 0},
      {"an empty list stays on entry 0",                   1, 0, 0, 1, 0, 0, kDirDown, 0, 0},
      {"across: down is still the single step",            0, 8, 5, 0, 0, 0, kDirDown, 1, 0},
      {"across: up is still the single step back",         0, 8, 5, 0, 3, 1, kDirUp, 2, 1},
      {"across: right without paging does nothing",        0, 8, 5, 0, 2, 0, kDirRight, 2, 0},
      {"across: left without paging does nothing",         0, 8, 5, 0, 2, 0, kDirLeft, 2, 0},
      {"across: right with paging turns a page",           0, 20, 5, 1, 1, 0, kDirRight, 5, 4},
      {"across: left with paging turns a page back",       0, 20, 5, 1, 6, 4, kDirLeft, 2, 0},
      {"across: down at the window's end scrolls",         0, 20, 5, 1, 4, 0, kDirDown, 5, 1},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.what);
    *m_Cursor.current = c.vertical ? CursorState{0, c.index, 0, 0} : CursorState{c.index, 0, 0, 0};
    std::int32_t top = c.top;
    m_Cursor.MoveList(InputOf(c.direction), c.vertical, &top, 160, 16, 152, c.visible, c.count, c.paging);
    const std::int32_t along = (c.wantIndex - c.wantTop) * 16 + 160;
    EXPECT_EQ(*m_Cursor.current, c.vertical ? (CursorState{0, c.wantIndex, 152, along})
                                            : (CursorState{c.wantIndex, 0, along, 152}));
    EXPECT_EQ(top, c.wantTop);
  }
}

TEST_F(MenuCursorTest, PushAndPopKeepTheParentsCursor) {
  *m_Cursor.current = {2, 3, 40, 80};
  m_Cursor.Push(0);
  EXPECT_EQ(m_Cursor.Depth(), 2);
  EXPECT_EQ(*m_Cursor.current, CursorState{}) << "mode 0 starts the sub-menu zeroed";
  ASSERT_NE(m_Cursor.previous, nullptr);
  EXPECT_EQ(*m_Cursor.previous, (CursorState{2, 3, 40, 80}));
  m_Cursor.current->row = 7;
  m_Cursor.Pop(1);
  EXPECT_EQ(*m_Cursor.current, (CursorState{2, 3, 40, 80})) << "mode 1 gives the parent its cursor back";
  EXPECT_EQ(m_Cursor.previous, nullptr);

  m_Cursor.Push(1);
  EXPECT_EQ(*m_Cursor.current, (CursorState{2, 3, 40, 80})) << "mode 1 starts where the parent is";
  m_Cursor.current->row = 9;
  m_Cursor.Pop(2);
  EXPECT_EQ(*m_Cursor.current, (CursorState{2, 9, 40, 80})) << "mode 2 hands the closing state down";

  m_Cursor.Push(0);
  m_Cursor.Pop(0);
  EXPECT_EQ(*m_Cursor.current, CursorState{}) << "mode 0 zeroes the parent";

  // The last state is never popped, and its pointers stay.
  *m_Cursor.current = {1, 1, 1, 1};
  CursorState* before = m_Cursor.current;
  m_Cursor.Pop(0);
  EXPECT_EQ(m_Cursor.Depth(), 1);
  EXPECT_EQ(m_Cursor.current, before);
  EXPECT_EQ(*m_Cursor.current, (CursorState{1, 1, 1, 1}));
}

TEST_F(MenuCursorTest, DeepStacksKeepValidPointersAndResetLeavesOneZeroedState) {
  for (int i = 0; i < 40; ++i) {
    m_Cursor.current->row = i;
    m_Cursor.Push(0);
    ASSERT_EQ(m_Cursor.previous->row, i) << "the pointers follow the stack when it moves";
  }
  m_Cursor.Reset();
  EXPECT_EQ(m_Cursor.Depth(), 1);
  EXPECT_EQ(*m_Cursor.current, CursorState{});
  EXPECT_EQ(m_Cursor.previous, nullptr);
  m_Cursor.Clear();
  EXPECT_EQ(m_Cursor.current, nullptr);
  m_Cursor.MoveGrid(InputOf(kDirDown), 0, 0, 0, 16, 1, 3);  // nothing to move, nothing breaks
  m_Cursor.Reset();
  EXPECT_EQ(m_Cursor.Depth(), 1);
}

class CursorSoundTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_TRUE(OpenTrace("trace.txt"));
    BuildSoundTables(std::vector<std::string>(17, ""), {});
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    // Sound 0 with four duplicates, so every play shows in the trace with its buffer.
    WriteHostFile("cursor.wav", Wave());
    g_SoundSlotDefs.At(0).name = "cursor.wav";
    g_SoundSlotDefs.At(0).dupCount = 4;
    DS_LoadAll(g_SoundTable, g_SoundSlotDefs, 0);
    ASSERT_EQ(g_SoundTable.At(0).count, 4);
  }
  void TearDown() override {
    DS_Release();
    CloseTrace();
    GameFolderTest::TearDown();
  }
  static std::string Wave() {
    std::string data(8, '\x80');
    auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(36 + static_cast<std::uint32_t>(data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(22050) + u32(22050) + u16(1) + u16(8) + "data" + u32(static_cast<std::uint32_t>(data.size())) + data;
  }
  int Plays() {
    std::string trace = ReadHostFile("trace.txt");
    int n = 0;
    for (std::size_t at = trace.find("sound play 0"); at != std::string::npos; at = trace.find("sound play 0", at + 1))
      ++n;
    return n;
  }
};

TEST_F(CursorSoundTest, EachAskedAxisThatMovedPlaysTheSoundOnce) {
  struct sCase {
    std::uint8_t axes;
    std::uint16_t direction;
    int plays;
  };
  const sCase cases[] = {
      {3, kDirUp | kDirLeft, 2},  // a diagonal with both axes: twice in the one frame
      {2, kDirUp | kDirLeft, 1},  {1, kDirUp | kDirLeft, 1}, {2, kDirLeft, 0},
      {1, kDirDown, 0},           {3, 0, 0},
  };
  int total = 0;
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "axes " << int(c.axes) << " dir " << c.direction);
    PlayCursorSound(InputOf(c.direction), c.axes, 0);
    total += c.plays;
    EXPECT_EQ(Plays(), total);
  }
}

TEST_F(CursorSoundTest, ASoundOutsideTheTableIsReportedClosesAndPlaysEntryZero) {
  ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  TakeMainWindowMessages(WM_CLOSE);
  PlayCursorSound(InputOf(kDirUp), kCursorAxisVertical, 500);
  EXPECT_EQ(Plays(), 1) << "entry 0 stands in";
  const std::string report = ReadHostFile("Report_Game.txt");
  EXPECT_EQ(report.rfind("err V[500] ( 17 , ", 0), 0u) << report;
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

}  // namespace
