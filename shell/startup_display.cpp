// The display part of the start-up: screen mode, window, back-end, palette, colour key, the
// presentation timing of DirectDraw, the debug picture and the fonts.
#include <algorithm>
#include <atomic>
#include <iterator>

#include "platform/display/display.h"
#include "platform/display/display_report.h"
#include "platform/display/font.h"
#include "platform/display/palette.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "project/surface_descriptors.h"
#include "project/system_data.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "shell/scene_manager.h"
#include "shell/screen_mode.h"
#include "shell/startup.h"
#include "shell/startup_steps.h"
#include "shell/system_ini.h"

namespace {

constexpr std::int32_t kScreenWidth = 640;
constexpr std::int32_t kScreenHeight = 480;
constexpr std::int32_t kRefreshHz = 60;
constexpr std::int32_t kBackBufferFlag = 1;
// ShowWindow's code for a maximised window: DirectDraw full screen starts so.
constexpr int kShowMaximized = 3;

// The back-end as System.ini and the boot settings chose it, with the decided depth and sync.
bool StartBackEnd(cScreen* screen, int nCmdShow) {
  const std::int32_t vsync = g_SystemIni.VSync != 0 ? 1 : 0;
  auto start = [&] {
    return DDInit(g_SystemIni.Direct3D, screen, kScreenWidth, kScreenHeight, g_SystemIni.Bpp, vsync, g_Windowed,
                  kBackBufferFlag, kRefreshHz, vsync, g_SurfaceTable, g_SurfaceDescriptors, kSurfaceTableSize);
  };
  if (start()) return true;
  if (g_SystemIni.Direct3D != 0) {
    // Direct3D could not start: DirectDraw with the depth and sync decided for Direct3D.
    DDRelease();
    g_SystemIni.Direct3D = 0;
    g_MainWindow.Show(g_Windowed ? nCmdShow : kShowMaximized);
    if (start()) return true;
  }
  Log(SJ("DDInit失敗"));
  return false;
}

bool SetPaletteAndKey() {
  const std::string& paletteImage = g_SurfaceDescriptors[0].name;
  if (!DDLoadPaletteFromFile(g_Palette, paletteImage, g_Windowed)) {
    Log(SJ("DDLoadPaletteFromFile失敗"));
    return false;
  }
  std::copy(std::begin(g_Palette), std::end(g_Palette), std::begin(g_FadePalette));

  bool keyed = false;
  if (g_System.m_ColourMode == 0) {
    keyed = DDSetTransmit(paletteImage);
  } else if (g_SystemIni.Bpp == 16) {
    // A full-colour project at 16 bits keys on the palette image's corner, and keeps its own
    // colour beside it for the surfaces that are converted from 24 bits.
    keyed = DDSetTransmit(paletteImage);
    if (g_DisplayContext) {
      g_DisplayContext->key16R = g_System.m_TransparentRed;
      g_DisplayContext->key16G = g_System.m_TransparentGreen;
      g_DisplayContext->key16B = g_System.m_TransparentBlue;
    } else if (g_DDContext) {
      g_DDContext->key16R = g_System.m_TransparentRed;
      g_DDContext->key16G = g_System.m_TransparentGreen;
      g_DDContext->key16B = g_System.m_TransparentBlue;
    }
  } else {
    keyed = DDSetTransmit(g_System.m_TransparentRed, g_System.m_TransparentGreen, g_System.m_TransparentBlue);
  }
  if (!keyed) {
    Log(SJ("DDSetTransmit失敗"));
    return false;
  }
  return true;
}

// DirectDraw: presentation goes by the timer in a window, and in full screen when vertical sync is
// off or the monitor runs slower than the game.
std::int32_t TimerPresentation(cScreen* screen) {
  if (g_SystemIni.Direct3D != 0) return 0;
  if (g_Windowed) return 1;
  const int hz = screen ? screen->RefreshRate().value_or(0) : 0;
  return g_SystemIni.VSync == 0 || hz < kDefaultFrameRate ? 1 : 0;
}

}  // namespace

bool StartDisplay(int nCmdShow) {
  ScreenModeFacts facts;
  facts.fullColour = g_System.m_ColourMode;
  facts.desktopBpp = kHostDesktopBpp;
  const ScreenModeVerdict verdict = DecideScreenMode(g_SystemIni, facts, g_Windowed);
  if (verdict != ScreenModeVerdict::Valid) {
    ErrMesBox("%s", ScreenModeErrorText(verdict).c_str());
    return false;
  }

  g_MainWindow.Show(g_SystemIni.Direct3D == 0 && !g_Windowed ? kShowMaximized : nCmdShow);
  cScreen* screen = g_MainWindow.Screen();
  g_MainWindow.Attach();
  g_hMainWnd.store(screen);
  g_MainWindow.SetTitle(g_System.m_Title);

  if (!StartBackEnd(screen, nCmdShow)) return false;
  if (g_DisplayContext) {
    g_DisplayContext->textureFailureText =
        SJ("テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\nSystem."
           "iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。");
    LinkSourceSurfaces();
  }
  WriteDisplayReport();
  if (!SetPaletteAndKey()) return false;
  g_TimerPresentation = TimerPresentation(screen);

  if (!LoadSurfaceList(g_SurfaceTable, {1})) return false;
  CreateGameFonts(g_System.FontFace(), g_System.m_MessageFontLetters, g_System.m_MessageFontCentred);
  return true;
}
