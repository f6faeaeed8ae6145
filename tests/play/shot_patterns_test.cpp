// The six spawn patterns as the ショット command fires them, the direction codes, the volleys with
// their steps and random spread, and the summons placed by the same patterns. The shooter's picture
// is 32 x 32 at screen (100, 200) with the camera at (0, 0), so screen dots are stage dots.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/services/random.h"
#include "play/firing.h"
#include "play/flow_runner.h"
#include "play/item.h"
#include "play/map_cells.h"
#include "play/placing.h"
#include "play/shot.h"
#include "play/spawn_layouts.h"
#include "project/command_vocabulary.h"
#include "project/flow_command.h"
#include "tests/play/stage_objects_fixture.h"

namespace {

constexpr double kDegrees = 57.29577951308232;

// What a fired shot shows: its top left and the angle and speed it moves at.
struct Fired {
  std::int32_t x, y;
  double angle, speed;
};

class ShotPatternTest : public playtest::StageObjectsTest {
 protected:
  void SetUp() override {
    StageObjectsTest::SetUp();
    SetSpeedLevel(1);
    m_Scene->m_ScrollX.m_Pos = 0.0;
    m_Scene->m_ScrollY.m_Pos = 0.0;
    m_Command.m_CommandSet = kCharaCommandSet;
    m_Command.m_CommandNumber = kCharaShot;
    NewEdShot(m_Command.m_Shot);
    m_Instance.m_Command = &m_Command;
  }
  void TearDown() override {
    m_Scene->m_ShotList.clear();
    StageObjectsTest::TearDown();
  }

  // A computer's character with its picture's top left at screen (left, top), facing as told.
  cChara& Chara(std::int32_t left, std::int32_t top, std::int32_t facing) {
    cChara& chara = g_CharaList.Emplace();
    chara.Setup(static_cast<std::int32_t>(g_CharaList.Size()) + 10, CharaDef(), nullptr, left, top, 0);
    chara.m_X1 = left + chara.m_DrawOffsetX;
    chara.m_Y1 = top + chara.m_DrawOffsetY;
    chara.m_X2 = chara.m_X1 + chara.m_Width - 1;
    chara.m_Y2 = chara.m_Y1 + chara.m_Height - 1;
    chara.m_Direction = facing;
    chara.SetTarget(nullptr);
    chara.UpdateScreenRect();
    return chara;
  }

  cEdShot& Shot() { return *m_Command.m_Shot; }

  // The shot record set for pattern: count objects, its parameters, direction code, speed 2 dots per
  // frame.
  void Pattern(std::uint8_t pattern, std::int32_t count, std::int16_t p1, std::uint8_t direction,
               std::int16_t p2 = 1, std::int16_t p3 = 0) {
    cEdShot& shot = Shot();
    shot.m_Pattern = pattern;
    shot.m_Byte36 = static_cast<std::uint8_t>(count);
    shot.m_PatternParams[0] = p1;
    shot.m_PatternParams[1] = p2;
    shot.m_PatternParams[2] = p3;
    shot.m_Direction = direction;
    shot.m_Speed = 20;
  }

  std::vector<Fired> FiredShots() const {
    std::vector<Fired> fired;
    for (const cShot& shot : m_Scene->m_ShotList) {
      const double vx = shot.m_OwnVx * g_StepsPerFrameF;
      const double vy = shot.m_OwnVy * g_StepsPerFrameF;
      double angle = std::atan2(-vy, -vx) * kDegrees;
      if (angle < -0.5) angle += 360.0;
      fired.push_back({static_cast<std::int32_t>(shot.m_X1), static_cast<std::int32_t>(shot.m_Y1), angle,
                       std::hypot(vx, vy)});
    }
    return fired;
  }

  void ExpectFired(const std::vector<Fired>& expected, const char* what) {
    const std::vector<Fired> fired = FiredShots();
    ASSERT_EQ(fired.size(), expected.size()) << what;
    for (std::size_t i = 0; i < fired.size(); ++i) {
      EXPECT_EQ(fired[i].x, expected[i].x) << what << " shot " << i;
      EXPECT_EQ(fired[i].y, expected[i].y) << what << " shot " << i;
      EXPECT_NEAR(fired[i].angle, expected[i].angle, 1e-9) << what << " shot " << i;
      EXPECT_NEAR(fired[i].speed, 2.0, 1e-9) << what << " shot " << i;
    }
  }

  cFlowCommand m_Command;
  cCommandInstance m_Instance;
};

TEST_F(ShotPatternTest, PatternsPlaceAndAimTheirShots) {
  struct Case {
    const char* what;
    std::uint8_t pattern;
    std::int32_t count;
    std::int16_t p1;
    std::uint8_t direction;
    std::int32_t facing;
    std::vector<Fired> shots;
  };
  const std::vector<Case> cases = {
      // Three shots one above the other, 32 dots apart, the middle one level with the centre.
      {"straight A right", 0, 3, 1, kShotFront, 1, {{132, 176, 180, 2}, {132, 208, 180, 2}, {132, 240, 180, 2}}},
      {"straight A left", 0, 1, 0, kShotFront, 0, {{85, 208, 0, 2}}},
      // A column rising from the feet on the facing's side.
      {"straight B up", 1, 2, 0, kShotUp, 1, {{132, 216, 90, 2}, {132, 200, 90, 2}}},
      {"spread of two", 2, 2, 30, kShotLeft, 0, {{85, 208, -15, 2}, {85, 208, 15, 2}}},
      {"spread of three", 2, 3, 30, kShotLeft, 0, {{85, 208, -30, 2}, {85, 208, 0, 2}, {85, 208, 30, 2}}},
      {"burst of four", 4, 4, 0, kShotRight, 0, {{108, 208, 180, 2}, {108, 208, 270, 2}, {108, 208, 0, 2}, {108, 208, 90, 2}}},
  };
  cChara& shooter = Chara(100, 200, 0);
  for (const Case& c : cases) {
    m_Scene->m_ShotList.clear();
    shooter.m_Direction = c.facing;
    Pattern(c.pattern, c.count, c.p1, c.direction);
    FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
    std::vector<Fired> expected = c.shots;
    for (Fired& f : expected)
      if (f.angle < -0.5) f.angle += 360.0;
    ExpectFired(expected, c.what);
  }
}

TEST_F(ShotPatternTest, ThunderAndSurroundNeedATarget) {
  cChara& shooter = Chara(100, 200, 0);
  cChara& target = Chara(300, 100, 0);  // drawn centre (316, 116)

  // Without a target neither fires.
  for (std::uint8_t pattern : {std::uint8_t{3}, std::uint8_t{5}}) {
    Pattern(pattern, 4, 6, kShotLeft);
    FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
    EXPECT_TRUE(m_Scene->m_ShotList.empty()) << int{pattern};
  }

  shooter.SetTarget(&target);
  // Four shots on a circle of 6 hbl around the target, each moving toward its centre.
  Pattern(5, 4, 6, kShotLeft);
  FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
  // (The points round half away from the target on one side only: 96 right and below, 95 left and above.)
  ExpectFired({{404, 108, 0, 2}, {308, 204, 90, 2}, {213, 108, 180, 2}, {308, 13, 270, 2}}, "surround");

  // Two lines two hbl apart, two shots along each, falling from the top edge onto the target.
  m_Scene->m_ShotList.clear();
  Pattern(3, 2, 0, kShotDown, 2, 2);
  FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
  ExpectFired({{292, 0, 270, 2}, {324, 0, 270, 2}, {292, 16, 270, 2}, {324, 16, 270, 2}}, "thunder");
  shooter.SetTarget(nullptr);
}

TEST_F(ShotPatternTest, VolleysStepTheirSpeedAndSpreadByTheSeededGenerator) {
  cChara& shooter = Chara(100, 200, 0);
  Pattern(0, 1, 0, kShotLeft);
  Shot().m_ExtraVolleys = 1;
  Shot().m_SpeedStep = 5;
  FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
  std::vector<Fired> two = FiredShots();
  ASSERT_EQ(two.size(), 2u);
  EXPECT_NEAR(two[1].speed - two[0].speed, 0.5, 1e-9) << "half a dot per frame faster";
  EXPECT_EQ(m_Scene->m_ShotList.back().m_Tag, 1) << "the repetition tags the shot";

  // Random spread 10: every volley moves by a whole number of degrees from -10 to 10, drawn from the
  // game's generator, so a replay with the same seed sees the same fan.
  m_Scene->m_ShotList.clear();
  Shot().m_ExtraVolleys = 5;
  Shot().m_SpeedStep = 0;
  Shot().m_RandomSpread = 10;
  GameSrand(7);
  FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
  const std::vector<Fired> spread = FiredShots();
  const double expected[] = {9, 3, 1, -5, -8, -4};
  ASSERT_EQ(spread.size(), 6u);
  for (std::size_t i = 0; i < spread.size(); ++i) {
    const double angle = spread[i].angle > 180 ? spread[i].angle - 360 : spread[i].angle;
    EXPECT_NEAR(angle, expected[i], 1e-9) << "volley " << i;
  }
}

TEST_F(ShotPatternTest, CommandsThatCannotFireFireNothing) {
  cChara& shooter = Chara(100, 200, 0);
  struct Case {
    const char* what;
    std::uint8_t pattern;
    std::int32_t count;
    std::uint8_t direction;
    std::uint8_t extraVolleys;
  };
  const Case cases[] = {
      {"direction past the input direction", 0, 1, 13, 0},
      {"direction far past it", 2, 3, 200, 0},
      {"pattern past the table", 6, 1, kShotLeft, 0},
      {"no count", 4, 0, kShotLeft, 0},
      {"negative count", 2, -3, kShotLeft, 0},
      {"negative volleys", 0, 1, kShotLeft, 0xFF},
  };
  for (const Case& c : cases) {
    Pattern(c.pattern, c.count, 30, c.direction);
    Shot().m_ExtraVolleys = c.extraVolleys;
    FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
    EXPECT_TRUE(m_Scene->m_ShotList.empty()) << c.what;
    EXPECT_EQ(m_Scene->m_NextExtraId, 0) << c.what;
  }
}

TEST_F(ShotPatternTest, DirectionCodesResolveByFacingAndInput) {
  cChara& shooter = Chara(100, 200, 0);
  struct Case {
    std::int32_t code, facing, input, resolved;
  };
  const Case cases[] = {
      {kShotFront, 0, 0, kShotLeft},      {kShotFront, 1, 0, kShotRight},     {kShotBack, 1, 0, kShotLeft},
      {kShotFrontY, 1, 0, kShotDown},     {kShotBackY, 1, 0, kShotUp},        {kShotUpLeft, 1, 0, kShotUpLeft},
      {kShotInput, 1, 0, kShotRight},     {kShotInput, 0, 6, kShotDownLeft},  {kShotInput, 0, 8, kShotDownRight},
      {13, 0, 0, -1},                   {255, 1, 0, -1},
  };
  for (const Case& c : cases) {
    shooter.m_Direction = c.facing;
    EXPECT_EQ(ResolveShotDirection(shooter, c.code, c.input), c.resolved) << c.code << " facing " << c.facing;
  }
}

TEST_F(ShotPatternTest, SummonsPlaceTheirPaletteEntriesByThePattern) {
  cChara& summoner = Chara(100, 200, 0);
  g_CommonPalette.m_Charas.assign(1, HeroDef());  // a player's character: never summoned
  g_CommonPalette.m_Items.assign(1, cItemDef());
  cBlock solid;
  solid.m_Solid = kSolid;
  solid.m_ChipIndex = 3;
  g_CommonPalette.m_Blocks.push_back(solid);
  cEdShot& shot = Shot();
  Pattern(4, 2, 0, kShotLeft);  // a burst of two: both on the summoner's centre

  m_Command.m_CommandNumber = kCharaSummonChara;
  SummonCharaCommand(summoner, m_Instance, shot);
  EXPECT_EQ(g_CharaList.Size(), 1u) << "no player's character is summoned";
  shot.m_SummonIndex = 5;
  m_Command.m_CommandNumber = kCharaSummonItem;
  SummonItemCommand(summoner, m_Instance, shot);
  EXPECT_EQ(g_ItemList.Size(), 0u) << "an index outside the palette summons nothing";
  shot.m_SummonIndex = 0;
  SummonItemCommand(summoner, m_Instance, shot);
  EXPECT_EQ(g_ItemList.Size(), 2u);

  // Toggling: both objects of the burst fall on one cell (two cells right of the summoner, clear
  // of it), which toggles once, to the block.
  m_Command.m_CommandNumber = kCharaSummonBlock;
  shot.m_SummonIndex = 1;
  shot.m_Byte126 = kToggleBlock;
  shot.m_OffsetXBase = 64;
  const std::int32_t column = (164 + 16) >> 5;  // the cell under the middle of the 32 x 32 area
  const std::int32_t row = (200 + 16) >> 5;
  SummonBlockCommand(summoner, m_Instance, shot);
  EXPECT_EQ(MapCellAt(column, row).m_ChipIndex, 3);
  SummonBlockCommand(summoner, m_Instance, shot);
  EXPECT_EQ(MapCellAt(column, row).m_ChipIndex, 0) << "the next summon toggles it back";
}

TEST_F(ShotPatternTest, AimingPointsAtTheTargetsDrawnCentre) {
  cChara& shooter = Chara(100, 200, 0);
  cShotSpawn spawn{};
  // Without a target the facing decides.
  EXPECT_EQ(AimAngleToTarget(116, 216, shooter, Shot(), spawn), 0);
  shooter.m_Direction = 1;
  EXPECT_EQ(AimAngleToTarget(116, 216, shooter, Shot(), spawn), 180);
  struct Case {
    std::int32_t left, top, angle;
  };
  // Targets whose drawn centres lie right of, above, left of and up-right of (116, 216); the angle is
  // rounded to whole degrees, from 0 to 360.
  const Case cases[] = {{300, 200, 180}, {100, 0, 90}, {0, 200, 360}, {200, 116, 140}, {150, 200, 180}};
  for (const Case& c : cases) {
    cChara& target = Chara(c.left, c.top, 0);
    shooter.SetTarget(&target);
    EXPECT_EQ(AimAngleToTarget(116, 216, shooter, Shot(), spawn), c.angle) << c.left << "," << c.top;
  }
  // An aimed row A flies at the angle from its start toward the target.
  cChara& above = Chara(116, 0, 0);  // centre (132, 16): 200 above and 8 left of the shot's centre
  shooter.SetTarget(&above);
  Pattern(0, 1, 0, kShotFront);
  Shot().m_Byte45 = 1;
  FireShotCommand(m_Scene->m_ShotList, shooter, m_Instance, Shot());
  ExpectFired({{132, 208, 88, 2}}, "aimed");
  shooter.SetTarget(nullptr);
}

}  // namespace
