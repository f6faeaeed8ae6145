#pragma once
// A play scene with its screen-effect player over the display of one back-end, the database's
// screen-effect table as the test defines it (with its templates built), and a test frame whose
// every pixel tells where it came from. The frame is drawn with the screen's size (640 x 480, for
// pictures to check) or, for the tests that follow an effect over many frames, with tiny work
// surfaces and a tiny screen, which every effect draw is clipped to.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/screen_effect.h"
#include "project/database.h"
#include "project/stage_data.h"
#include "project/surface_descriptors.h"
#include "tests/platform/display/display_fixture.h"

// Palette colour 16: what an effect leaves where the picture no longer is.
constexpr std::uint32_t kBlank = 0x123456;

// The test frame: red the column's low byte, green the row's, blue the high bits of both (0x80 and
// 0x40 for the column, 0x20 for the row) over a checkerboard of 32-dot squares (0x1F) for the eye.
// Never the key colour nor colour 16.
inline std::uint32_t FramePixel(std::int32_t x, std::int32_t y) {
  const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
  const std::uint32_t blue = (ux >> 8) << 6 | (uy >> 8) << 5 | ((ux / 32 + uy / 32) % 2 != 0 ? 0x1F : 0);
  return (ux & 0xFF) << 16 | (uy & 0xFF) << 8 | blue;
}
// Where a pixel of the test frame came from.
inline std::int32_t SourceX(std::uint32_t pixel) {
  return static_cast<std::int32_t>((pixel >> 16 & 0xFF) | (pixel >> 6 & 3) << 8);
}
inline std::int32_t SourceY(std::uint32_t pixel) {
  return static_cast<std::int32_t>((pixel >> 8 & 0xFF) | (pixel >> 5 & 1) << 8);
}

struct sScrEffect {
  std::int32_t kind;
  std::int32_t params[5];
};

class ScreenEffectTest : public DisplayTest {
 protected:
  enum class BackEnd { DirectDraw, Direct3D };

  void SetUp() override {
    DisplayTest::SetUp();
    LogInit(1, "EC_Game.txt");
    m_Scene = std::make_unique<cPlayScene>();
    g_PlayScene = m_Scene.get();
    g_Stage.Reset();
    g_Stage.m_BgLayers.clear();
  }

  void TearDown() override {
    DDReleaseSurface(&m_Frame);
    for (DDSURFACEDATA& record : g_SurfaceTable) DDReleaseSurface(&record);
    m_Scene.reset();
    g_PlayScene = nullptr;
    g_Heroes.clear();
    g_Stage.Reset();
    g_ScrEffectTemplates.clear();
    g_ScrEffectTemplatesReversed.clear();
    g_Database.SetDefaults();
    DisplayTest::TearDown();
    LogInit(0, "EC_Game.txt");
  }

  // The display with the work surfaces 67 and 68 and the test frame, all width x width * 3 / 4
  // dots (640 for the pictures to check).
  void StartDisplay(BackEnd backEnd, std::int32_t width = 640) {
    const std::int32_t height = width * 3 / 4;
    m_Width = width;
    m_Height = height;
    m_SmallScreen = std::make_unique<cHeadlessScreen>(width, height);
    m_TableDescriptors.assign(std::begin(g_SurfaceDescriptors), std::end(g_SurfaceDescriptors));
    for (std::int32_t row : {67, 68}) {
      m_TableDescriptors[static_cast<std::size_t>(row)].width = width;
      m_TableDescriptors[static_cast<std::size_t>(row)].height = height;
    }
    ASSERT_TRUE(DDInit(backEnd == BackEnd::Direct3D ? 1 : 0, m_SmallScreen.get(), width, height, 32, 0, 1, 1, 60, 1,
                       g_SurfaceTable, m_TableDescriptors.data(), kSurfaceTableSize));
    LinkSourceSurfaces();
    DDSetTransmit(0xFF, 0x00, 0xFF);
    g_Palette[16] = {0x12, 0x34, 0x56, 0};
    g_Palette[17] = {0x65, 0x43, 0x21, 0};
    ASSERT_TRUE(LoadSurfaceList(g_SurfaceTable, {67, 68}));
    ASSERT_TRUE(DDCreateSurface(&m_Frame, width, height, 0, 0, 0, 0, 0));
    cPixelBuffer& pixels = PixelsOf(m_Frame);
    for (std::int32_t y = 0; y < height; ++y)
      for (std::int32_t x = 0; x < width; ++x) pixels.SetPixel(x, y, 0xFF000000u | FramePixel(x, y));
  }

  // Screen effects 1, 2, ... as given (0 is the none entry), and their templates.
  static void Define(const std::vector<sScrEffect>& effects) {
    g_Database.m_ScrEffects.assign(effects.size() + 1, cScrEffectDef());
    g_Database.m_ScrEffects.At(0).m_Kind = 0;
    int n = 1;
    for (const sScrEffect& effect : effects) {
      cScrEffectDef& def = g_Database.m_ScrEffects.At(n++);
      def.m_Kind = effect.kind;
      for (int p = 0; p < 5; ++p) def.m_Params[p] = effect.params[p];
    }
    g_Database.FillReversedEffects();
    BuildScrEffectTemplates(g_ScrEffectTemplates, g_ScrEffectTemplatesReversed);
  }

  // Hero 0 with its screen rectangle centred on (x, y).
  static void PutHero(std::int32_t x, std::int32_t y) {
    g_Heroes.assign(1, cHero());
    cHero& hero = g_Heroes[0];
    hero.m_DrawWidth = 32;
    hero.m_DrawHeight = 32;
    hero.m_ScreenLeft = x - 16;
    hero.m_ScreenTop = y - 16;
  }

  cScrEffectPlayer& Player() { return m_Scene->m_ScreenEffect; }

  // One displayed frame as the stage drawing makes it: the virtual back buffer on while an effect
  // runs (Direct3D), the test frame drawn, then the effect.
  void DrawFrame(std::int32_t frozen = 0) {
    if (Player().m_Number != 0 && DisplayIsD3D()) SetVirBackBuffer(1);
    DDBlt(&g_BackSurface, 0, 0, m_Width, m_Height, &m_Frame, 0, 0, 0);
    RunScreenEffect(*m_Scene, frozen);
  }

  // Frames until the effect has ended, at most `limit`.
  std::int32_t FramesToEnd(std::int32_t limit = 10000) {
    std::int32_t frames = 0;
    while (Player().m_Number != 0 && frames < limit) {
      DrawFrame();
      ++frames;
    }
    return frames;
  }

  // What the frame shows: the virtual back buffer while it is on.
  static cPixelBuffer& Shown() {
    const bool virtualOn = g_DisplayContext != nullptr && g_DisplayContext->virBackOn != 0;
    return PixelsOf(virtualOn ? g_VirBackSurface : g_BackSurface);
  }
  static std::uint32_t At(std::int32_t x, std::int32_t y) { return Shown().Pixel(x, y) & 0xFFFFFF; }

  std::unique_ptr<cPlayScene> m_Scene;
  std::unique_ptr<cHeadlessScreen> m_SmallScreen;
  std::vector<SurfaceDescriptor> m_TableDescriptors;
  DDSURFACEDATA m_Frame;
  std::int32_t m_Width = 640;
  std::int32_t m_Height = 480;
};
