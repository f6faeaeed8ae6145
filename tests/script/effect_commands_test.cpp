// エフェクトの実行 and ピクチャーの表示: where they place things, how number 0 and IDs remove, the
// replacement in place, the waits that hold the game, and a picture that does not load.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/host/text_codec.h"
#include "play/effect_instance.h"
#include "play/picture.h"
#include "project/command_vocabulary.h"
#include "project/database_frames.h"
#include "project/flow_command.h"
#include "script/effect_commands.h"
#include "tests/play/pause_fixture.h"
#include "tests/support/bmp_writer.h"

namespace {

using playtest::PauseTest;

class EffectCommandsTest : public PauseTest {
 protected:
  void SetUp() override {
    PauseTest::SetUp();
    // Effect 1: a 33 x 20 cell, two frames of 0.1 s; effect 2: a 64 x 64 cell.
    auto& effects = g_Database.m_Effects;
    effects.assign(3, cEffectDef());
    effects.At(1).m_CellWidth = 33;
    effects.At(1).m_CellHeight = 20;
    for (int i = 0; i < 2; ++i) effects.At(1).m_Frames.emplace_back();
    effects.At(2).m_CellWidth = effects.At(2).m_CellHeight = 64;
    effects.At(2).m_Frames.emplace_back();
    BuildEffectFrameLists(g_EffectFrameLists);
    // Pictures 1 (40 x 30) and 2 (10 x 10); 3 names a file that is not there.
    std::filesystem::create_directories(m_Folder / "bmp");
    WritePicture("bmp/a.bmp", 40, 30);
    WritePicture("bmp/b.bmp", 10, 10);
    auto& pictures = g_Database.m_Pictures;
    pictures.assign(4, cPictureDef());
    pictures.At(1).m_FileName = "bmp\\a.bmp";
    pictures.At(2).m_FileName = "bmp\\b.bmp";
    pictures.At(3).m_FileName = "bmp\\missing.bmp";
    SetCamera(400, 300);
  }
  void TearDown() override {
    m_Scene->m_Effects.clear();
    ClearPictureLists();
    g_EffectFrameLists.clear();
    g_Database.SetDefaults();
    PauseTest::TearDown();
  }

  void WritePicture(const std::string& path, int w, int h) {
    BmpSpec layout{.width = w, .height = h, .bpp = 24};
    layout.pixels.assign(static_cast<std::size_t>(w * h), 0x336699);
    std::ofstream(m_Folder / path, std::ios::binary) << MakeBmp(layout);
  }
  void SetCamera(double x, double y) {
    m_Scene->m_ScrollX.m_Pos = x;
    m_Scene->m_ScrollY.m_Pos = y;
  }

  static cFlowCommand Command(std::int32_t number, std::vector<std::int32_t> params) {
    cFlowCommand command;
    command.m_CommandSet = kCharaCommandSet;
    command.m_CommandNumber = static_cast<std::uint8_t>(number);
    command.m_Params.assign(params.begin(), params.end());
    return command;
  }
  struct Effect {
    std::int32_t number = 1, mode = 0, column = 0, row = 0, offsetX = 0, offsetY = 0, size = 100, wait = 0;
  };
  static cFlowCommand RunEffect(const Effect& e) {
    return Command(kCharaPlayEffect, {e.number, e.mode, e.column, e.row, e.offsetX, e.offsetY, e.size, e.wait});
  }
  struct Picture {
    std::int32_t number = 1, mode = 4, column = 0, row = 0, offsetX = 0, offsetY = 0, layer = 0, scale = 100,
                 endMode = kPictureUntilKey, time = 0, stop = 0, fixed = 0, useId = 0, id = 0;
  };
  static cFlowCommand ShowPicture(const Picture& p) {
    return Command(kCharaShowPicture, {p.number, p.mode, p.column, p.row, p.offsetX, p.offsetY, p.layer, p.scale,
                                       p.endMode, p.time, p.stop, p.fixed, p.useId, p.id});
  }

  std::list<cPicture>& Pictures() { return m_Scene->m_Pictures; }
  std::vector<const cPicture*> Identities() {
    std::vector<const cPicture*> list;
    for (const cPicture& p : Pictures()) list.push_back(&p);
    return list;
  }
  // The surfaces still belong to the listed pictures, one each, with their descriptors.
  void ExpectSurfacesOfPictures(const char* what) {
    ASSERT_EQ(g_PictureSurfaces.size(), Pictures().size()) << what;
    EXPECT_EQ(g_PictureDescriptors.size(), Pictures().size()) << what;
    for (const cPicture& p : Pictures()) {
      bool listed = false;
      for (const DDSURFACEDATA& s : g_PictureSurfaces) listed = listed || &s == p.m_Surface;
      EXPECT_TRUE(listed) << what;
    }
  }
};

TEST_F(EffectCommandsTest, EffectPositionModes) {
  cHero self;
  self.m_ScreenLeft = 100;
  self.m_ScreenTop = 50;
  self.m_DrawWidth = 33;
  self.m_DrawHeight = 20;
  Hero().m_ScreenLeft = 200;
  Hero().m_ScreenTop = 150;
  Hero().m_DrawWidth = 32;
  Hero().m_DrawHeight = 32;
  SetCamera(400.5, 300.25);
  struct Case {
    std::int32_t mode, w, h;
    double x, y;
  };
  // Offsets (7, -3), cell (2, 5); halves by shifting, so -5 halves to -3.
  const Case cases[] = {
      {0, 64, 64, 400.5 + 320 - 32 + 7, 300.25 + 240 - 32 - 3},
      {0, -5, 9, 400.5 + 320 + 3 + 7, 300.25 + 240 - 4 - 3},
      {1, 10, 20, 116 + 400.5 - 5 + 7, 60 + 300.25 - 10 - 3},
      {2, 10, 20, 216 + 400.5 - 5 + 7, 166 + 300.25 - 10 - 3},
      {3, 10, 20, 64 + 400.5 + 7, 160 + 300.25 - 3},
      {4, 10, 20, (10 + 2) * 32 + 7, (10 + 5) * 32 - 3},
      {5, 64, 64, 400.5 + 320 - 32 + 7, 300.25 + 240 - 32 - 3},
      {-1, 64, 64, 400.5 + 320 - 32 + 7, 300.25 + 240 - 32 - 3},
  };
  for (const Case& c : cases) {
    double x = -1, y = -1;
    EffectPosition(x, y, c.w, c.h, self, c.mode, 2, 5, 7, -3);
    EXPECT_EQ(x, c.x) << c.mode;
    EXPECT_EQ(y, c.y) << c.mode;
  }
}

TEST_F(EffectCommandsTest, RunEffectSizesPlacesAndClears) {
  struct Case {
    const char* name;
    Effect e;
    std::int32_t w, h, scaled;
    double x, y;
  };
  const Case cases[] = {
      // 16.5 rounds to 17; halves 8 and 5.
      {"half size", {.size = 50}, 17, 10, 1, 400 + 320 - 8, 300 + 240 - 5},
      {"own size", {.number = 2}, 64, 64, 0, 400 + 288, 300 + 208},
      {"negative size", {.size = -50}, -17, -10, 1, 400 + 320 + 9, 300 + 240 + 5},
      {"unknown mode", {.number = 2, .mode = 9, .offsetX = 1}, 64, 64, 0, 400 + 289, 300 + 208},
  };
  for (const Case& c : cases) {
    m_Scene->m_Effects.clear();
    DoRunEffect(Hero(), RunEffect(c.e));
    ASSERT_EQ(m_Scene->m_Effects.size(), 1u) << c.name;
    const cEffectInstance& effect = m_Scene->m_Effects.back();
    EXPECT_EQ(effect.m_Number, c.e.number) << c.name;
    EXPECT_EQ(effect.m_Width, c.w) << c.name;
    EXPECT_EQ(effect.m_Height, c.h) << c.name;
    EXPECT_EQ(effect.m_Scaled, c.scaled) << c.name;
    EXPECT_EQ(effect.m_X, c.x) << c.name;
    EXPECT_EQ(effect.m_Y, c.y) << c.name;
    EXPECT_EQ(effect.m_CountsWhileFrozen, 0) << c.name;
  }
  // 65536 names effect 0 in its low 16 bits: nothing runs, and nothing is cleared either.
  DoRunEffect(Hero(), RunEffect({.number = 65536}));
  DoRunEffect(Hero(), RunEffect({.number = 65536 + 2}));
  ASSERT_EQ(m_Scene->m_Effects.size(), 2u);
  EXPECT_EQ(m_Scene->m_Effects.back().m_Number, 2);
  // A number beyond the table is a bad index: reported (the program closes), and nothing runs.
  DoRunEffect(Hero(), RunEffect({.number = 3}));
  EXPECT_EQ(m_Scene->m_Effects.size(), 2u);
  EXPECT_EQ(TakeCloses(), 1);
  // Number 0 removes every running effect and starts none.
  DoRunEffect(Hero(), RunEffect({.number = 0}));
  EXPECT_TRUE(m_Scene->m_Effects.empty());
  // Nothing at all while the program closes.
  m_Scene->m_CloseRequested = 1;
  DoRunEffect(Hero(), RunEffect({}));
  EXPECT_TRUE(m_Scene->m_Effects.empty());
  EXPECT_EQ(PresentedFrameCount(), 0u);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(EffectCommandsTest, AnEffectThatWaitsHoldsTheGameUntilItHasRun) {
  const std::int32_t frameCount = m_Scene->m_FrameCount;
  Script("");
  RunAsGame([&] { DoRunEffect(Hero(), RunEffect({.wait = 1})); });
  // Two frames of 0.1 s: the wait is 12 frames, the effect animating through them to its end.
  EXPECT_EQ(PresentedFrameCount(), 12u);
  EXPECT_EQ(m_Scene->m_FrameCount, frameCount);
  EXPECT_TRUE(m_Scene->m_Effects.empty());
}

TEST_F(EffectCommandsTest, PicturesShownReplacedAndRemoved) {
  cHero& self = Hero();
  // Scales: 100 copies at the own size; 50 stretches; both stand at stage cell (1, 2) + margin.
  DoShowPicture(self, ShowPicture({.column = 1, .row = 2, .layer = 1, .scale = 150, .fixed = 1}));
  ASSERT_EQ(Pictures().size(), 1u);
  const cPicture& first = Pictures().front();
  EXPECT_EQ(first.m_Id, 1);
  EXPECT_EQ(first.m_Width, 60);
  EXPECT_EQ(first.m_Height, 45);
  EXPECT_EQ(first.m_Stretched, 1);
  EXPECT_EQ(first.m_X, 11 * 32);
  EXPECT_EQ(first.m_Y, 12 * 32);
  EXPECT_EQ(first.m_Layer, 1);
  EXPECT_EQ(first.m_Fixed, 1);
  ASSERT_NE(first.m_Surface, nullptr);
  EXPECT_EQ(first.m_Surface->width, 40);

  // Pictures with IDs 3 and 4, and one more without: appended in that order.
  DoShowPicture(self, ShowPicture({.useId = 1, .id = 3}));
  DoShowPicture(self, ShowPicture({.number = 2, .useId = 1, .id = 4}));
  DoShowPicture(self, ShowPicture({.number = 2}));
  const std::vector<const cPicture*> four = Identities();
  ASSERT_EQ(four.size(), 4u);
  EXPECT_EQ(four[1]->m_PictureId, 3);
  EXPECT_EQ(four[2]->m_Width, 10);
  ExpectSurfacesOfPictures("four");

  // The same ID replaces the picture in its place of the drawing order.
  DoShowPicture(self, ShowPicture({.number = 2, .scale = 100, .useId = 1, .id = 3}));
  std::vector<const cPicture*> now = Identities();
  ASSERT_EQ(now.size(), 4u);
  EXPECT_EQ(now[0], four[0]);
  EXPECT_EQ(now[1]->m_PictureId, 3);
  EXPECT_EQ(now[1]->m_Width, 10) << "picture 2 in picture 1's place";
  EXPECT_EQ(now[2], four[2]);
  EXPECT_EQ(now[3], four[3]);
  ExpectSurfacesOfPictures("replaced");

  // Number 0 with an ID removes the first picture of that ID only, and nothing when there is none.
  DoShowPicture(self, ShowPicture({.number = 0, .useId = 1, .id = 4}));
  DoShowPicture(self, ShowPicture({.number = 0, .useId = 1, .id = 9}));
  now = Identities();
  EXPECT_EQ(now, (std::vector<const cPicture*>{four[0], now[1], four[3]}));
  ExpectSurfacesOfPictures("removed by ID");
  // A number that names no picture (0 in its low 16 bits) shows none; with an ID it still removes.
  DoShowPicture(self, ShowPicture({.number = 65536, .useId = 1, .id = 3}));
  DoShowPicture(self, ShowPicture({.number = 65536}));
  EXPECT_EQ(Identities(), (std::vector<const cPicture*>{four[0], four[3]}));
  // A number beyond the table is a bad index: reported, and no picture is shown.
  DoShowPicture(self, ShowPicture({.number = 4}));
  EXPECT_EQ(Identities(), (std::vector<const cPicture*>{four[0], four[3]}));
  EXPECT_EQ(TakeCloses(), 1);
  // Number 0 without an ID removes them all.
  DoShowPicture(self, ShowPicture({.number = 0}));
  EXPECT_TRUE(Pictures().empty());
  ExpectSurfacesOfPictures("all removed");
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(EffectCommandsTest, APictureThatDoesNotLoadChangesNoList) {
  DoShowPicture(Hero(), ShowPicture({.useId = 1, .id = 3}));
  const std::vector<const cPicture*> before = Identities();
  DoShowPicture(Hero(), ShowPicture({.number = 3, .stop = 1, .useId = 1, .id = 3}));
  EXPECT_EQ(Identities(), before);
  ExpectSurfacesOfPictures("after the failure");
  ASSERT_EQ(m_Boxes.size(), 1u);
  EXPECT_NE(m_Boxes[0].find(SJ("bmp\\missing.bmp 読み込み失敗！")), std::string::npos);
  EXPECT_EQ(TakeCloses(), 1);
  EXPECT_EQ(PresentedFrameCount(), 0u) << "no wait without a picture";
}

TEST_F(EffectCommandsTest, PicturesThatStopTheGameGoAfterTheirWait) {
  struct Case {
    const char* name;
    Picture p;
    const char* script;
    std::uint32_t frames;
    std::vector<int> sounds;
  };
  const Case cases[] = {
      {"timed", {.endMode = kPictureTimed, .time = 2, .stop = 1}, "", 12, {}},
      {"time 0", {.endMode = kPictureTimed, .time = 0, .stop = 1}, "", 0, {}},
      {"until the key", {.endMode = kPictureUntilKey, .stop = 1}, "4 Z\n", 4, {1}},
      {"until the stage ends", {.endMode = kPictureUntilStageEnd, .stop = 1}, "2 Z\n", 2, {1}},
  };
  for (const Case& c : cases) {
    for (std::int32_t useId : {0, 1}) {
      ResetHeadless();
      m_Sounds.clear();
      ClearPictureLists();
      // A picture that stays, one that ends at the first frame of the wait, one with ID 5 that the
      // waiting picture replaces when it has that ID, and one more that stays.
      DoShowPicture(Hero(), ShowPicture({.number = 2}));
      DoShowPicture(Hero(), ShowPicture({.number = 2, .endMode = kPictureTimed, .time = 0}));
      Pictures().back().m_CountsWhileFrozen = 1;
      const cPicture* ends = &Pictures().back();
      DoShowPicture(Hero(), ShowPicture({.number = 2, .useId = 1, .id = 5}));
      const cPicture* replaced = &Pictures().back();
      DoShowPicture(Hero(), ShowPicture({.number = 2}));
      std::vector<const cPicture*> left = Identities();
      std::erase(left, useId != 0 ? replaced : nullptr);
      if (c.frames > 0) std::erase(left, ends);
      Picture waiting = c.p;
      waiting.useId = useId;
      waiting.id = 5;
      Script(c.script);
      RunAsGame([&] { DoShowPicture(Hero(), ShowPicture(waiting)); });
      EXPECT_EQ(PresentedFrameCount(), c.frames) << c.name << useId;
      EXPECT_EQ(m_Sounds, c.sounds) << c.name << useId;
      EXPECT_EQ(Identities(), left) << c.name << useId;
      ExpectSurfacesOfPictures(c.name);
    }
  }
}

}  // namespace
