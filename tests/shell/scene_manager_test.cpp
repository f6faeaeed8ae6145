// The frame loop run in-process over a headless screen: the scene switch, the frame-rate text, the
// pacing and the present of both back-ends, and the failures a scene can bring.
#include <stdexcept>

#include "platform/display/blend_table.h"
#include "platform/display/blit.h"
#include "platform/display/present.h"
#include "platform/display/display_faults.h"
#include "platform/host/trace.h"
#include "play/play_scene.h"
#include "project/stage_data.h"
#include "shell/startup.h"
#include "tests/shell/scene_fixture.h"

namespace {

// What the test scenes did, frame by frame.
struct sSceneLog {
  int frames = 0;         // manager frames run so far (counted by the test)
  int enteredAt = -1;     // the frame in which Enter ran
  int handlerCalls = 0;   // calls of the waiting state's handler
  int destroyed = 0;
  std::uint32_t workMs = 0;  // the clock time one frame of the scene takes
  bool throwInEnter = false;
};
sSceneLog s_Log;

// A scene that fades in at once, waits, and fades out to m_Next at once.
class cTestScene : public cScene {
 public:
  cTestScene() { SetHandlers({static_cast<Handler>(&cTestScene::OnWait)}); }
  ~cTestScene() override { ++s_Log.destroyed; }
  void Frame() override { MenuFrame(); }
  void Enter() override {
    if (s_Log.throwInEnter) throw "test scene cannot start";
    s_Log.enteredAt = s_Log.frames;
  }
  void FadeIn() override { m_State = 1; }
  void FadeOut() override {
    g_SceneManager.m_Previous = 1;
    g_SceneManager.m_Current = g_SceneManager.m_Next;
  }
  void OnWait() {
    ++s_Log.handlerCalls;
    DDClear(&g_BackSurface, 0);
    AdvanceVirtualClock(s_Log.workMs);
  }
};

std::unique_ptr<cScene> MakeTestScene() { return std::make_unique<cTestScene>(); }
std::unique_ptr<cScene> ThrowText() { throw "no memory for the scene"; }
std::unique_ptr<cScene> ThrowError() { throw std::runtime_error("scene data damaged"); }
std::unique_ptr<cScene> MakeNothing() { return nullptr; }

class SceneManagerTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    s_Log = sSceneLog{};
    ASSERT_TRUE(OpenTrace("trace.txt"));
  }
  void TearDown() override {
    g_TimerPresentation = 0;
    g_Stage.SetField(kFrameRate, 60);
    CloseTrace();
    SceneTest::TearDown();
  }
  void Frame() {
    ++s_Log.frames;
    ASSERT_EQ(g_SceneManager.Frame(), 1);
  }
};

TEST_F(SceneManagerTest, TheOldSceneGoesInTheFrameAfterItsFadeAndTheNewOneEntersInThatFrame) {
  WriteTitlePictures();
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  g_SceneManager.SetSceneFactory(kSceneWorldMap, &MakeTestScene);
  ASSERT_TRUE(RunUntilShown());
  EXPECT_EQ(m_Music, std::vector<int>{0}) << "the title asks for the title music once";

  Press({'Z'});  // はじめから
  EXPECT_EQ(g_SceneManager.m_Next, kSceneWorldMap);
  EXPECT_EQ(m_Sounds, std::vector<int>{1});
  // The fade-out runs frame by frame; in the frame it ends the title still exists.
  int guard = 0;
  while (g_SceneManager.m_Current == kSceneTitle && guard++ < 100) {
    ASSERT_NE(g_SceneManager.Scene(kSceneTitle), nullptr);
    Frame();
  }
  ASSERT_EQ(g_SceneManager.m_Current, kSceneWorldMap);
  EXPECT_EQ(g_SceneManager.m_Previous, kSceneTitle);
  EXPECT_NE(g_SceneManager.Scene(kSceneTitle), nullptr) << "deleted only in the next frame";
  EXPECT_EQ(g_SceneManager.Scene(kSceneWorldMap), nullptr);
  EXPECT_EQ(s_Log.enteredAt, -1);

  Frame();
  EXPECT_EQ(g_SceneManager.Scene(kSceneTitle), nullptr);
  ASSERT_NE(g_SceneManager.Scene(kSceneWorldMap), nullptr);
  EXPECT_EQ(s_Log.enteredAt, s_Log.frames) << "Enter ran in the frame that made the scene";
  EXPECT_NE(ReadHostFile("trace.txt").find("scene switch 0 -> 1"), std::string::npos);
}

TEST_F(SceneManagerTest, FrameRateTextStandsWhereShowFpsPutsIt) {
  // The installed fonts: the fixture face's cells are taller than font 0's place at the foot.
  SetFontFileOverride({});
  WriteTitlePictures();
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, {45}));  // the text window's picture
  g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
  struct sCase {
    std::int32_t showFps;
    bool window;  // the framed window, left of where the bare text begins
    bool text;    // ink right of 549 on the bottom rows
  };
  const sCase cases[] = {{0, false, false}, {1, true, true}, {2, false, true}};
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.showFps);
    g_SystemIni.ShowFps = c.showFps;
    Frame();
    const std::vector<std::uint32_t> shown = m_Screen.LastFrame();
    auto at = [&](int x, int y) { return shown[static_cast<std::size_t>(y) * 640 + x] & 0xFFFFFF; };
    bool framed = false;
    for (int y = 462; y < 469; ++y)
      for (int x = 494; x < 549; ++x) framed = framed || at(x, y) != 0;
    EXPECT_EQ(framed, c.window);
    EXPECT_EQ(at(493, 470), 0u) << "nothing left of the window";
    bool ink = false;
    for (int y = 469; y < 480; ++y)
      for (int x = 549; x < 640; ++x) ink = ink || at(x, y) != 0;
    EXPECT_EQ(ink, c.text);
    bool elsewhere = false;
    for (int y = 0; y < 460; y += 3)
      for (int x = 0; x < 640; x += 3) elsewhere = elsewhere || at(x, y) != 0;
    EXPECT_FALSE(elsewhere) << "nothing outside the corner";
  }
}

TEST_F(SceneManagerTest, TheMeanWorkTimeChangesOnlyEverySixteenFrames) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
  g_SceneManager.m_FrameRate = 0;
  g_SystemIni.ShowFps = 2;
  s_Log.workMs = 3;
  // The first frame enters and fades in: the ring counts it, its work time is 0.
  for (int i = 0; i < 15; ++i) Frame();
  EXPECT_EQ(g_SceneManager.m_WorkMean, 0);
  Frame();
  EXPECT_EQ(g_SceneManager.m_WorkMean, (15 * 3) / 16);
  s_Log.workMs = 7;
  for (int i = 0; i < 15; ++i) Frame();
  EXPECT_EQ(g_SceneManager.m_WorkMean, 2) << "unchanged within the next sixteen";
  Frame();
  EXPECT_EQ(g_SceneManager.m_WorkMean, 7);
  EXPECT_EQ(g_SceneManager.m_WorkMs, 7);
}

TEST_F(SceneManagerTest, FramesArePacedAtTheManagersRate) {
  ASSERT_TRUE(StartDisplay(1, 32, 1));
  g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
  // 1000 / rate whole milliseconds apart; rate 0 does not wait at all.
  for (std::int32_t rate : {60, 120, 0}) {
    SCOPED_TRACE(rate);
    g_SceneManager.m_FrameRate = rate;
    Frame();
    const std::uint32_t start = ClockMs();
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_EQ(ClockMs() - start, rate ? 10u * static_cast<std::uint32_t>(1000 / rate) : 0u);
  }
}

TEST_F(SceneManagerTest, DirectDrawPresentWaitsForTheBlankOnlyAtUpTo60Frames) {
  struct sCase {
    int windowed;
    std::int32_t timerPresentation;
    std::int32_t slot;
    std::int32_t stageRate;
    PresentKind want;
  };
  // clang-format off
  const sCase cases[] = {
      {1, 0, kScenePlay, 120, PresentKind::WindowAtOnce},
      {1, 0, kScenePlay, 60, PresentKind::WindowAfterVBlank},
      {1, 0, kSceneTitle, 120, PresentKind::WindowAfterVBlank},  // no stage runs: the rate is not its
      {0, 0, kScenePlay, 120, PresentKind::Copy},
      {0, 0, kScenePlay, 60, PresentKind::Flip},
      {0, 1, kSceneTitle, 60, PresentKind::Copy},
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "windowed " << c.windowed << " slot " << c.slot << " rate " << c.stageRate);
    ASSERT_TRUE(StartDisplay(0, 32, c.windowed));
    g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
    g_TimerPresentation = c.timerPresentation;
    g_Stage.SetField(kFrameRate, c.stageRate);
    g_SceneManager.m_Current = c.slot;
    Frame();
    EXPECT_EQ(g_SceneManager.m_LastPresent, c.want);
    // Whatever the road, the frame reaches the screen: the scenes of these slots are dark there.
    EXPECT_EQ(m_Screen.LastFrame()[1000] & 0xFFFFFF, 0u);
    g_SceneManager.DeleteScenes();
    ReleaseGameFonts();
    DDRelease();
  }
}

TEST_F(SceneManagerTest, ThePlayScenePointerLivesExactlyAsLongAsThePlayScene) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
  g_SceneManager.m_Current = kScenePlay;
  Frame();
  ASSERT_NE(g_PlayScene, nullptr);
  EXPECT_EQ(static_cast<cScene*>(g_PlayScene), g_SceneManager.Scene(kScenePlay));
  g_SceneManager.m_Current = kSceneTitle;
  Frame();
  EXPECT_EQ(g_SceneManager.Scene(kScenePlay), nullptr);
  EXPECT_EQ(g_PlayScene, nullptr);
  g_SceneManager.m_Current = kScenePlay;
  Frame();
  g_SceneManager.DeleteScenes();
  EXPECT_EQ(g_PlayScene, nullptr);
}

TEST_F(SceneManagerTest, AFailedCreationClosesInOrderAndTheFrameCallsNoScene) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  struct sCase {
    SceneFactory factory;
    const char* reported;  // in the report log; null: nothing but the close
  };
  const sCase cases[] = {{&ThrowText, "no memory for the scene"},
                         {&ThrowError, "scene data damaged"},
                         {&MakeNothing, nullptr}};
  for (const sCase& c : cases) {
    g_SceneManager.SetSceneFactory(kSceneChallenge, c.factory);
    g_SceneManager.m_Current = kSceneChallenge;
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(g_SceneManager.Scene(kSceneChallenge), nullptr);
    if (c.reported) {
      EXPECT_EQ(TakeMessages(WM_CLOSE), 1) << "reported once, not every frame";
      EXPECT_NE(Report().find(c.reported), std::string::npos);
    } else {
      TakeMessages(WM_CLOSE);
    }
    // Another slot is tried afresh.
    g_SceneManager.m_Current = kSceneTitle;
    g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
    Frame();
    EXPECT_NE(g_SceneManager.Scene(kSceneTitle), nullptr);
  }
}

TEST_F(SceneManagerTest, AnExceptionInEnterIsReportedClosesAndStopsTheScene) {
  ASSERT_TRUE(StartDisplay(0, 32, 1));
  g_SceneManager.SetSceneFactory(kSceneTitle, &MakeTestScene);
  s_Log.throwInEnter = true;
  for (int i = 0; i < 4; ++i) Frame();
  EXPECT_EQ(TakeMessages(WM_CLOSE), 1);
  EXPECT_NE(Report().find("test scene cannot start"), std::string::npos);
  ASSERT_NE(g_SceneManager.Scene(kSceneTitle), nullptr);
  EXPECT_EQ(g_SceneManager.Scene(kSceneTitle)->m_State, cScene::kBroken);
  EXPECT_EQ(s_Log.handlerCalls, 0) << "no handler of a scene that did not start";
}

TEST_F(SceneManagerTest, ALostDirectDrawScreenIsRestoredWithTheMenuSurfaces) {
  WriteTitlePictures();
  ASSERT_TRUE(StartDisplay(0, 16, 0));
  ASSERT_TRUE(RunUntilShown());
  ASSERT_FALSE(g_MenuSurfaces.empty());
  InjectDisplayLoss();
  ASSERT_EQ(g_SceneManager.RestoreLostSurfaces(), 1);
  EXPECT_NE(g_PrimarySurface.lpDDPart->surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_NE(g_MenuSurfaces[0].lpDDPart->surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_NE(g_SurfaceTable[47].lpDDPart->surface->IsLost(), DDERR_SURFACELOST);
  // The title picture came back from its file.
  EXPECT_NE(g_SurfaceTable[47].lpDDPart->surface->Pixels().Pixel(300, 200), 0u);
  RunFrames(2);
}

// Palette image: entry i is (i, 0, 0), so a colour's red names the entry it came from.
class HbtPaletteTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    std::vector<BmpColour> table(256);
    for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)].red = static_cast<std::uint8_t>(i);
    BmpSpec image{.width = 16, .height = 24, .bpp = 8, .table = table};
    image.pixels.assign(16 * 24, 0);
    WriteHostFile("bmp/plt/Palette.bmp", MakeBmp(image));
    for (int n : {0, 3, 12, 14, 26}) WriteHostFile(FormatName(n), std::string(65536, static_cast<char>(n)));
    ASSERT_TRUE(DDInit(0, &m_Screen, 640, 480, 8, 0, 0, 1, 60, 1, g_SurfaceTable, g_SurfaceDescriptors,
                       kSurfaceTableSize));
  }
  static std::string FormatName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp/hbt/hbt%02d.dat", n);
    return name;
  }
  // The palette row r (1-12) as the entries it came from.
  static int RowSource(int r) { return g_Palette[r * 16].peRed / 16; }
};

TEST_F(HbtPaletteTest, NumbersRotateOrCopyTheColourRowsAndOnlyRowsThatExistAreTaken) {
  struct sCase {
    std::int32_t number;
    std::int32_t result;
    std::array<int, 12> rows;  // for a loaded palette: which original row each of rows 1-12 shows
  };
  // clang-format off
  const sCase cases[] = {
      {0, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {3, 1, {4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3}},
      {12, 1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {14, 1, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}},
      {26, 1, {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15}},
      {27, 0, {}},
      {-1, 0, {}},
      {5, 0, {}},  // no table file
  };
  // clang-format on
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(LoadHbtPalette(c.number), c.result);
    if (!c.result) continue;
    EXPECT_EQ(g_BlendTable[12345], static_cast<std::uint8_t>(c.number));
    for (int r = 1; r <= 12; ++r) EXPECT_EQ(RowSource(r), c.rows[static_cast<std::size_t>(r - 1)]) << "row " << r;
    EXPECT_EQ(g_Palette[5].peRed, 5) << "rows outside 1-12 stay";
    EXPECT_EQ(g_FadePalette[100], g_Palette[100]);
  }
  ASSERT_FALSE(m_Boxes.empty());
  EXPECT_NE(m_Boxes.back().find("hbt05.dat"), std::string::npos);
}

TEST_F(HbtPaletteTest, OnlyDirectDraw8BitNeedsTheTable) {
  DDRelease();
  ASSERT_TRUE(DDInit(1, &m_Screen, 640, 480, 32, 0, 1, 1, 60, 1, g_SurfaceTable, g_SurfaceDescriptors,
                     kSurfaceTableSize));
  EXPECT_EQ(LoadHbtPalette(99), 1);
  EXPECT_TRUE(m_Boxes.empty());
}

TEST_F(HbtPaletteTest, PaletteCyclingRotatesTheEightGroupsEverySixthFrame) {
  g_System.m_SystemColourCycling = 1;
  for (int i = 0; i < 256; ++i) g_FadePalette[i] = {static_cast<std::uint8_t>(i), 0, 0, 1};
  for (int call = 1; call <= 5; ++call) CycleSystemColours();
  EXPECT_EQ(g_FadePalette[208].peRed, 208) << "not yet";
  CycleSystemColours();
  // Each group of four moved by one entry, within the group.
  for (int g = 0; g < 8; ++g) {
    const int first = 208 + g * 4;
    EXPECT_EQ(g_FadePalette[first].peRed, first + 1);
    EXPECT_EQ(g_FadePalette[first + 3].peRed, first);
  }
  EXPECT_EQ(g_FadePalette[207].peRed, 207);
  EXPECT_EQ(g_FadePalette[240].peRed, 240);
  PALETTEENTRY shown[1];
  g_lpDDPalette->GetEntries(208, 1, shown);
  EXPECT_EQ(shown[0].peRed, 209) << "and the display shows it";
}

TEST_F(SceneTest, SystemColoursRampUpAndDownAndTheLastChangesItsHueEachCycle) {
  ASSERT_TRUE(StartDisplay(1, 32, 1));
  g_System.m_SystemColourStep = 64;
  // Levels seen by the colours: 0, 64, 128, 192 (256 would pass 255: it turns), 192, 128, 64, then
  // 64 - 64 reaches 0: it turns again, a completed cycle, 64, 128 ...
  const int levels[] = {0, 64, 128, 192, 192, 128, 64, 64, 128};
  const std::uint32_t hue8[] = {0, 0, 0, 0, 0, 0, 0, 1, 1};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    CycleSystemColours();
    const std::uint32_t l = static_cast<std::uint32_t>(levels[i]);
    EXPECT_EQ(g_SystemColours[1], (SystemColour{0xFF000000u | l << 16 | l << 8 | l, D3DTOP_ADD}));
    EXPECT_EQ(g_SystemColours[2].op, D3DTOP_SUBTRACT);
    EXPECT_EQ(g_SystemColours[7].argb, 0xFF000000u | l << 16 | l / 4);
    EXPECT_EQ(g_SystemColours[9].argb, hue8[i] == 0 ? 0xFF000000u | l << 16 : 0xFF000000u | l << 8);
  }
  EXPECT_EQ(g_SystemColours[0], SystemColour{}) << "entry 0 stays empty";
}

}  // namespace
