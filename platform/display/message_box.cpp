// Boxes and dialogs over a full-screen display. For a dialog the game screen makes way (the dialog
// mode: scene ended, the cursor shown) and the dialog is drawn in the game's frame, full screen or
// not. A message box is a window of the host: for it the window also leaves full screen, and takes
// it again afterwards.
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/host/box_sink.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

// The window the display runs in; null when it has none (a display without a screen).
cScreen* DisplayWindow() { return g_DisplayParams.hWnd; }

// The cursor for the dialog (the game hides it in full screen), and for a box of the host the
// window out of full screen and back.
void ShowDisplayWindow(bool forDialog, bool leaveFullScreen) {
  if (cScreen* window = DisplayWindow()) {
    if (leaveFullScreen) window->SetFullScreen(!forDialog);
    window->SetCursorVisible(forDialog);
  }
}

std::int32_t SetDialogMode(std::int32_t on, bool leaveFullScreen) {
  if (g_DisplayParams.windowed) return 1;
  if (DisplayIsD3D()) {
    if (on) SceneEnd();
    ShowDisplayWindow(on != 0, leaveFullScreen);
    return 1;
  }
  if (!g_lpDD) return 1;
  if (on) {
    // The picture the dialog is shown over must be the one the player sees: the shown surface, which
    // a lost display no longer has.
    const cDDSurface* primary = g_PrimarySurface.lpDDPart ? g_PrimarySurface.lpDDPart->surface.get() : nullptr;
    if (!primary || FAILED(primary->IsLost())) return 0;
  }
  ShowDisplayWindow(on != 0, leaveFullScreen);
  return 1;
}

}  // namespace

std::int32_t DDSetDialogMode(std::int32_t on) { return SetDialogMode(on, false); }

std::int32_t DDMesBox(const std::string& text, const std::string& caption, std::uint32_t type) {
  if (!SetDialogMode(1, true)) {
    LogF(SJ("DDMesBox 失敗! %s, %s").c_str(), text.c_str(), caption.c_str());
    return 0;
  }
  const int answer = ShowBox(text, caption, type);
  SetDialogMode(0, true);
  return answer;
}
