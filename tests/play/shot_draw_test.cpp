// How a shot is drawn: frame 0 of its graphic from sheet 20 facing left and from the mirrored
// sheet 21 facing right, at its screen rectangle; an invisible shot draws nothing.
#include "play/chara_base.h"
#include "play/shot.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

class ShotDrawTest : public StageDrawTest {};

TEST_F(ShotDrawTest, AShotShowsItsGraphicFromTheSheetOfItsFacing) {
  StartDrawing(BackEnd::DirectDraw);
  g_Stage.SetSpeedLevel(1);
  constexpr std::uint32_t kUnder = 0x010203;
  constexpr std::int32_t kGraphic = 31;  // second column pair, second row: source (32, 16)
  constexpr int kLeft = 100, kTop = 50;
  cCharaBase owner;
  owner.m_Operator = 1;
  for (std::int32_t facing : {0, 1}) {
    for (std::uint8_t invisible : {std::uint8_t{0}, std::uint8_t{1}}) {
      cEdShot params;
      params.m_Picture = kGraphic;
      params.m_Byte70 = 0;
      params.m_Byte69 = invisible;
      cShotSpawn spawn;
      spawn.m_X = static_cast<std::int32_t>(kOriginX) + kLeft;
      spawn.m_Y = static_cast<std::int32_t>(kOriginY) + kTop;
      spawn.m_Vx = facing != 0 ? 1.0 : -1.0;
      cShot shot;
      shot.Setup(1, owner, 11, params, spawn);
      shot.UpdateScreenRect();
      ClearFrame(kUnder);
      DrawShot(shot, &g_BackSurface, 1);
      SCOPED_TRACE(testing::Message() << "facing " << facing << " invisible " << int{invisible});
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const std::uint32_t sheet = facing != 0 ? MirroredSheetPixel(0x50, 16, 32 + x, 16 + y)
                                                  : SheetPixel(0x50, 16, 32 + x, 16 + y);
          const std::uint32_t expected = invisible != 0 ? kUnder : Over(sheet, kUnder);
          ASSERT_EQ(Frame(kLeft + x, kTop + y), expected) << x << "," << y;
        }
      EXPECT_EQ(Frame(kLeft + 16, kTop), kUnder);
    }
  }
}

}  // namespace
