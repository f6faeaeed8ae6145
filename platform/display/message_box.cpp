// Boxes and dialogs over a full-screen display. The game screen makes way for a window of the
// system (the dialog mode: scene ended, the window out of full screen, the cursor shown), the box
// or dialog is shown by the host, and the screen takes its place again.
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/host/box_sink.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

// The window the display runs in; null when it has none (a display without a screen).
cScreen* DisplayWindow() { return g_DisplayParams.hWnd; }

// Full screen again (or not) and the cursor with it: the game hides it in full screen.
void ShowDisplayWindow(bool forDialog) {
  if (cScreen* window = DisplayWindow()) {
    window->SetFullScreen(!forDialog);
    window->SetCursorVisible(forDialog);
  }
}

}  // namespace

std::int32_t DDSetDialogMode(std::int32_t on) {
  if (g_DisplayParams.windowed) return 1;
  if (DisplayIsD3D()) {
    if (on) SceneEnd();
    ShowDisplayWindow(on != 0);
    return 1;
  }
  if (!g_lpDD) return 1;
  if (on) {
    // The picture the desktop shows must be the one the player sees: the shown surface, which a lost
    // display no longer has.
    const cDDSurface* primary = g_PrimarySurface.lpDDPart ? g_PrimarySurface.lpDDPart->surface.get() : nullptr;
    if (!primary || FAILED(primary->IsLost())) return 0;
  }
  ShowDisplayWindow(on != 0);
  return 1;
}

std::int32_t DDMesBox(const std::string& text, const std::string& caption, std::uint32_t type) {
  if (!DDSetDialogMode(1)) {
    LogF(SJ("DDMesBox 失敗! %s, %s").c_str(), text.c_str(), caption.c_str());
    return 0;
  }
  const int answer = ShowBox(text, caption, type);
  DDSetDialogMode(0);
  return answer;
}
