// The warp and the choice of a target: where a warp puts a character by direction, from its
// target or to a point, that a place outside the stage or in a wall undoes it; and which character
// a target choice picks under its filters, with the links between them kept.
#include <algorithm>
#include <array>
#include <cmath>

#include "script/stage_commands.h"
#include "tests/script/move_fixture.h"

namespace scripttest {
namespace {

constexpr double kStartX = 480.0;
constexpr double kStartY = 480.0;
constexpr std::uint8_t kByDirection = 0;
constexpr std::uint8_t kFromTarget = 1;
constexpr std::uint8_t kToPoint = 2;
// Direction codes of the move record.
constexpr std::uint8_t kFront = 0;
constexpr std::uint8_t kBack = 1;
constexpr std::uint8_t kLeft = 2;
constexpr std::uint8_t kRight = 3;
constexpr std::uint8_t kUp = 6;
constexpr std::uint8_t kDown = 7;
constexpr std::uint8_t kDownLeft = 9;
constexpr std::uint8_t kUpRight = 10;

class WarpTest : public MoveTest {
 public:
  // A character as MakeChara gives it, its map cells up to date as play keeps them.
  cChara& Warper(double x, double y, std::uint8_t flight = 0, std::int32_t direction = 0) {
    cChara& chara = MakeChara(x, y, flight, 0, direction);
    chara.OnMovedX();
    chara.OnMovedY();
    return chara;
  }

  // A warp command whose move record edit adjusts.
  static cFlowCommand Warp(const std::function<void(cEdMove&)>& edit) {
    cFlowCommand command = MakeCommand(kCharaWarp, 0);
    NewEdMove(command.m_Move);
    edit(*command.m_Move);
    return command;
  }
};

TEST_F(WarpTest, ByDirectionAndFromTheTarget) {
  const double s2 = 32.0 / std::sqrt(2.0);
  struct Case {
    const char* name;
    std::uint8_t mode, code;
    std::int16_t distance, step;
    std::uint16_t spawn;
    std::int32_t direction;
    std::uint8_t flight;
    bool hasTarget;
    double dx, dy;
    bool rests;  // a walker's fall is stopped
  };
  const Case cases[] = {
      {"right", kByDirection, kRight, 2, 0, 0, 0, 2, false, 32, 0, false},
      {"up moves a walker too", kByDirection, kUp, 2, 0, 0, 0, 0, false, 0, -32, true},
      {"front of a right-facing one", kByDirection, kFront, 2, 0, 0, 1, 2, false, 32, 0, false},
      {"back of a left-facing one", kByDirection, kBack, 2, 0, 0, 0, 2, false, 32, 0, false},
      {"down-left", kByDirection, kDownLeft, 2, 0, 0, 0, 2, false, -s2, s2, false},
      {"up-right", kByDirection, kUpRight, 2, 0, 0, 0, 2, false, s2, -s2, false},
      {"the distance grows with the spawn index", kByDirection, kLeft, 1, 1, 2, 0, 2, false, -48, 0, false},
      {"no direction", kByDirection, 13, 2, 0, 0, 0, 0, false, 0, 0, false},
      {"from the target, right of it", kFromTarget, kRight, 1, 0, 0, 0, 2, true, 96 + 16, 64, false},
      {"from the target, below it", kFromTarget, kDown, 1, 0, 0, 0, 0, true, 96, 64 + 16, true},
      {"from the target, no direction", kFromTarget, 13, 1, 0, 0, 0, 2, true, 0, 0, false},
      {"from no target", kFromTarget, kRight, 1, 0, 0, 0, 2, false, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& target = MakeChara(kStartX + 96, kStartY + 64);
    cChara& chara = Warper(kStartX, kStartY, c.flight, c.direction);
    chara.m_SpawnIndex = c.spawn;
    if (c.hasTarget) chara.SetTarget(&target);
    chara.m_Vy = 3.0;
    const cFlowCommand warp = Warp([&](cEdMove& m) {
      m.m_TargetMode = c.mode;
      m.m_Direction = c.code;
      m.m_Distance = c.distance;
      m.m_DistanceStep = c.step;
      m.m_Unit = 1;  // dots: a warp counts in hbl all the same
    });
    DoWarp(chara, warp);
    EXPECT_DOUBLE_EQ(chara.m_X1, kStartX + c.dx);
    EXPECT_DOUBLE_EQ(chara.m_Y1, kStartY + c.dy);
    EXPECT_DOUBLE_EQ(chara.m_X2, chara.m_X1 + chara.m_Width - 1);
    EXPECT_EQ(chara.m_Vy, c.rests ? 0.0 : 3.0);
    g_CharaList.Clear();
  }
}

TEST_F(WarpTest, ToAPoint) {
  struct Case {
    const char* name;
    std::uint8_t kind;
    std::int32_t direction;
    std::uint8_t mirrorX, mirrorY;
    // The expected top left from the drawn-box offsets, the camera and the stage origin.
    std::function<std::array<double, 2>(const cChara&)> at;
  };
  const double camX = m_Scene->m_ScrollX.m_Pos;
  const double camY = m_Scene->m_ScrollY.m_Pos;
  // Cells (2, 1) and dots (5, 3).
  const Case cases[] = {
      {"relative", 0, 0, 1, 0, [](const cChara&) { return std::array{kStartX + 69, kStartY + 35}; }},
      {"relative, mirrored facing right", 0, 1, 1, 1,
       [](const cChara&) { return std::array{kStartX - 69, kStartY - 35}; }},
      {"relative, facing right without mirror", 0, 1, 0, 0,
       [](const cChara&) { return std::array{kStartX + 69, kStartY + 35}; }},
      {"absolute: the stage cell, then the dots", 1, 1, 1, 1,
       [](const cChara& c) {
         return std::array{(2 + 10) * 32 + c.m_BaseDrawOffsetX + 0.5 + 5, (1 + 10) * 32.0 + c.m_BaseDrawOffsetY + 3};
       }},
      {"screen", 2, 0, 1, 0,
       [&](const cChara& c) { return std::array{camX + c.m_DrawOffsetX + 69, camY + c.m_DrawOffsetY + 35}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = Warper(kStartX, kStartY, 2, c.direction);
    const cFlowCommand warp = Warp([&](cEdMove& m) {
      m.m_TargetMode = kToPoint;
      m.m_CoordinateKind = c.kind;
      m.m_TargetCellsX = 2;
      m.m_TargetCellsY = 1;
      m.m_TargetDotsX = 5;
      m.m_TargetDotsY = 3;
      m.m_MirrorX = c.mirrorX;
      m.m_MirrorY = c.mirrorY;
    });
    DoWarp(chara, warp);
    const auto expected = c.at(chara);
    EXPECT_DOUBLE_EQ(chara.m_X1, expected[0]);
    EXPECT_DOUBLE_EQ(chara.m_Y1, expected[1]);
    g_CharaList.Clear();
  }
}

TEST_F(WarpTest, APlaceInAWallOrOutsideTheStageUndoesTheWarp) {
  struct Case {
    const char* name;
    std::uint8_t code;
    std::int16_t distance;
    bool wall;
  };
  const Case cases[] = {
      {"into a wall", kRight, 2, true},
      {"beyond the stage's left edge, into the margin", kLeft, 12, false},
      {"beyond the map's top", kUp, 40, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cChara& chara = Warper(kStartX, kStartY);
    if (c.wall) SolidCell(static_cast<std::int32_t>(kStartX + 32) >> 5, static_cast<std::int32_t>(kStartY) >> 5);
    chara.m_Vy = 3.0;
    const std::array<double, 4> before{chara.m_X1, chara.m_Y1, chara.m_X2, chara.m_Y2};
    const std::array<std::int32_t, 2> screen{chara.m_ScreenLeft, chara.m_ScreenTop};
    DoWarp(chara, Warp([&](cEdMove& m) {
             m.m_Direction = c.code;
             m.m_Distance = c.distance;
           }));
    EXPECT_EQ((std::array{chara.m_X1, chara.m_Y1, chara.m_X2, chara.m_Y2}), before);
    EXPECT_EQ((std::array{chara.m_ScreenLeft, chara.m_ScreenTop}), screen);
    EXPECT_EQ(chara.m_Vy, 3.0) << "a walker left where it was keeps falling";
    g_CharaList.Clear();
  }
}

class TargetTest : public MoveTest {
 protected:
  // A character of group at dx from the chooser, present and on screen unless told.
  cChara& Candidate(std::int32_t group, double dx, bool onScreen = true) {
    cChara& c = MakeChara(kStartX + dx, kStartY);
    c.m_Group = group;
    c.m_Present = 1;
    c.m_OnScreen = onScreen ? 1 : 0;
    m_Scene->m_GroupCharas.At(group).Emplace(&c);
    return c;
  }
};

TEST_F(TargetTest, WhomTheChoicePicksAndTheLinksItKeeps) {
  cHero& hero = PlaceHero(2, 2);
  // The chooser S in group 1; in group 2, in list order, B (guarded), A (cid 5) and D (off screen,
  // the nearest of all); C, a block character of group 3.
  cChara& self = Candidate(1, 0);
  cChara& b = Candidate(2, 200);
  b.m_Def.m_Invincible = 1;
  cChara& a = Candidate(2, 64);
  a.m_Def.m_CharaId = 5;
  cChara& d = Candidate(2, 16, false);
  cChara& cc = Candidate(3, 32);
  cc.m_Def.m_BlockChara = 1;
  const std::pair<char, cCharaBase*> names[] = {{'H', &hero}, {'S', &self}, {'A', &a}, {'B', &b},
                                                {'C', &cc},   {'D', &d},    {'-', nullptr}};
  auto nameOf = [&](const cCharaBase* c) {
    for (const auto& [name, chara] : names)
      if (chara == c) return name;
    return '?';
  };
  struct Case {
    const char* name;
    std::array<std::int32_t, 10> p;  // whom, group, all, mode, no self, guarded, untargetable, no block, cid on, cid
    char expected;
  };
  const Case cases[] = {
      {"the hero", {0}, 'H'},
      {"itself", {1}, 'S'},
      {"nearest of group 2, on screen first", {2, 2, 0, 0}, 'A'},
      {"nearest of group 2", {2, 2, 0, 1}, 'D'},
      {"nearest of group 2 on screen, cid 5", {2, 2, 0, 2, 0, 0, 0, 0, 1, 5}, 'A'},
      {"nearest of every group, on screen first", {2, 0, 1, 0, 1}, 'C'},
      {"nearest of every group", {2, 0, 1, 1, 1}, 'D'},
      {"nearest of every group, no block characters", {2, 0, 1, 0, 1, 0, 0, 1}, 'A'},
      {"nearest of every group, itself included", {2, 0, 1, 0, 0}, 'S'},
      {"nearest, no candidate", {2, 2, 0, 0, 0, 0, 0, 0, 1, 7}, '-'},
      {"nearest of a group that does not exist", {2, 9, 0, 1}, '-'},
      {"first of group 2", {3, 2}, 'B'},
      {"first of group 2, not guarded", {3, 2, 0, 0, 0, 1}, 'A'},
      {"first of every group", {3, 0, 1}, 'S'},
      {"first of every group but itself", {3, 0, 1, 0, 1}, 'B'},
      {"first, no candidate", {3, 0, 1, 0, 0, 0, 0, 0, 1, 7}, '-'},
      {"whom the file does not know", {4}, '-'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    self.SetTarget(&hero);
    cFlowCommand command = MakeCommand(kCharaSetTarget, 0);
    for (std::size_t i = 0; i < c.p.size(); ++i) command.m_Params.At(static_cast<std::int32_t>(i)) = c.p[i];
    DoSetTarget(self, command);
    EXPECT_EQ(nameOf(self.m_Target), c.expected);
    for (const auto& [name, chara] : names) {
      if (chara == nullptr) continue;
      const auto listed = std::count(chara->m_TargetedBy.begin(), chara->m_TargetedBy.end(), &self);
      EXPECT_EQ(listed, chara == self.m_Target ? 1 : 0) << "listed by " << name;
    }
  }
}

}  // namespace
}  // namespace scripttest
