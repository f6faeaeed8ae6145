// The screen-mode decision: what "decide" becomes for each back-end and window mode, and which
// combinations start, with the box text of those that do not.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/text_codec.h"
#include "shell/screen_mode.h"

namespace {

TEST(StartupScreenModeTest, DecidesDepthAndSyncAndRefusesWhatCannotRun) {
  using V = ScreenModeVerdict;
  struct Case {
    const char* name;
    std::int32_t d3d, window, bpp, vsync, fullColour;
    std::int32_t wantBpp, wantVsync, wantWindowed;
    V verdict;
  };
  // The desktop is 32 bits deep unless a row's name says otherwise (rows with "16-bit desktop").
  const Case cases[] = {
      // Direct3D: sync 2 becomes 1; depth 0 the desktop's in a window, 32 in full screen.
      {"d3d window decide", 1, 1, 0, 2, 0, 32, 1, 1, V::Valid},
      {"d3d full decide", 1, 0, 0, 2, 0, 32, 1, 0, V::Valid},
      {"d3d full 16, sync off kept", 1, 0, 16, 0, 1, 16, 0, 0, V::Valid},
      {"d3d window 16 on 32 desktop", 1, 1, 16, 1, 0, 16, 1, 1, V::WindowDepthMismatch},
      {"d3d full 8", 1, 0, 8, 1, 0, 8, 1, 0, V::Invalid},
      {"d3d window 8", 1, 1, 8, 1, 0, 8, 1, 1, V::Invalid},
      // DirectDraw window: sync always off, depth 0 the desktop's.
      {"dd window decide", 0, 1, 0, 2, 0, 32, 0, 1, V::Valid},
      {"dd window sync on forced off", 0, 1, 32, 1, 0, 32, 0, 1, V::Valid},
      {"dd window 16 on 32 desktop", 0, 1, 16, 0, 0, 16, 0, 1, V::WindowDepthMismatch},
      {"dd window 8", 0, 1, 8, 0, 0, 8, 0, 1, V::Invalid},
      // DirectDraw full screen: sync 2 off on this platform; depth 0 by the project's colours.
      {"dd full decide, 256 colours", 0, 0, 0, 2, 0, 8, 0, 0, V::Valid},
      {"dd full decide, full colour", 0, 0, 0, 2, 1, 32, 0, 0, V::Valid},
      {"dd full sync on kept", 0, 0, 16, 1, 1, 16, 1, 0, V::Valid},
      {"dd full 8 in a full-colour project", 0, 0, 8, 0, 1, 8, 0, 0, V::Invalid},
      {"dd full 24", 0, 0, 24, 0, 0, 24, 0, 0, V::Invalid},
      {"any nonzero WindowMode is a window", 0, 7, 0, 2, 0, 32, 0, 1, V::Valid},
      {"any nonzero Direct3D is Direct3D", 5, 0, 0, 2, 0, 32, 1, 0, V::Valid},
  };
  for (const Case& c : cases) {
    SystemIni ini;
    ini.Direct3D = c.d3d;
    ini.WindowMode = c.window;
    ini.Bpp = c.bpp;
    ini.VSync = c.vsync;
    ScreenModeFacts facts;
    facts.fullColour = c.fullColour;
    std::int32_t windowed = -1;
    EXPECT_EQ(DecideScreenMode(ini, facts, windowed), c.verdict) << c.name;
    EXPECT_EQ(ini.Bpp, c.wantBpp) << c.name;
    EXPECT_EQ(ini.VSync, c.wantVsync) << c.name;
    EXPECT_EQ(windowed, c.wantWindowed) << c.name;
  }
}

TEST(StartupScreenModeTest, AWindowMatchesTheDesktopsDepth) {
  SystemIni ini;
  ini.Direct3D = 0;
  ini.WindowMode = 1;
  ini.Bpp = 0;
  ScreenModeFacts facts;
  facts.desktopBpp = 16;
  std::int32_t windowed = 0;
  EXPECT_EQ(DecideScreenMode(ini, facts, windowed), ScreenModeVerdict::Valid);
  EXPECT_EQ(ini.Bpp, 16);
  ini.Bpp = 32;
  EXPECT_EQ(DecideScreenMode(ini, facts, windowed), ScreenModeVerdict::WindowDepthMismatch);

  // Where DirectDraw's full-screen flip can wait for the monitor, "decide" turns sync on.
  ini = SystemIni{};
  ini.Direct3D = 0;
  facts.laterSystem = false;
  EXPECT_EQ(DecideScreenMode(ini, facts, windowed), ScreenModeVerdict::Valid);
  EXPECT_EQ(ini.VSync, 1);
}

TEST(StartupScreenModeTest, EachRefusalHasItsText) {
  EXPECT_EQ(ScreenModeErrorText(ScreenModeVerdict::WindowDepthMismatch),
            SJ("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！"));
  EXPECT_EQ(ScreenModeErrorText(ScreenModeVerdict::Invalid), SJ("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！"));
  EXPECT_EQ(ScreenModeErrorText(ScreenModeVerdict::Valid), "");
}

}  // namespace
