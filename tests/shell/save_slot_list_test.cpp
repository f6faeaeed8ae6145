// The slot list of the save and load menus on screen, drawn with the fixture font (16-pixel cells;
// see tests/platform/display/font_fixture.h).
#include "shell/save_slot_list.h"

#include "platform/services/record.h"
#include "tests/platform/display/font_fixture.h"
#include "tests/support/messages.h"

namespace {

constexpr SYSTEMTIME kSavedAt{2024, 5, 3, 6, 7, 8, 59, 999};

// The slot list drawn with the fixture font (digit d is a bar d + 1 pixels high), so each cell of
// a row shows which digit it holds.
class SaveSlotDrawTest : public FontTest {
 protected:
  void SetUp() override {
    FontTest::SetUp();
    InitRecordSettings();
    ASSERT_TRUE(Start(false));
    g_Fonts[1].Create("Cells", 0, 16, 16, 16, kTextPal, Painted(640, 100, kWindow), 1, kFramePal, nullptr);
  }

  // Text pixels in the w x h rectangle at (x, y).
  static int TextIn(DDSURFACEDATA& record, int x, int y, int w, int h) {
    int n = 0;
    for (int r = y; r < y + h; ++r)
      for (int c = x; c < x + w; ++c) n += Rgb(record, c, r) == kText;
    return n;
  }
};

TEST_F(SaveSlotDrawTest, RowsShowNumberDateAndLines) {
  CheckedVector<cSaveSlotInfo> slots(4);
  slots[2].m_Used = 1;
  slots[2].m_SaveTime = kSavedAt;  // 2024/05/06 07:08
  DDSURFACEDATA* dst = Blank(400, 80);
  // From slot 1, four rows, but only three slots are left.
  DrawSaveSlots(dst, 8, 4, slots, 1, 4);

  // The window of 320 x 64 with the frame round it.
  EXPECT_EQ(Extent(*dst, kFrame), (PixelRect{7, 3, 329, 69}));
  EXPECT_EQ(Rgb(*dst, 8, 66), kWindow);
  // A line of colour 240 under each drawn row; none under the last row of the window.
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    const int lineY = 4 + 16 * row + 15;
    int line = 0;
    for (int x = 8; x < 328; ++x) line += Rgb(*dst, x, lineY) == kFrame;
    EXPECT_EQ(line, row < 3 ? 320 : 0);
  }
  // Numbers 2, 3, 4 in the cell 16 dots in; nothing in the fourth row.
  const int numbers[] = {3, 4, 5, 0};
  for (int row = 0; row < 4; ++row) EXPECT_EQ(TextIn(*dst, 24, 4 + 16 * row, 16, 15), numbers[row]) << row;
  // Only the used slot has a date: its digits, one 16-dot cell each from 64 dots in.
  EXPECT_EQ(TextIn(*dst, 72, 4, 256, 15), 0);
  EXPECT_EQ(TextIn(*dst, 72, 36, 256, 15), 0);
  const int cell[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15};
  const int digit[] = {2, 0, 2, 4, 0, 5, 0, 6, 0, 7, 0, 8};
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(TextIn(*dst, 72 + 16 * cell[i], 20, 16, 15), digit[i] + 1) << "cell " << cell[i];
}

TEST_F(SaveSlotDrawTest, AListScrolledPastTheStartDrawsOnlyRealSlots) {
  CheckedVector<cSaveSlotInfo> slots(2);
  DDSURFACEDATA* dst = Blank(400, 80);
  DrawSaveSlots(dst, 8, 4, slots, -1, 3);
  // Row 0 names no slot; rows 1 and 2 hold slots 1 and 2.
  EXPECT_EQ(TextIn(*dst, 24, 4, 16, 15), 0);
  EXPECT_EQ(TextIn(*dst, 24, 20, 16, 15), 2);
  EXPECT_EQ(TextIn(*dst, 24, 36, 16, 15), 3);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

}  // namespace
