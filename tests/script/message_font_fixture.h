#pragma once
// The message font for the tests of commands that open message windows: the fixture face
// tests/fixtures/cells16.bdf over a window picture of its own, for as long as the object lives. The
// scene's windows and their surfaces go before the font does.
#include <gtest/gtest.h>

#include "platform/display/font.h"
#include "platform/display/surface.h"
#include "play/play_scene.h"
#include "play/stage_draw_presentation.h"
#include "tests/platform/display/font_fixture.h"

namespace scripttest {

class cMessageFont {
 public:
  cMessageFont() {
    SetFontFileOverride(FixtureFontPath());
    EXPECT_TRUE(DDCreateSurface(&m_WindowPicture, 640, 480, 0, 1, 0, 0, 0));
    g_Fonts[1].Create("Cells", 0, 16, 16, 16, 241, &m_WindowPicture, 1, 240, nullptr);
  }
  ~cMessageFont() {
    if (g_PlayScene != nullptr) g_PlayScene->m_Messages.clear();
    ClearMessageLists();
    g_Fonts[1].Release();
    DDReleaseSurface(&m_WindowPicture);
    SetFontFileOverride({});
  }
  cMessageFont(const cMessageFont&) = delete;
  cMessageFont& operator=(const cMessageFont&) = delete;

 private:
  DDSURFACEDATA m_WindowPicture;
};

}  // namespace scripttest
