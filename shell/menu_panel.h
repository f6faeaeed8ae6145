#pragma once
// The full-screen panel of the menu scenes that draw their page once and show it every frame (the
// challenge and option scenes): the first surface of g_MenuSurfaces.
#include <cstdint>

#include "platform/display/surface.h"

constexpr std::int32_t kMenuPanelWidth = 640;
constexpr std::int32_t kMenuPanelHeight = 480;

// The panel; null while none is made.
DDSURFACEDATA* MenuPanel();
// Makes the panel afresh, releasing the menu surfaces before; when it cannot be made the program is
// closed in order and the result is null.
DDSURFACEDATA* MakeMenuPanel();
// A device reset gives the panel back empty: true once after that, when its picture must be drawn
// again.
bool MenuPanelLostItsPicture(DDSURFACEDATA* panel);
// The panel copied to the back surface, then the system colours cycled: the frame of such a scene.
void ShowMenuPanel(DDSURFACEDATA* panel);
// At 8 bits a fade rewrites the palette the panel's text colours came from: the fade-in draws the
// panel again first.
bool FadeRewritesMenuPanel();
