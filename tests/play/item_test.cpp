// Items: set-up, the place on the grid, and drawing their blink from the item sheet.
#include <gtest/gtest.h>

#include <cstdint>

#include "play/item.h"
#include "tests/play/play_fixture.h"
#include "tests/play/stage_graphics_fixture.h"

namespace {

using playtest::PlayTest;

using ItemTest = PlayTest;

TEST_F(ItemTest, SetupAndPlaceOnTheGrid) {
  g_Stage.SetBoxDefaults();
  g_Stage.SetField(StageField(73), 20);
  g_Stage.SetField(StageField(74), 20);
  m_Scene->m_ScrollX.m_MarginCells = 0;
  m_Scene->m_ScrollY.m_MarginCells = 0;
  cItemDef def;
  def.m_ChipIndex = 3;
  def.m_Size = 0;
  cItem item;
  item.Setup(4, def, 0);
  EXPECT_EQ(item.Scale(), 1) << "scale 0 is 1";
  EXPECT_EQ(item.m_Flying, 1) << "no gravity";
  EXPECT_EQ(item.m_Present, 0);
  item.PlaceOnGrid(0, 0);
  EXPECT_EQ(item.m_X1, 6.5);
  EXPECT_EQ(item.m_Y1, 6);
  EXPECT_EQ(item.m_X2, 25.5);

  // A held item is present at once and keeps its natural size.
  def.m_Size = 3;
  cItem held;
  held.Setup(5, def, 1);
  EXPECT_EQ(held.m_Present, 1);
  EXPECT_EQ(held.m_Width, 20);
  cItem big;
  big.Setup(6, def, 0);
  EXPECT_EQ(big.m_Width, 60);
  EXPECT_EQ(big.m_DrawWidth, 96);
}

class ItemDrawTest : public StageGraphicsTest {};

TEST_F(ItemDrawTest, TheBlinkAdvancesOnlyWhenNotFrozenOrHidden) {
  StartStage(BackEnd::DirectDraw);
  g_Stage.SetBoxDefaults();
  DDSURFACEDATA target;
  ASSERT_TRUE(DDCreateSurface(&target, 64, 64, 0, 0, 0, 0, 0));
  cItemDef def;
  def.m_ChipIndex = 17;  // the item sheet's chip at (64, 64); its second frame at (96, 64)
  cItem item;
  item.Setup(1, def, 0);
  // The frame shown: 0 or 1 by the pixel (5, 5) of the drawn chip, -1 when nothing was drawn.
  auto drawn = [&](std::int32_t freeze) {
    PixelsOf(target).Fill(0x000001);
    item.Draw(&target, freeze);
    const std::uint32_t p = PixelsOf(target).Pixel(5, 5);
    if (p == SheetPixel(0x60, 32, 64 + 5, 64 + 5)) return 0;
    if (p == SheetPixel(0x60, 32, 96 + 5, 64 + 5)) return 1;
    return -1;
  };
  std::int32_t last = drawn(0);
  ASSERT_NE(last, -1);
  std::int32_t run = 1;
  std::int32_t changes = 0;
  for (int call = 0; call < 60; ++call) {
    if (call % 7 == 3) {
      EXPECT_EQ(drawn(1), last) << "a frozen frame keeps its picture";
      continue;
    }
    const std::int32_t frame = drawn(0);
    if (frame == last) {
      ++run;
      continue;
    }
    if (changes++ > 0) {
      EXPECT_EQ(run, kItemBlinkFrames) << call;
    }
    last = frame;
    run = 1;
  }
  EXPECT_GE(changes, 3);

  const std::int32_t ticks = item.m_Anime.Ticks();
  item.m_Def.m_Hidden = 1;
  EXPECT_EQ(drawn(0), -1);
  EXPECT_EQ(item.m_Anime.Ticks(), ticks) << "a hidden item is not animated";

  // At scale 2 the chip is stretched to the scaled drawn box.
  DDSURFACEDATA wide;
  ASSERT_TRUE(DDCreateSurface(&wide, 64, 64, 0, 0, 0, 0, 0));
  cItem big;
  big.Setup(2, def, 1);
  big.m_Def.m_Size = 2;
  big.m_DrawWidth = big.m_DrawHeight = 64;
  big.Draw(&wide, 1);
  EXPECT_EQ(PixelsOf(wide).Pixel(10, 10), SheetPixel(0x60, 32, 64 + 5, 64 + 5));
  EXPECT_EQ(PixelsOf(wide).Pixel(63, 63), SheetPixel(0x60, 32, 64 + 31, 64 + 31));
  DDReleaseSurface(&target);
  DDReleaseSurface(&wide);
}

}  // namespace
