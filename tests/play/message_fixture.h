#pragma once
// Message windows over the stage-drawing fixture: the message font made of the fixture face
// tests/fixtures/cells16.bdf (fixed pitch 16, line height 16, so "#" is an 8 x 16 block in a 16-dot
// cell), its window picture one flat colour, palette colour 0 the key colour as the game's palette
// makes it, the variables made, and hero 0 on the stage as an anchor.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/display/font.h"
#include "platform/host/glyphs.h"
#include "play/hero.h"
#include "play/message_window.h"
#include "project/save_data.h"
#include "tests/platform/display/font_fixture.h"
#include "tests/play/stage_draw_fixture.h"

class MessageWindowTest : public StageDrawTest {
 protected:
  static constexpr std::uint32_t kTextPal = 241;
  static constexpr std::uint32_t kFramePal = 240;
  static constexpr std::uint32_t kText = 0x204060;
  static constexpr std::uint32_t kFrame = 0xF0F0F0;
  static constexpr std::uint32_t kWindowPicture = 0x777777;
  static constexpr std::int32_t kHeroId = 7;
  // A camera away from the stage's top left.
  static constexpr double kCameraX = kOriginX + 100;
  static constexpr double kCameraY = kOriginY + 50;

  void SetUp() override {
    StageDrawTest::SetUp();
    SetFontFileOverride(FixtureFontPath());
    g_SaveData.m_Variables.assign(kCommonVarCount, 0);
  }
  void TearDown() override {
    m_Scene->m_Messages.clear();
    ClearMessageLists();
    g_Heroes.clear();
    g_Fonts[1].Release();
    DDReleaseSurface(&m_WindowPicture);
    SetFontFileOverride({});
    g_SaveData.m_Variables.clear();
    StageDrawTest::TearDown();
  }

  // The display of a back-end with the message font (pitch 0: the proportional layout), the stage
  // variables made and the camera at the stage's top left.
  void Start(BackEnd backEnd, std::int32_t pitch = 16) {
    // What the display made goes before the display is made again.
    g_Fonts[1].Release();
    DDReleaseSurface(&m_WindowPicture);
    StartDrawing(backEnd);
    g_Palette[0] = {0xFF, 0x00, 0xFF, 0};
    g_Palette[kTextPal] = {0x20, 0x40, 0x60, 1};
    g_Palette[kFramePal] = {0xF0, 0xF0, 0xF0, 1};
    ASSERT_TRUE(DDCreateSurface(&m_WindowPicture, 640, 480, 0, 1, 0, 0, 0));
    PixelsOf(m_WindowPicture).Fill(Opaque(kWindowPicture));
    MakeFont(pitch);
    m_Scene->m_StageVars.assign(kStageVarCount, 0);
  }
  void MakeFont(std::int32_t pitch) {
    g_Fonts[1].Release();
    g_Fonts[1].Create("Cells", 0, 16, pitch, 16, kTextPal, &m_WindowPicture, 1, kFramePal, nullptr);
  }

  // Hero 0 with the id kHeroId: hit box at stage (x, y) of the screen, drawn 40 x 48 with the hit box
  // 4 and 8 dots inside.
  cHero& PutHero(double screenX, double screenY) {
    g_Heroes.assign(1, cHero());
    cHero& hero = g_Heroes[0];
    hero.m_Id = kHeroId;
    hero.m_DrawWidth = 40;
    hero.m_DrawHeight = 48;
    hero.m_DrawOffsetX = 4;
    hero.m_DrawOffsetY = 8;
    MoveHero(screenX, screenY);
    return hero;
  }
  void MoveHero(double screenX, double screenY) {
    g_Heroes[0].m_X1 = m_Scene->m_ScrollX.m_Pos + screenX;
    g_Heroes[0].m_Y1 = m_Scene->m_ScrollY.m_Pos + screenY;
  }

  // A window made as its user makes it and listed in the play scene.
  cMessageWindow& Open(const cMessageSettings& settings) { return m_Scene->m_Messages.emplace_back(settings); }

  // A text window of the message command's usual values: at the screen centre, shown until its owner
  // removes it, no opening.
  static cMessageSettings TextSettings(const std::string& text) {
    cMessageSettings s;
    s.m_Kind = kMessageText;
    s.m_Text = &text;
    s.m_Fixed = 1;
    s.m_EndMode = kMessageUntilStageEnd;
    return s;
  }

  std::uint32_t Opaque(std::uint32_t rgb) const { return (m_BackEnd == BackEnd::Direct3D ? 0xFF000000u : 0u) | rgb; }

  DDSURFACEDATA m_WindowPicture;
};
