#pragma once
// The start-up's screen-mode decision: from the renderer, window mode, colour depth and vertical
// sync that System.ini (and the boot settings) gave, the depth and sync to start the display with,
// and whether that combination can run at all.
//
// On this platform the desktop always shows 32-bit colour, full screen is a desktop-sized window,
// and the frame loop paces itself, so vertical sync only removes tearing.
#include <cstdint>
#include <string>

#include "shell/system_ini.h"

// What the decision needs to know of the project and the machine.
struct ScreenModeFacts {
  std::int32_t fullColour = 0;  // the project's colour mode: 0 = 256 colours
  std::int32_t desktopBpp = 32;
  // The DirectDraw full-screen flip waits badly on the later desktop systems, so vertical sync is
  // left off there when it is for the start-up to decide. This platform counts as one of them.
  bool laterSystem = true;
};

enum class ScreenModeVerdict {
  Valid,
  WindowDepthMismatch,  // a 16- or 32-bit window on a desktop of another depth
  Invalid,              // every other refused combination
};

// Resolves ini.VSync 2 and ini.Bpp 0 for the back-end ini.Direct3D chooses (DirectDraw windows
// always run without vertical sync), sets windowed from ini.WindowMode, then tests the combination.
ScreenModeVerdict DecideScreenMode(SystemIni& ini, const ScreenModeFacts& facts, std::int32_t& windowed);

// The box text of a refused combination (code page 932); empty for a valid one.
const std::string& ScreenModeErrorText(ScreenModeVerdict verdict);
