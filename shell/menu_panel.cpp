#include "shell/menu_panel.h"

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "shell/hbt_palette.h"
#include "shell/main_window.h"
#include "shell/scene.h"

DDSURFACEDATA* MenuPanel() { return g_MenuSurfaces.empty() ? nullptr : &g_MenuSurfaces.front(); }

DDSURFACEDATA* MakeMenuPanel() {
  ReleaseSurfaceVector(g_MenuSurfaces);
  g_MenuSurfaces.clear();
  g_MenuSurfaceDescriptors.clear();
  if (!AddSurfaceToVector(g_MenuSurfaces, g_MenuSurfaceDescriptors, kMenuPanelWidth, kMenuPanelHeight, 0, 0, 0, 0)) {
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return nullptr;
  }
  return MenuPanel();
}

bool MenuPanelLostItsPicture(DDSURFACEDATA* panel) {
  if (!panel || !panel->lpDT || !panel->lpDT->recreated) return false;
  panel->lpDT->recreated = 0;
  return true;
}

void ShowMenuPanel(DDSURFACEDATA* panel) {
  if (panel) DDBlt(&g_BackSurface, 0, 0, kMenuPanelWidth, kMenuPanelHeight, panel, 0, 0, 0);
  CycleSystemColours();
}

bool FadeRewritesMenuPanel() { return !DisplayIsD3D() && g_DisplayParams.bpp == 8; }
