// The Direct3D end of a frame.
#include "platform/display/present.h"

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/host/screen.h"

bool DDPresent() {
  if (!g_DisplayContext || !lpDevice) return true;
  // Effects draw the stage into the virtual back buffer; the frame shown is the back buffer.
  if (g_DisplayContext->virBackOn) CopyVirBackBuffer(&g_BackSurface, &g_VirBackSurface);
  SceneEnd();
  if (lpDevice->Present() != D3DERR_DEVICELOST) return true;
  // A lost full-screen display gives the desktop back until the device can be reset.
  if (!g_DisplayContext->presentParams.windowed && g_DisplayParams.hWnd) g_DisplayParams.hWnd->SetMinimised(true);
  return false;
}
