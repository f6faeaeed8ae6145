#pragma once
// The end of a frame and the way back after the display is lost. Under Direct3D the frame loop
// presents with DDPresent and, when the device is lost, sends WM_GAME_DEVICELOST to the main window,
// whose thread resets the device with DDRestoreSurface while the game thread waits. Under DirectDraw
// the frame loop flips or blits to the window itself and calls DDRestore once the primary is lost.
#include <cstdint>

#include "platform/host/message_queue.h"

// The frame loop found the Direct3D device lost; no parameters.
constexpr std::uint32_t WM_GAME_DEVICELOST = WM_USER + 100;

// Direct3D: shows the back buffer (the virtual back buffer copied in first while it is on) and closes
// the scene. False when the device is lost; in full screen the window is then minimised. True at once
// without a Direct3D context.
bool DDPresent();

// Direct3D: lets go of the device's render targets, resets the device and makes every dynamic surface
// again (file surfaces reloaded, empty ones cleared and marked recreated). False while the device
// cannot be reset yet, or when the reset fails: the caller asks again later.
bool DDRestoreSurface();

// DirectDraw: once the primary is lost, restores it, the back surface and the surface table's
// surfaces (video-memory ones with a file get their picture back) and, at 8 bits, the palette.
// Always true.
bool DDRestore();

// The window thread's side of WM_GAME_DEVICELOST: 1 when the device was reset, 0 while it cannot be
// yet (the surfaces stay released until a later request).
std::intptr_t HandleDeviceLostMessage();
// The game thread's side: sends WM_GAME_DEVICELOST and waits for the restore. True when the device
// is back; false while it is not (or the program is closing), and the next lost present asks again.
bool ReportDeviceLost();

// Objects that hold device resources of their own besides the surface records (the fonts) take part
// in both restores through this interface. They are called in the order they registered.
class cRestoreClient {
 public:
  virtual ~cRestoreClient() = default;
  // Direct3D, before the reset: let go of what the device owns.
  virtual void OnLostDevice() = 0;
  // After a Direct3D reset, or after DDRestore: take the resources up again.
  virtual void Restore() = 0;
};

// A client stays registered until it unregisters itself; it must do so before it is destroyed.
void RegisterRestoreClient(cRestoreClient* client);
void UnregisterRestoreClient(cRestoreClient* client);
