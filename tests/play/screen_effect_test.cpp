// The screen-effect player over many frames: how long each kind runs, what its values do frame by
// frame, the modes and the loop, a frozen frame, and the definitions a damaged table can hold.
// These run on a tiny screen: the effects' draws are clipped to it, the player's state is the same.
#include <cmath>
#include <limits>
#include <string>

#include "tests/play/screen_effect_fixture.h"
#include "tests/support/messages.h"

namespace {

constexpr std::int32_t kTiny = 32;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

class ScreenEffectStateTest : public ScreenEffectTest {
 protected:
  void SetUp() override {
    ScreenEffectTest::SetUp();
    StartDisplay(BackEnd::DirectDraw, kTiny);
  }
};

// Frames from the start to the end of a pass, for every kind with its editor defaults. The time
// kinds count tenths by 1/6 a frame: 66 sixths add up to just below 11, so a time of 10 takes 67
// frames; a range of 640 in ten tenths takes 61 (the current value must pass 640 as a whole dot),
// 1500 down to 5 takes 60.
TEST_F(ScreenEffectStateTest, EveryKindRunsItsTimeAndEnds) {
  struct sCase {
    sScrEffect effect;
    std::int32_t frames;
  };
  const sCase cases[] = {
      {{1, {10, 0, 0, 640, 0}}, 67},  {{2, {10, 4, 4, 0, 0}}, 67},       {{3, {10, 4, 4, 0, 0}}, 67},
      {{4, {10, 0, 640, 15, 0}}, 61}, {{5, {10, 0, 480, 20, 0}}, 61},    {{6, {10, 0, 640, 4, 8}}, 61},
      {{7, {10, 0, 480, 4, 10}}, 61}, {{8, {10, 10, 0, 0, 0}}, 67},      {{9, {10, 0, 1440, 0, 0}}, 61},
      {{10, {10, 640, 0, 8, 0}}, 61}, {{11, {10, 640, 1280, 0, 0}}, 61}, {{12, {10, 1500, 5, 0, 0}}, 60},
      {{13, {10, 1, 60, 0, 0}}, 62},  {{8, {1, 10, 0, 0, 0}}, 12},
  };
  PutHero(10, 10);
  for (const sCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.effect.kind << " time " << c.effect.params[0]);
    Define({c.effect});
    StartScrEffect(Player(), 1, kEffectModeNormal, 0);
    ASSERT_EQ(Player().m_Number, 1);
    EXPECT_EQ(FramesToEnd(), c.frames);
  }
}

// 移動 shows each frame the offset the previous one worked out; in its last frames the time is
// past its end and the offset keeps growing beyond the end point before the effect ends.
TEST_F(ScreenEffectStateTest, MoveOvershootsItsEndPoint) {
  Define({{1, {10, 0, 0, 640, 0}}});
  StartScrEffect(Player(), 1, kEffectModeNormal, 0);
  std::vector<std::int32_t> drawn;
  while (Player().m_Number != 0 && drawn.size() < 100) {
    drawn.push_back(Player().m_ValueA);
    DrawFrame();
  }
  ASSERT_EQ(drawn.size(), 67u);
  EXPECT_EQ(drawn[0], 0);
  EXPECT_EQ(drawn[1], 0);     // the first frame's update still had time 0
  EXPECT_EQ(drawn[2], 10);    // 64 dots a tenth, 1/6 tenth a frame
  EXPECT_EQ(drawn[61], 639);  // 60 sixths of a tenth fall a hair short of 10
  EXPECT_EQ(drawn[62], 650);  // past the end point from here on
  EXPECT_EQ(drawn.back(), 693);
  EXPECT_EQ(Player().m_ValueB, 0);
}

// 振動（横） of width 4, 4 swings, one second: 0 -> 4 -> -4 -> 4 ..., reaching each side four times.
TEST_F(ScreenEffectStateTest, ShakeSwingsItsCountOverItsTime) {
  Define({{2, {10, 4, 4, 0, 0}}});
  StartScrEffect(Player(), 1, kEffectModeNormal, 0);
  std::vector<std::int32_t> offsets;
  while (Player().m_Number != 0 && offsets.size() < 100) {
    offsets.push_back(static_cast<std::int32_t>(Player().m_Second));
    DrawFrame();
  }
  const std::vector<std::int32_t> firstSwing = {0, 1, 2, 3, 4, 2, 1, 0, 0, -1, -2, -3, -4, -2, -1, 0};
  EXPECT_EQ(std::vector<std::int32_t>(offsets.begin(), offsets.begin() + 16), firstSwing);
  std::vector<std::size_t> right, left;
  for (std::size_t f = 0; f < offsets.size(); ++f) {
    if (offsets[f] == 4) right.push_back(f);
    if (offsets[f] == -4) left.push_back(f);
  }
  EXPECT_EQ(right, (std::vector<std::size_t>{4, 20, 36, 52}));
  EXPECT_EQ(left, (std::vector<std::size_t>{12, 28, 44, 60}));
}

// 点滅 with an interval of 3: the stage is hidden for 4 frames, then shown for 3, hidden for 3...
TEST_F(ScreenEffectStateTest, BlinkHidesFirstForOneFrameMore) {
  // A plain back layer of colour 17 is what hides the stage.
  cBgLayer& layer = g_Stage.m_BgLayers.emplace_back();
  layer.SetDefaults();
  layer.m_PlainColour = 1;
  layer.m_FillColour = 17;
  Define({{8, {10, 3, 0, 0, 0}}});
  StartScrEffect(Player(), 1, kEffectModeNormal, 0);
  std::string shown;
  for (int frame = 0; frame < 17; ++frame) {
    DrawFrame();
    shown += At(5, 5) == 0x654321 ? 'h' : (At(5, 5) == FramePixel(5, 5) ? 's' : '?');
  }
  EXPECT_EQ(shown, "hhhhssshhhssshhhs");
}

// Modes: reverse plays from the end value to the start value; there-and-back plays forward, then
// backward, and ends; a loop starts each pass again and never ends.
TEST_F(ScreenEffectStateTest, ModesAndLoopChooseThePasses) {
  Define({{4, {10, 0, 640, 15, 0}}});
  StartScrEffect(Player(), 1, kEffectModeReverse, 0);
  EXPECT_EQ(Player().m_Current, 640.0);
  EXPECT_EQ(Player().m_Reversed, 1);
  DrawFrame();
  EXPECT_LT(Player().m_Current, 640.0);
  EXPECT_EQ(FramesToEnd() + 1, 61);
  EXPECT_LT(Player().m_Current, 0.0);

  StartScrEffect(Player(), 1, kEffectModeThereAndBack, 0);
  EXPECT_EQ(Player().m_Reversed, 0);
  EXPECT_EQ(FramesToEnd(60), 60);
  DrawFrame();  // the forward pass ends: the way back begins from the end value
  EXPECT_EQ(Player().m_Reversed, 1);
  EXPECT_EQ(Player().m_Current, 640.0);
  EXPECT_EQ(Player().m_Number, 1);
  EXPECT_EQ(FramesToEnd(), 61);

  StartScrEffect(Player(), 1, kEffectModeNormal, 1);
  EXPECT_EQ(FramesToEnd(61 * 3 + 5), 61 * 3 + 5);
  EXPECT_EQ(Player().m_Reversed, 0);
  EXPECT_NEAR(Player().m_Current, 5 * 640.0 / 60, 1e-9);  // 5 frames into the fourth pass

  // Both at once: there and back forever.
  StartScrEffect(Player(), 1, kEffectModeThereAndBack, 1);
  EXPECT_EQ(FramesToEnd(61 + 30), 61 + 30);
  EXPECT_EQ(Player().m_Reversed, 1);
  EXPECT_EQ(FramesToEnd(61), 61);
  EXPECT_EQ(Player().m_Reversed, 0);
}

// A frame drawn while the game logic waits shows the effect without moving any of its values.
TEST_F(ScreenEffectStateTest, FrozenFramesDoNotAdvance) {
  PutHero(10, 10);
  for (std::int32_t kind = 1; kind <= kScrEffectKindCount; ++kind) {
    SCOPED_TRACE(::testing::Message() << "kind " << kind);
    Define({{kind, {10, 4, 8, 3, 2}}});
    StartScrEffect(Player(), 1, kEffectModeNormal, 0);
    for (int i = 0; i < 7; ++i) DrawFrame();
    const cScrEffectPlayer before = Player();
    for (int i = 0; i < 20; ++i) DrawFrame(1);
    const cScrEffectPlayer& after = Player();
    EXPECT_EQ(after.m_Number, before.m_Number);
    EXPECT_EQ(after.m_Reversed, before.m_Reversed);
    EXPECT_EQ(after.m_Current, before.m_Current);
    EXPECT_EQ(after.m_Second, before.m_Second);
    EXPECT_EQ(after.m_ValueA, before.m_ValueA);
    EXPECT_EQ(after.m_ValueB, before.m_ValueB);
    DrawFrame();
    EXPECT_NE(Player().m_Current, before.m_Current);
  }
}

TEST_F(ScreenEffectStateTest, StartTakesTheTemplateOfItsDirection) {
  Define({{1, {10, 100, 50, 300, 150}}, {13, {10, 1, 60, 0, 0}}});
  cScrEffectPlayer& player = Player();
  StartScrEffect(player, 1, kEffectModeNormal, 0);
  EXPECT_EQ(player.m_Def, &g_Database.m_ScrEffects.At(1));
  EXPECT_EQ(player.m_ValueA, 100);
  EXPECT_EQ(player.m_ValueB, 50);
  // A new start replaces the running effect.
  StartScrEffect(player, 2, kEffectModeReverse, 1);
  EXPECT_EQ(player.m_Number, 2);
  EXPECT_EQ(player.m_Def, &g_Database.m_ScrEffectsReversed.At(2));
  EXPECT_EQ(player.m_Mode, kEffectModeReverse);
  EXPECT_EQ(player.m_Loop, 1);
  EXPECT_EQ(player.m_Reversed, 1);
  EXPECT_EQ(player.m_Current, 60.0);
  EXPECT_DOUBLE_EQ(player.m_Step, 59.0 / 60.0);
  // Number 0 stops it.
  StartScrEffect(player, 0, kEffectModeNormal, 0);
  EXPECT_EQ(player.m_Number, 0);
  DrawFrame();
  EXPECT_EQ(At(3, 4), FramePixel(3, 4));
}

// Definitions a damaged table or command can hold: a number beyond the table is reported and
// starts nothing; a time of 0 runs as 1 tenth; counts of 0 that divide the screen draw as 1; a kind
// beyond the table ends at once and leaves the frame as it was drawn.
TEST_F(ScreenEffectStateTest, DamagedDefinitionsStayBounded) {
  Define({{4, {0, 0, 640, 15, 0}}});
  for (std::int16_t number : {std::int16_t{2}, std::int16_t{-1}}) {
    StartScrEffect(Player(), number, kEffectModeNormal, 0);
    EXPECT_EQ(Player().m_Number, 0);
  }
  const std::string size = std::to_string(sizeof(cScrEffectPlayer));
  EXPECT_EQ(ReadHostFile("Report_Game.txt"), "err V[2] ( 2 , " + size + " )\nerr V[-1] ( 2 , " + size + " )\n");
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 2);

  struct sCase {
    sScrEffect effect;
    std::int32_t frames;
  };
  const sCase cases[] = {
      {{1, {0, 0, 0, 640, 0}}, 12},
      {{2, {0, 4, 4, 0, 0}}, 12},
      {{4, {0, 0, 640, 0, 0}}, 7},
      {{5, {-5, 0, 480, 0, 0}}, 7},
      {{6, {10, 0, 640, 0, 0}}, 61},
      {{7, {10, 0, 480, 4, 0}}, 61},
      {{10, {10, 640, 0, 0, 0}}, 61},
      {{13, {10, 0, 60, 0, 0}}, 61},
      {{8, {0, 0, 0, 0, 0}}, 12},
      {{11, {10, 0, -6400, 0, 0}}, 61},
      {{12, {10, 0, 40000, 0, 0}}, 61},
      // Values at the ends of the int range: every sum and product stays defined.
      {{1, {10, kMin, kMax, kMax, kMin}}, 67},
      {{2, {10, kMax, kMax, 0, 0}}, 67},
      {{4, {10, 0, 640, kMax, 0}}, 61},
      {{10, {10, 640, 0, kMax, 0}}, 61},
      {{12, {10, 0, 60, kMax, kMin}}, 61},
      {{6, {10, 0, 60, kMax, kMax}}, 61},
      // Last: an unknown kind leaves the frame as drawn.
      {{14, {10, 0, 0, 0, 0}}, 1},
      {{-3, {10, 0, 0, 0, 0}}, 1},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.effect.kind);
    Define({c.effect});
    StartScrEffect(Player(), 1, kEffectModeNormal, 0);
    EXPECT_EQ(FramesToEnd(), c.frames);
  }
  EXPECT_EQ(At(3, 4), FramePixel(3, 4));
}

// Under Direct3D the effect draws on the virtual back buffer; an effect that ends, or one stopped by
// a start of number 0, switches it off and the frame reaches the back buffer.
TEST_F(ScreenEffectTest, EndingEffectsGiveBackTheBackBuffer) {
  StartDisplay(BackEnd::Direct3D, kTiny);
  Define({{1, {1, 0, 0, 0, 0}}, {2, {10, 4, 4, 0, 0}}});
  StartScrEffect(Player(), 1, kEffectModeNormal, 0);
  DrawFrame();
  EXPECT_EQ(g_DisplayContext->virBackOn, 1);
  EXPECT_EQ(FramesToEnd(), 11);
  EXPECT_EQ(g_DisplayContext->virBackOn, 0);
  EXPECT_EQ(PixelsOf(g_BackSurface).Pixel(3, 4) & 0xFFFFFF, FramePixel(3, 4));

  StartScrEffect(Player(), 2, kEffectModeNormal, 0);
  DrawFrame();
  EXPECT_EQ(g_DisplayContext->virBackOn, 1);
  StartScrEffect(Player(), 0, kEffectModeNormal, 0);
  DrawFrame();
  EXPECT_EQ(g_DisplayContext->virBackOn, 0);
  EXPECT_EQ(PixelsOf(g_BackSurface).Pixel(3, 4) & 0xFFFFFF, FramePixel(3, 4));
}

}  // namespace
