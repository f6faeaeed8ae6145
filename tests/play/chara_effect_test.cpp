// The character-effect player: how each kind's values run from frame to frame, the passes of the
// modes and the loop, frozen frames, and numbers and kinds the tables do not have.
#include <cmath>
#include <vector>

#include "platform/services/log.h"
#include "play/chara_base.h"
#include "play/chara_effect.h"
#include "play/flow_seam.h"
#include "tests/play/chara_effect_defs.h"
#include "tests/support/game_folder.h"

namespace {

class CharaEffectPlayerTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }
  void TearDown() override {
    ClearCharaEffects();
    GameFolderTest::TearDown();
  }

  // Frames of the character without a picture until its effect ends (at most limit); the number of
  // the frame that ended it, or 0 when it still runs.
  static int FramesToEnd(cCharaBase& chara, int limit) {
    for (int frame = 1; frame <= limit; ++frame) {
      chara.StepEffectOnly(0);
      if (chara.m_CharaEffect.m_Number == 0) return frame;
    }
    return 0;
  }
};

TEST_F(CharaEffectPlayerTest, BlinksStartHiddenForTheIntervalAndOneMore) {
  SetCharaEffects({
      {6, {10, 2}},      // 点滅, the default interval
      {6, {10, 1}},      // 点滅 every frame
      {14, {10, 9999}},  // 半透明, the default interval
      {14, {10, 3}},     // 半透明 blinking
  });
  struct sCase {
    const char* name;
    std::int16_t number;
    const char* phases;  // the phase flag each frame is drawn with: '0' hidden (点滅) or translucent (半透明)
  };
  const sCase cases[] = {
      {"点滅 2", 1, "0001100110011"},
      {"点滅 1", 2, "0010101010"},
      {"半透明 9999", 3, "0000000000"},
      {"半透明 3", 4, "0000111000111"},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.name);
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, c.number, kEffectModeNormal, 0);
    std::string seen;
    for (std::size_t i = 0; c.phases[i] != '\0'; ++i) {
      seen += static_cast<char>('0' + chara.m_CharaEffect.m_PhaseFlag);
      chara.StepEffectOnly(0);
    }
    EXPECT_EQ(seen, c.phases);
  }
  // Their time is counted in sixths of a tenth: 61 frames for one second, whatever the interval.
  for (std::int16_t number : {1, 3}) {
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, number, kEffectModeNormal, 0);
    EXPECT_EQ(FramesToEnd(chara, 200), 61) << number;
  }
  cCharaBase translucent;
  StartCharaEffect(translucent.m_CharaEffect, 3, kEffectModeNormal, 0);
  for (int frame = 0; frame < 60; ++frame) {
    translucent.StepEffectOnly(0);
    ASSERT_EQ(translucent.m_CharaEffect.m_PhaseFlag, 0) << "半透明 9999 never blinks, frame " << frame;
  }
}

TEST_F(CharaEffectPlayerTest, PassesRunTheRangeInTheirModes) {
  SetCharaEffects({
      {13, {10, 1, 1, 16}},  // 1 色変化 with its defaults: 1 to 1
      {13, {10, 1, 4, 16}},  // 2 色変化 1 to 4
      {7, {10, 0, 1440}},    // 3 回転A
      {1, {5, 0, 30}},       // 4 破裂, one dot a frame
      {11, {10, 32, 64}},    // 5 拡大 with its defaults
  });
  struct sCase {
    const char* name;
    std::int16_t number;
    std::int32_t mode, loop;
    double first;  // current in the first frame
    int frames;    // until the end; 0: it never ends (checked over 1000 frames)
  };
  const sCase cases[] = {
      {"色変化 1 to 1 never ends", 1, kEffectModeNormal, 0, 1, 0},
      {"色変化 1 to 4", 2, kEffectModeNormal, 0, 1, 61},
      {"回転A", 3, kEffectModeNormal, 0, 0, 61},
      {"回転A reversed: from the end angle", 3, kEffectModeReverse, 0, 1440, 61},
      {"回転A there and back", 3, kEffectModeThereAndBack, 0, 0, 122},
      {"回転A there and back, looping", 3, kEffectModeThereAndBack, 1, 0, 0},
      {"破裂 looping", 4, kEffectModeNormal, 1, 0, 0},
      {"破裂 reversed, looping", 4, kEffectModeReverse, 1, 30, 0},
      {"破裂", 4, kEffectModeNormal, 0, 0, 31},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.name);
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, c.number, c.mode, c.loop);
    EXPECT_EQ(chara.m_CharaEffect.m_Number, c.number);
    EXPECT_EQ(chara.m_CharaEffect.m_Current, c.first);
    EXPECT_EQ(FramesToEnd(chara, 1000), c.frames);
  }

  // The whole values the frames of a pass show, in order, each once. The last frame shows the end
  // value although the sum of the steps falls just short of it.
  auto shown = [](std::int16_t number, double from) {
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, number, kEffectModeNormal, 0);
    std::vector<std::int32_t> values;
    while (chara.m_CharaEffect.m_Number != 0) {
      const auto v = static_cast<std::int32_t>(chara.m_CharaEffect.m_Current - from);
      if (values.empty() || values.back() != v) values.push_back(v);
      chara.StepEffectOnly(0);
    }
    return values;
  };
  EXPECT_EQ(shown(2, 0), (std::vector<std::int32_t>{1, 2, 3, 4})) << "色変化 1 to 4: one to four steps";
  const std::vector<std::int32_t> grown = shown(5, 32);
  ASSERT_EQ(grown.size(), 33u);
  EXPECT_EQ(grown.front(), 0) << "拡大 starts at the character's size";
  EXPECT_EQ(grown.back(), 32) << "and ends 32 dots larger";

  // There and back: the backward pass starts from the end angle and comes down to the start.
  cCharaBase turn;
  StartCharaEffect(turn.m_CharaEffect, 3, kEffectModeThereAndBack, 0);
  std::vector<double> values;
  for (int frame = 0; frame < 122; ++frame) {
    values.push_back(turn.m_CharaEffect.m_Current);
    turn.StepEffectOnly(0);
  }
  EXPECT_EQ(values[60], 1440.0);
  EXPECT_EQ(turn.m_CharaEffect.m_Reversed, 1);
  EXPECT_EQ(values[61], 1440.0) << "the backward pass begins again at its start";
  EXPECT_EQ(values[62], 1416.0);
  EXPECT_EQ(values[121], 0.0);
  EXPECT_EQ(turn.m_CharaEffect.m_Number, 0);

  // A loop starts each pass from its template again.
  cCharaBase burst;
  StartCharaEffect(burst.m_CharaEffect, 4, kEffectModeNormal, 1);
  for (int frame = 0; frame < 31; ++frame) burst.StepEffectOnly(0);
  EXPECT_EQ(burst.m_CharaEffect.m_Current, 0.0);
  EXPECT_EQ(burst.m_CharaEffect.m_Number, 4);
}

TEST_F(CharaEffectPlayerTest, FrozenFramesLeaveEveryKindWhereItIs) {
  std::vector<sEffectDefRow> defs;
  for (std::int32_t kind = 1; kind <= kCharaEffectKindCount; ++kind) defs.push_back({kind, {10, 1, 4, 2, 2}});
  SetCharaEffects(defs);

  auto same = [](const cCharaEffectPlayer& a, const cCharaEffectPlayer& b) {
    return a.m_Number == b.m_Number && a.m_Def == b.m_Def && a.m_Reversed == b.m_Reversed && a.m_Current == b.m_Current &&
           a.m_Counter == b.m_Counter && a.m_PhaseFlag == b.m_PhaseFlag;
  };
  for (std::int16_t number = 1; number <= kCharaEffectKindCount; ++number) {
    SCOPED_TRACE(::testing::Message() << "kind " << number);
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, number, kEffectModeNormal, 0);
    for (int frame = 0; frame < 5; ++frame) chara.StepEffectOnly(0);
    const cCharaEffectPlayer before = chara.m_CharaEffect;
    for (int frame = 0; frame < 10; ++frame) {
      chara.StepEffectOnly(1);
      EXPECT_EQ(RunCharaEffect(chara, nullptr, nullptr, 1, 0), 0);
    }
    EXPECT_TRUE(same(chara.m_CharaEffect, before));
    chara.StepEffectOnly(0);
    EXPECT_FALSE(same(chara.m_CharaEffect, before)) << "the game running again moves it on";
  }
}

TEST_F(CharaEffectPlayerTest, NumbersAndKindsOutsideTheTablesPlayPlainly) {
  SetCharaEffects({
      {40, {10, 0, 32}},  // 1: a kind beyond the table
      {0, {10, 0, 32}},   // 2: the plain kind under a number of its own
      {1, {0, 0, 12}},    // 3: 破裂 with a time of 0
      {6, {0, 2}},        // 4: 点滅 with a time of 0
      {2, {5, 0, 30, 0}},  // 5: 分割 into 0 parts
  });
  // A number the templates do not hold is reported and plays plain.
  for (std::int16_t number : {6, 300, -1}) {
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, number, kEffectModeReverse, 1);
    EXPECT_EQ(chara.m_CharaEffect.m_Number, 0) << number;
    EXPECT_EQ(chara.m_CharaEffect.m_Def, nullptr);
  }
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("err V[300] ( 6 ,"), std::string::npos);

  // Without a picture of its own an effect ends at once, but not while frozen.
  for (std::int16_t number : {1, 2}) {
    cCharaBase chara;
    StartCharaEffect(chara.m_CharaEffect, number, kEffectModeNormal, 0);
    EXPECT_EQ(RunCharaEffect(chara, nullptr, nullptr, 1, 0), 0) << number;
    EXPECT_EQ(RunCharaEffect(chara, nullptr, nullptr, 0, 0), 1) << number;
  }
  // The plain draw itself never ends.
  cCharaBase plain;
  EXPECT_EQ(RunCharaEffect(plain, nullptr, nullptr, 0, 0), 0);

  // A time of 0 plays as one tenth: 12 dots in six frames, or a blink of one tenth.
  cCharaBase burst;
  StartCharaEffect(burst.m_CharaEffect, 3, kEffectModeNormal, 0);
  EXPECT_EQ(burst.m_CharaEffect.m_Step, 2.0);
  EXPECT_EQ(FramesToEnd(burst, 100), 7);
  cCharaBase blink;
  StartCharaEffect(blink.m_CharaEffect, 4, kEffectModeNormal, 0);
  EXPECT_EQ(FramesToEnd(blink, 100), 7);
  // Without any definitions every number is the plain draw.
  g_Database.m_CharaEffects.clear();
  g_CharaEffectTemplates.clear();
  g_CharaEffectTemplatesReversed.clear();
  cCharaBase bare;
  StartCharaEffect(bare.m_CharaEffect, 3, kEffectModeNormal, 0);
  EXPECT_EQ(bare.m_CharaEffect.m_Number, 0);
  bare.m_CharaEffect.m_Number = 3;
  EXPECT_EQ(RunCharaEffect(bare, nullptr, nullptr, 0, 0), 0);
}

}  // namespace
