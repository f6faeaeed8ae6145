// The status bar's layout and gauges, the lives text and the time limit with its warning sound.
#include <climits>
#include <vector>

#include "platform/audio/sound_effects.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/timers.h"
#include "play/chara_base.h"
#include "play/status_bar.h"
#include "project/save_data.h"
#include "tests/play/stage_draw_fixture.h"

namespace {

using Widths = std::array<std::int32_t, kStatusBarItemCount>;

TEST(StatusBarLayoutTest, ShownItemsShareTheGapsEvenly) {
  struct sCase {
    const char* name;
    Widths widths;
    std::int32_t shown, gap;
    Widths x;
  };
  // clang-format off
  const sCase cases[] = {
      {"four items",              {100, 80, 66, 32, 0}, 4, 72,  {72, 244, 396, 534, 0}},
      {"only the lives",          {0, 0, 0, 0, 48},     1, 295, {0, 0, 0, 0, 295}},
      {"nothing shown",           {0, 0, 0, 0, 0},      0, 0,   {0, 0, 0, 0, 0}},
      {"the bar filled exactly",  {638, 0, 0, 0, 0},    1, 0,   {0, 0, 0, 0, 0}},
      {"wider than the bar",      {400, 0, 400, 0, 0},  2, -54, {-54, 0, 292, 0, 0}},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.name);
    const cStatusBarLayout layout = LayOutStatusBar(c.widths);
    EXPECT_EQ(layout.m_Shown, c.shown);
    EXPECT_EQ(layout.m_Gap, c.gap);
    for (std::size_t i = 0; i < c.widths.size(); ++i) {
      if (c.widths[i] == 0) continue;
      EXPECT_EQ(layout.m_X[i], c.x[i]) << i;
    }
  }
}

TEST(StatusBarLayoutTest, ItemWidthsFromLabelIconGaugeAndDigits) {
  InitRecordSettings();
  struct sCase {
    const char* name;
    std::int32_t kind, shown, icon;
    std::string label;
    std::int32_t digits, width;
  };
  const sCase cases[] = {
      {"score with a label", kStatusScore, 1, 0, "SCORE", 6, 5 * 16 + 6 * 16},
      {"score with its icon", kStatusScore, 1, 1, "SCORE", 6, 16 + 6 * 16},
      {"HP gauge with a label", kStatusHp, 1, 0, SJ("体力"), 9, 2 * 16 + 50},
      {"SP gauge with its icon", kStatusSp, 1, 1, "", 0, 16 + 50},
      {"lives not shown", kStatusLives, 0, 0, "LIFE", 2, 0},
      {"absurd digit count stays bounded", kStatusTotalScore, 1, 1, "", INT_MAX, 1 << 20},
  };
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.name);
    cStatusBarItem item;
    item.m_Shown = c.shown;
    item.m_Icon = c.icon;
    item.m_Label = c.label;
    item.m_Digits = c.digits;
    EXPECT_EQ(StatusItemWidth(c.kind, item), c.width);
  }
}

TEST(StatusBarLayoutTest, GaugeFillAndItsRow) {
  struct sCase {
    std::int32_t value, maximum, fill, row;
  };
  // clang-format off
  const sCase cases[] = {
      {16, 48, 16, 160},        // 16.67 dots: the low row
      {17, 50, 17, 144},
      {50, 50, 50, 144},
      {75, 50, 50, 144},        // more than the maximum: a full gauge
      {-5, 50, 0, 160},
      {10, 0, 0, 160},          // no maximum: no fill
      {10, -3, 0, 160},
      {INT_MAX, INT_MAX, 50, 144},
      {INT_MAX, 1, 50, 144},
  };
  // clang-format on
  for (const sCase& c : cases) {
    EXPECT_EQ(GaugeFill(c.value, c.maximum), c.fill) << c.value << "/" << c.maximum;
    EXPECT_EQ(GaugeFillRow(GaugeFill(c.value, c.maximum)), c.row) << c.value << "/" << c.maximum;
  }
}

TEST(StatusBarLayoutTest, LivesShowInfinityWhenUnlimited) {
  std::string text;
  LivesText(text, "", 999999);
  EXPECT_EQ(text, SJ("∞"));
  LivesText(text, SJ("残り"), 999999);
  EXPECT_EQ(text, SJ("残り∞"));
  LivesText(text, "x", 3);
  EXPECT_EQ(text, "x3");
  LivesText(text, "", 999998);
  EXPECT_EQ(text, "999998");
}

class StatusBarDrawTest : public StageDrawTest {
 protected:
  void SetUp() override {
    StageDrawTest::SetUp();
    m_Items = g_System.m_StatusBarItems;
    for (cStatusBarItem& item : g_System.m_StatusBarItems) item.m_Shown = 0;
    m_Hero.m_Def.m_MaxHp = 48;
    m_Hero.m_Hp = 16;
    m_Scene->m_Heroes.push_back(&m_Hero);
  }
  void TearDown() override {
    g_System.m_StatusBarItems = m_Items;
    StageDrawTest::TearDown();
  }

  static std::uint32_t Accessory(int x, int y) { return SheetPixel(0xE0, 16, x, y); }
  static std::uint32_t Window(int x, int y) { return SheetPixel(0xD8, 32, x, y); }
  static std::uint32_t Word(int x, int y) { return SheetPixel(0xE8, 32, x, y); }

  CheckedVector<cStatusBarItem> m_Items;
  cCharaBase m_Hero;
};

TEST_F(StatusBarDrawTest, GaugeFillStartsInTheLowRowBelowSeventeenDots) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    cStatusBarItem& hp = g_System.m_StatusBarItems.At(kStatusHp);
    hp.m_Shown = 1;
    hp.m_Icon = 1;
    hp.m_ShowNumber = 0;
    // One item 66 wide: gap (638 - 66) / 2 = 286; the icon there, the gauge 16 further.
    const int gx = 286 + 16;
    struct sCase {
      std::int32_t hp, maxHp, fill, row;
    };
    for (const sCase& c : {sCase{16, 48, 16, 160}, sCase{17, 50, 17, 144}, sCase{0, 50, 0, 160}}) {
      SCOPED_TRACE(c.hp);
      m_Hero.m_Hp = c.hp;
      m_Hero.m_Def.m_MaxHp = c.maxHp;
      ClearFrame(0);
      DrawStatusBar(&g_BackSurface);
      for (int dy = 0; dy < 16; dy += 3)
        for (int dx = 0; dx < 50; dx += 1) {
          std::uint32_t expected = Over(Accessory(dx, 128 + dy), Window(gx + dx, 3 + dy));
          if (dx < c.fill) expected = Over(Accessory(dx, c.row + dy), expected);
          ASSERT_EQ(Frame(gx + dx, 3 + dy), expected) << dx << "," << dy;
        }
      EXPECT_EQ(Frame(286 + 5, 3 + 5), Over(Accessory(32 + 5, 32 + 5), Window(291, 8))) << "the HP icon";
      EXPECT_EQ(Frame(600, 10), Window(600, 10)) << "the bar's background";
      EXPECT_EQ(Frame(600, 25), 0u) << "below the bar";
    }
    // The stage's switch hides the whole bar.
    g_Stage.SetField(kStatusBarShown, 0);
    ClearFrame(0);
    DrawStatusBar(&g_BackSurface);
    EXPECT_EQ(Frame(600, 10), 0u);
    g_Stage.SetField(kStatusBarShown, 1);
  }
}

TEST_F(StatusBarDrawTest, TimeIsThreeDigitsWithZerosInFront) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    m_Scene->m_NoTimeLimit = 0;
    struct sCase {
      std::int32_t time;
      int digits[3];
    };
    for (const sCase& c : {sCase{10, {0, 1, 0}}, sCase{123, {1, 2, 3}}, sCase{0, {0, 0, 0}}, sCase{7, {0, 0, 7}}}) {
      SCOPED_TRACE(c.time);
      m_Scene->m_TimeLeft = c.time;
      ClearFrame(0);
      DrawTimeLimit(&g_BackSurface, 0);
      for (int i = 0; i < 3; ++i)
        for (int d = 2; d < 32; d += 9)
          EXPECT_EQ(Frame(272 + 32 * i + d, 24 + d), Word(32 * c.digits[i] + d, 160 + d)) << "digit " << i;
    }
    m_Scene->m_NoTimeLimit = 1;
    ClearFrame(0);
    DrawTimeLimit(&g_BackSurface, 1);
    EXPECT_EQ(Frame(272 + 10, 24 + 10), 0u);
  }
}

TEST_F(StatusBarDrawTest, WarningSoundsOnceASecondFromTheWarningTimeDownToOne) {
  StartDrawing(BackEnd::DirectDraw);
  std::vector<std::uintptr_t> sounds;
  MainWindowQueue().BindToCurrentThread([&](const HostMessage& msg) -> std::intptr_t {
    if (msg.message == WM_GAME_PLAYSE) sounds.push_back(msg.wParam);
    return 0;
  });
  g_Stage.SetField(kTimeWarning, 10);
  std::vector<std::int32_t> warnedAt;
  // Thirteen seconds of play from 12 down to 0, the shared counter wrapping every 60 frames.
  EveryN(0, 0);
  for (std::int32_t second = 0; second <= 12; ++second) {
    m_Scene->m_TimeLeft = 12 - second;
    for (int frame = 0; frame < 60; ++frame) {
      const std::size_t before = sounds.size();
      DrawTimeLimit(&g_BackSurface, 1);
      if (sounds.size() != before) warnedAt.push_back(m_Scene->m_TimeLeft);
      EveryN(1, 60);
    }
  }
  EXPECT_EQ(warnedAt, (std::vector<std::int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
  for (std::uintptr_t sound : sounds) EXPECT_EQ(sound, static_cast<std::uintptr_t>(kTimeWarningSound));

  // Frames that do not count the time (the frozen states) never warn.
  sounds.clear();
  EveryN(0, 0);
  m_Scene->m_TimeLeft = 5;
  DrawTimeLimit(&g_BackSurface, 0);
  EXPECT_TRUE(sounds.empty());
  DrawTimeLimit(&g_BackSurface, 1);
  EXPECT_EQ(sounds.size(), 1u);
  MainWindowQueue().UnbindFromCurrentThread();
  EveryN(0, 0);
}

}  // namespace
