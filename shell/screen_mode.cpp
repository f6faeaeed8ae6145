// The screen-mode rules of the start-up, as two small tables: what "decide" becomes, and which
// depths each back-end accepts.
#include "shell/screen_mode.h"

#include "platform/host/text_codec.h"

namespace {

constexpr std::int32_t kVSyncDecide = 2;

bool DepthAllowed(const SystemIni& ini, const ScreenModeFacts& facts, std::int32_t windowed) {
  switch (ini.Bpp) {
    case 16:
    case 32:
      return true;
    case 8:
      // Only DirectDraw drives a palette, and only in full screen: a window shares the desktop's
      // colours. A full-colour project has no palette to show.
      return ini.Direct3D == 0 && windowed == 0 && facts.fullColour == 0;
    default:
      return false;
  }
}

}  // namespace

ScreenModeVerdict DecideScreenMode(SystemIni& ini, const ScreenModeFacts& facts, std::int32_t& windowed) {
  windowed = ini.WindowMode != 0 ? 1 : 0;
  const bool d3d = ini.Direct3D != 0;

  // | back-end   | window      | VSync 2 becomes          | Bpp 0 becomes                 |
  // | Direct3D   | window      | 1                        | the desktop's depth           |
  // | Direct3D   | full screen | 1                        | 32                            |
  // | DirectDraw | window      | (VSync always 0)         | the desktop's depth           |
  // | DirectDraw | full screen | 0 on later systems, else 1 | 8 (256 colours) or 32       |
  if (d3d) {
    if (ini.VSync == kVSyncDecide) ini.VSync = 1;
    if (ini.Bpp == 0) ini.Bpp = windowed ? facts.desktopBpp : 32;
  } else if (windowed) {
    ini.VSync = 0;
    if (ini.Bpp == 0) ini.Bpp = facts.desktopBpp;
  } else {
    if (ini.VSync == kVSyncDecide) ini.VSync = facts.laterSystem ? 0 : 1;
    if (ini.Bpp == 0) ini.Bpp = facts.fullColour == 0 ? 8 : 32;
  }

  if (!DepthAllowed(ini, facts, windowed)) return ScreenModeVerdict::Invalid;
  if (windowed && ini.Bpp != facts.desktopBpp) return ScreenModeVerdict::WindowDepthMismatch;
  return ScreenModeVerdict::Valid;
}

const std::string& ScreenModeErrorText(ScreenModeVerdict verdict) {
  static const std::string kNone;
  switch (verdict) {
    case ScreenModeVerdict::WindowDepthMismatch:
      return SJ("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！");
    case ScreenModeVerdict::Invalid:
      return SJ("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");
    case ScreenModeVerdict::Valid:
      break;
  }
  return kNone;
}
