// Frames of small hand-built stages, pixel for pixel, under both back-ends: background layers and
// their scroll, the map cells of both planes, the object pass and its priorities, the pause frame.
#include <string>
#include <vector>

#include "play/chara_base.h"
#include "play/screen_colour.h"
#include "play/status_bar.h"
#include "tests/play/stage_draw_fixture.h"
#include "tests/support/alloc/allocation_count.h"

namespace {

TEST_F(StageDrawTest, WithoutAShownLayerTheFrameIsColour16) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd, 1);
    g_Stage.m_BgLayers.clear();
    AddLayer().m_Shown = 0;
    ClearFrame(0x010203);
    DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
    for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {320, 17}}) EXPECT_EQ(Frame(x, y), kColour16);

    // A shown layer, even one of the front plane, means the back plane draws only its own layers.
    g_Stage.m_BgLayers.At(0).m_Shown = 1;
    g_Stage.m_BgLayers.At(0).m_Pass = kPlaneFront;
    ClearFrame(0x010203);
    DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
    EXPECT_EQ(Frame(5, 5), 0x010203u);
    g_Stage.m_BgLayers.clear();
  }
}

// Where the frame's top-left dot lies in the image, with the camera at stage dots (x, y) and both
// factors 0.5: x rounded, y truncated before the factor, both wrapped into the image.
struct sSourceCase {
  const char* name;
  double cameraX, cameraY;
  int sx, sy;
};
// clang-format off
const sSourceCase kSourceCases[] = {
    {"at the stage's top left",          320.0,         320.0,        0,  0},
    {"x rounds, y truncates",            320.0 + 101.6, 320.0 + 41.9, 51, 20},
    {"x just below the half",            320.0 + 101.4, 320.0 + 41.0, 50, 20},
    {"left of the stage: wraps",         0.0,           0.0,          40, 20},
    {"far right: whole turns",           320.0 + 450.0, 320.0 + 200.0, 25, 40},
};
// clang-format on

TEST_F(StageDrawTest, LayerFollowsTheCameraByItsFactor) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd, 1);
    cBgLayer& layer = AddLayer();
    layer.m_RateX = 0.5;
    layer.m_RateY = 0.5;
    for (const sSourceCase& c : kSourceCases) {
      SCOPED_TRACE(c.name);
      SetCamera(c.cameraX, c.cameraY);
      DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
      // The first tile runs to the image's edge, the next starts at its left or top again.
      const int firstW = kBgWidth - c.sx, firstH = kBgHeight - c.sy;
      EXPECT_EQ(Frame(0, 0), BackgroundPixel(0, c.sx, c.sy, false));
      EXPECT_EQ(Frame(firstW - 1, firstH - 1), BackgroundPixel(0, kBgWidth - 1, kBgHeight - 1, false));
      EXPECT_EQ(Frame(firstW, firstH), BackgroundPixel(0, 0, 0, false));
      EXPECT_EQ(Frame(firstW + kBgWidth + 3, 7), BackgroundPixel(0, 3, c.sy + 7, false));
      EXPECT_EQ(Frame(639, 479), BackgroundPixel(0, (c.sx + 639) % kBgWidth, (c.sy + 479) % kBgHeight, false));
    }
    g_Stage.m_BgLayers.clear();
  }
}

TEST_F(StageDrawTest, AutomaticLayersScrollByTheirSpeedAndWrapOnce) {
  StartDrawing(BackEnd::DirectDraw, 2);
  struct sCase {
    double offset, speed, after;
  };
  // The image is 100 wide and 60 high.
  const sCase xCases[] = {{1.0, 3.0, 98.0}, {99.0, -2.0, 1.0}, {50.0, 0.5, 49.5}, {5.0, 250.0, -145.0}};
  for (const sCase& c : xCases) {
    g_Stage.m_BgLayers.clear();
    cBgLayer& layer = AddLayer();
    layer.m_AutoScrollX = 1;
    layer.m_RateX = c.speed;
    layer.m_OffsetX = c.offset;
    layer.m_OffsetY = 7.0;
    ScrollBackgrounds();
    EXPECT_DOUBLE_EQ(layer.m_OffsetX, c.after) << c.offset << " - " << c.speed;
    EXPECT_DOUBLE_EQ(layer.m_OffsetY, 7.0);
  }
  g_Stage.m_BgLayers.clear();
  cBgLayer& vertical = AddLayer();
  vertical.m_AutoScrollY = 1;
  vertical.m_RateY = 2.0;
  vertical.m_OffsetY = 1.0;
  ScrollBackgrounds();
  EXPECT_DOUBLE_EQ(vertical.m_OffsetY, 59.0);

  // The source of an automatic layer is its offset plus the camera's place in the stage proper.
  vertical.m_OffsetY = 10.0;
  vertical.m_AutoScrollY = 0;
  vertical.m_AutoScrollX = 1;
  vertical.m_RateX = 0.0;
  vertical.m_OffsetX = 30.25;
  SetCamera(320.0 + 5.5, 320.0);
  DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
  EXPECT_EQ(Frame(0, 0), BackgroundPixel(0, 35, 0, false));

  // A layer whose image is missing (layer 2 has none loaded) does not move.
  g_Stage.m_BgLayers.clear();
  AddLayer();
  AddLayer();
  cBgLayer& missing = AddLayer();
  missing.m_AutoScrollX = 1;
  missing.m_RateX = 4.0;
  missing.m_OffsetX = 3.0;
  ScrollBackgrounds();
  EXPECT_DOUBLE_EQ(missing.m_OffsetX, 3.0);
  g_Stage.m_BgLayers.clear();
}

TEST_F(StageDrawTest, LayersOverTheFirstLeaveOutTheKeyColour) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd, 3);
    AddLayer().m_RateX = 0.0;
    AddLayer().m_RateX = 0.0;
    // Layer 2 is a fill of the front plane; layer 3 has no image and is passed over.
    cBgLayer& fill = AddLayer(kPlaneFront);
    fill.m_PlainColour = 1;
    fill.m_FillColour = 16;
    AddLayer();
    for (cBgLayer& layer : g_Stage.m_BgLayers) layer.m_RateY = 0.0;
    SetCamera(kOriginX, kOriginY);
    DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
    EXPECT_EQ(Frame(0, 0), BackgroundPixel(0, 0, 0, false));  // layer 1's key dot
    EXPECT_EQ(Frame(1, 0), BackgroundPixel(1, 1, 0, true));
    EXPECT_EQ(Frame(2, 2), BackgroundPixel(0, 2, 2, false));
    DrawBackgroundLayers(&g_BackSurface, kPlaneFront);
    EXPECT_EQ(Frame(1, 0), kColour16);
    g_Stage.m_BgLayers.clear();
  }
}

TEST_F(StageDrawTest, OnlyEightLayersAreEverDrawn) {
  StartDrawing(BackEnd::DirectDraw, 1);
  for (int i = 0; i < 8; ++i) AddLayer().m_Shown = 0;
  // A ninth layer would have no image of its own; it must not be drawn, and it does not count as
  // a shown layer either.
  cBgLayer& ninth = AddLayer();
  ninth.m_PlainColour = 1;
  ninth.m_FillColour = 3;
  g_Palette[3] = {0xAA, 0xBB, 0xCC, 0};
  DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
  EXPECT_EQ(Frame(10, 10), kColour16);
  g_Stage.m_BgLayers.clear();
}

TEST_F(StageDrawTest, ImageOfNoSizeIsPassedOver) {
  StartDrawing(BackEnd::DirectDraw, 2);
  AddLayer();
  AddLayer();
  cBgLayer& first = g_Stage.m_BgLayers.At(0);
  cBgLayer& second = g_Stage.m_BgLayers.At(1);
  second.m_AutoScrollX = second.m_AutoScrollY = 1;
  second.m_RateX = second.m_RateY = 3.0;
  // An image that has pixels but no size (nothing to tile with, nothing to wrap in).
  g_SurfaceTable[kBgLayerSurface + 1].width = 0;
  ScrollBackgrounds();
  EXPECT_DOUBLE_EQ(second.m_OffsetX, 0.0);
  first.m_RateX = first.m_RateY = 0.0;
  DrawBackgroundLayers(&g_BackSurface, kPlaneBack);
  EXPECT_EQ(Frame(1, 0), BackgroundPixel(0, 1, 0, false));
  g_SurfaceTable[kBgLayerSurface + 1].width = kBgWidth;
  g_Stage.m_BgLayers.clear();
}

TEST_F(StageDrawTest, CellsOfEachPlaneWithMarksAndHiddenCells) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    // The camera 8 dots right and 3 dots down of stage column 1, row 0: every cell 8 dots left and
    // 3 dots up of its grid place.
    SetCamera(kOriginX + 40.0, kOriginY + 3.75);
    PutCell(12, 10, 17);                    // screen (24, -3)
    PutCell(13, 10, 3, kPlaneFront);        // screen (56, -3)
    PutCell(12, 11, 5).m_Hidden = 1;        // not drawn
    cMapCell& marked = PutCell(13, 11, 1);  // screen (56, 29), mark 16 over it
    marked.m_MarkMode = 1;
    marked.m_MarkNumber = 16;
    PutCell(14, 11, 2).m_MarkMode = 2;  // the editor's mark: not drawn
    const std::uint32_t under = 0x010203;
    ClearFrame(under);
    DrawMapCells(&g_BackSurface, kPlaneBack);
    auto block = [](int chip, int dx, int dy) { return SheetPixel(0x10, 32, chip / 15 * 32 + dx, chip % 15 * 32 + dy); };
    auto mark = [](int m, int dx, int dy) { return SheetPixel(0xD0, 32, m / 15 * 32 + dx, m % 15 * 32 + dy); };
    for (int dy = 3; dy < 32; dy += 7)
      for (int dx = 0; dx < 32; dx += 5) {
        EXPECT_EQ(Frame(24 + dx, dy - 3), Over(block(17, dx, dy), under)) << dx << "," << dy;
        EXPECT_EQ(Frame(56 + dx, dy - 3), under) << "front cell in the back pass";
        EXPECT_EQ(Frame(24 + dx, 29 + dy), under) << "hidden cell";
        EXPECT_EQ(Frame(56 + dx, 29 + dy), Over(mark(16, dx, dy), Over(block(1, dx, dy), under)));
        EXPECT_EQ(Frame(88 + dx, 29 + dy), Over(block(2, dx, dy), under)) << "editor mark";
      }
    ClearFrame(under);
    DrawMapCells(&g_BackSurface, kPlaneFront);
    EXPECT_EQ(Frame(56 + 10, 10 - 3), Over(block(3, 10, 10), under));
    EXPECT_EQ(Frame(24 + 10, 10 - 3), under);
  }
}

TEST_F(StageDrawTest, CellsOutsideTheMapAreNeverRead) {
  StartDrawing(BackEnd::DirectDraw);
  // The last cell of the map's last row, and the camera past the map's right and bottom ends: the
  // columns and rows beyond the map are skipped (the sanitizer build would see a read past it).
  const std::int32_t lastX = m_Scene->m_ScrollX.m_CellCount - 1, lastY = m_Scene->m_ScrollY.m_CellCount - 1;
  PutCell(lastX, lastY, 4);
  SetCamera(lastX * 32.0 - 16.0, lastY * 32.0 - 8.0);
  ClearFrame(0);
  DrawMapCells(&g_BackSurface, kPlaneBack);
  EXPECT_EQ(Frame(16 + 20, 8 + 20), SheetPixel(0x10, 32, 20, 4 * 32 + 20));
  // A camera left of and above the map (only a bad stage gets there) draws from the first cell on.
  PutCell(0, 0, 6);
  SetCamera(-40.0, -64.0);
  DrawMapCells(&g_BackSurface, kPlaneBack);
  EXPECT_EQ(Frame(40 + 20, 64 + 20), SheetPixel(0x10, 32, 20, 6 * 32 + 20));
}

// Each group of the object pass records itself with the priority it was asked for.
std::vector<std::string> g_Calls;
template <int Group>
void RecordGroup(DDSURFACEDATA*, std::int32_t priority, std::int32_t frozen) {
  static const char* const kNames[] = {"hero", "items", "charas", "shots"};
  g_Calls.push_back(std::string(kNames[Group]) + (priority == kAnyPriority ? "" : std::to_string(priority)) +
                    (frozen ? "*" : ""));
}

TEST_F(StageDrawTest, ObjectGroupsInTheirOrderOncePerPriority) {
  g_ObjectDrawers = {RecordGroup<0>, RecordGroup<1>, RecordGroup<2>, RecordGroup<3>};
  g_Calls.clear();
  g_Stage.SetField(kDrawByPriority, 0);
  DrawStageObjects(nullptr, 1);
  EXPECT_EQ(g_Calls, (std::vector<std::string>{"hero*", "items*", "charas*", "shots*"}));

  g_Calls.clear();
  g_Stage.SetField(kDrawByPriority, 1);
  g_ObjectDrawers[kDrawItems] = nullptr;  // a group whose container is not there yet
  DrawStageObjects(nullptr, 0);
  std::vector<std::string> expected;
  for (int p = 0; p < kDrawPriorities; ++p)
    for (const char* name : {"hero", "charas", "shots"}) expected.push_back(name + std::to_string(p));
  EXPECT_EQ(g_Calls, expected);
}

TEST_F(StageDrawTest, ObjectPriorityOutsideTheRangeIsDrawnAtItsNearestEnd) {
  struct sCase {
    std::int32_t own, pass;
    bool drawn;
  };
  // clang-format off
  const sCase cases[] = {
      {3, kAnyPriority, true}, {3, 3, true}, {3, 4, false},
      {8, 7, true}, {8, 0, false}, {-1, 0, true}, {255, 7, true},
  };
  // clang-format on
  for (const sCase& c : cases) EXPECT_EQ(DrawnInPass(c.own, c.pass), c.drawn) << c.own << " in " << c.pass;
}

// Objects as 8x8 squares of a colour, each group drawing those of the priority asked for.
struct sSquare {
  int group, priority;
  std::uint32_t colour;
};
std::vector<sSquare> g_Squares;
template <int Group>
void DrawSquares(DDSURFACEDATA* dst, std::int32_t priority, std::int32_t) {
  for (const sSquare& s : g_Squares)
    if (s.group == Group && (priority == kAnyPriority || priority == s.priority))
      StageDrawTest::Pixels(*dst).FillRect({100, 100, 108, 108}, s.colour);
}

TEST_F(StageDrawTest, HigherPriorityCoversLowerWhateverTheGroup) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    g_ObjectDrawers = {DrawSquares<0>, DrawSquares<1>, DrawSquares<2>, DrawSquares<3>};
    // An item of priority 1, a character of 2, a shot of 3; then the character above the shot.
    g_Squares = {{kDrawItems, 1, 0x111111}, {kDrawCharas, 2, 0x222222}, {kDrawShots, 3, 0x333333}};
    g_Stage.SetField(kDrawByPriority, 1);
    DrawStageObjects(&g_BackSurface, 0);
    EXPECT_EQ(Frame(100, 100), 0x333333u);
    g_Squares[2].priority = 0;
    DrawStageObjects(&g_BackSurface, 0);
    EXPECT_EQ(Frame(100, 100), 0x222222u);
    g_Squares[1].priority = 0;
    g_Squares[0].priority = 7;
    DrawStageObjects(&g_BackSurface, 0);
    EXPECT_EQ(Frame(100, 100), 0x111111u);
    // With the switch off the kinds decide: characters over items, shots over characters.
    g_Stage.SetField(kDrawByPriority, 0);
    DrawStageObjects(&g_BackSurface, 0);
    EXPECT_EQ(Frame(100, 100), 0x333333u);
    g_Squares.pop_back();
    DrawStageObjects(&g_BackSurface, 0);
    EXPECT_EQ(Frame(100, 100), 0x222222u);
  }
}

TEST_F(StageDrawTest, ObjectsGoBetweenTheBackAndTheFrontPlane) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd, 2);
    g_Stage.SetField(kStatusBarShown, 0);
    AddLayer().m_RateX = 0.0;
    cBgLayer& front = AddLayer(kPlaneFront);
    front.m_RateX = 0.0;
    front.m_RateY = 0.0;
    g_Stage.m_BgLayers.At(0).m_RateY = 0.0;
    m_Scene->m_NoTimeLimit = 1;
    // A back cell at screen (96, 96), a front cell at (128, 96); the object square at (100, 100)
    // overlaps the first and lies under the second where the two meet.
    PutCell(13, 13, 7);
    PutCell(14, 13, 8, kPlaneFront);
    g_ObjectDrawers[kDrawCharas] = [](DDSURFACEDATA* dst, std::int32_t, std::int32_t) {
      StageDrawTest::Pixels(*dst).FillRect({100, 100, 140, 108}, 0x445566);
    };
    DrawStage(1, 0, 1, 0);
    EXPECT_EQ(Frame(120, 104), 0x445566u);                                   // over the back cell
    EXPECT_EQ(Frame(96 + 20, 96 + 20), SheetPixel(0x10, 32, 20, 7 * 32 + 20));  // back cell beside it
    EXPECT_EQ(Frame(134, 104), Over(SheetPixel(0x10, 32, 6, 8 * 32 + 8), 0x445566));
    // Front layer 1: its key dots show what lies under it, the others cover it.
    EXPECT_EQ(Frame(301, 300), BackgroundPixel(1, 1, 0, true));
    EXPECT_EQ(Frame(300, 300), BackgroundPixel(0, 0, 0, false));
    g_Stage.m_BgLayers.clear();
  }
}

TEST_F(StageDrawTest, PauseFrameWithTheStageHiddenShowsOnlyLayersAndColour) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd);
    g_Stage.SetField(kStatusBarShown, 0);
    g_System.m_HideStageWhilePaused = 1;
    m_Scene->m_State = 3;
    m_Scene->m_NoTimeLimit = 1;
    PutCell(12, 12, 7);
    bool objectsDrawn = false;
    static bool* s_Drawn;
    s_Drawn = &objectsDrawn;
    g_ObjectDrawers[kDrawHero] = [](DDSURFACEDATA*, std::int32_t, std::int32_t) { *s_Drawn = true; };
    DrawStage(0, 1, 0, 1);
    EXPECT_FALSE(objectsDrawn);
    EXPECT_EQ(Frame(64 + 20, 64 + 20), kColour16);
    // While playing, or with the setting off, the paused frame is whole.
    g_System.m_HideStageWhilePaused = 0;
    DrawStage(0, 1, 0, 1);
    EXPECT_TRUE(objectsDrawn);
    EXPECT_EQ(Frame(64 + 20, 64 + 20), SheetPixel(0x10, 32, 20, 7 * 32 + 20));
  }
}

std::vector<cCharaBase>* g_Charas = nullptr;

TEST_F(StageDrawTest, WholeFrameAllocatesNothingOnceRunning) {
  for (BackEnd backEnd : kBackEnds) {
    SCOPED_TRACE(BackEndName(backEnd));
    StartDrawing(backEnd, 3);
    for (int i = 0; i < 3; ++i) AddLayer(i == 2 ? kPlaneFront : kPlaneBack).m_AutoScrollX = i & 1;
    for (std::int32_t ty = 10; ty < 26; ++ty)
      for (std::int32_t tx = 10; tx < 31; ++tx) {
        cMapCell& cell = PutCell(tx, ty, static_cast<std::int16_t>(1 + (tx + ty) % 20), (tx + ty) & 1);
        cell.m_MarkMode = (tx + ty) % 5 == 0 ? 1 : 0;
      }
    for (cStatusBarItem& item : g_System.m_StatusBarItems) {
      item.m_Shown = 1;
      item.m_Label = "LABEL";
      item.m_ShowNumber = 1;
      item.m_Digits = 6;
    }
    m_Scene->m_TimeLeft = 42;
    std::vector<cCharaBase> charas(20);
    for (std::size_t i = 0; i < charas.size(); ++i) {
      cCharaBase& chara = charas[i];
      chara.cGameObj::Init(1, 1, 0, 0, static_cast<std::int32_t>(i), nullptr, 0, 0, 0, 32, 32, 32, 32, 0, 0, 0);
      chara.m_Def.m_ChipSource = kChipChara;
      chara.m_X1 = kOriginX + 30.0 * static_cast<double>(i);
      chara.m_Y1 = kOriginY + 100.0;
    }
    g_Charas = &charas;
    g_ObjectDrawers[kDrawCharas] = [](DDSURFACEDATA* dst, std::int32_t priority, std::int32_t frozen) {
      for (cCharaBase& chara : *g_Charas)
        if (DrawnInPass(chara.m_Def.m_Z, priority)) chara.Draw(dst, frozen);
    };
    StartScreenColour(m_Scene->m_ScreenColour, 10, 20, 30, 40, 0, 1, 0, 0);
    // The first frames size the work buffers once (the first tint comes on the second frame).
    DrawStage(1, 0, 1, 1);
    DrawStage(1, 0, 1, 1);
    cAllocationWatch watch;
    for (int frame = 0; frame < 10; ++frame) DrawStage(frame & 1, frame & 1, 1, 1);
    EXPECT_EQ(watch.Stop(), 0);
    g_ObjectDrawers = {};
    g_Stage.m_BgLayers.clear();
  }
}

}  // namespace
