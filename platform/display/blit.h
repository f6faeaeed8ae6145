#pragma once
// The drawing primitives of the display, the same in meaning under both back-ends: copies between
// surfaces (plain or scaled, with or without the transparent colour, under an optional draw state),
// fills, locks of a surface's pixels, the Direct3D scene and render target, the virtual back buffer,
// the draw colour and colour operation of Direct3D draws, and the box shown over a full-screen
// display.
//
// Coordinates and sizes are pixels; a key argument that is not 0 leaves out the source's
// transparent colour. None of the draws reports a failure to its caller beyond the DirectDraw result
// of DDBlt and DDFillRect.
#include <cstdint>
#include <string>

#include "platform/display/ddraw_device.h"
#include "platform/display/display_results.h"

struct DDSURFACEDATA;
class cPixelBuffer;

// A Direct3D draw state: the vertex colour (0xAARRGGBB) and the stage-0 colour operation (D3DTOP_*).
struct DrawState {
  std::uint32_t colour = 0xFFFFFFFF;
  std::uint32_t colorOp = 4;  // D3DTOP_MODULATE
};

// ---- copies

// Copies the source rectangle (sx, sy, w, h) to (x, y). DirectDraw: the result of the copy (DD_OK
// when nothing lies inside both surfaces). Direct3D: DDStretchBlt with equal sizes, DD_OK.
HRESULT DDBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
              std::int32_t sx, std::int32_t sy, std::int32_t key);
// Scaled copy of (sx, sy, sw, sh) onto (x, y, w, h). A negative sw mirrors: the copy reads columns
// sx - 1 down to sx + sw (a negative sh does the same with rows). Destination pixel x + c takes
// source column sx + floor((2c + 1) * sw / 2w), rows likewise, under both back-ends. A Direct3D
// copy from or to a system-memory texture goes pixel by pixel and takes column
// sx + trunc(c * sw / w) instead (one further left when mirrored) and row sy + trunc(r * sh / h).
void DDStretchBlt(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                  DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                  std::int32_t key);
// Direct3D: the copy drawn with the state's colour and operation, then both reset. DirectDraw: the
// plain copy, the state ignored. A null state draws as the plain copy.
void DDBltState(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, DDSURFACEDATA* src,
                std::int32_t sx, std::int32_t sy, std::int32_t key, const DrawState* state);
void DDStretchBltState(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                       DDSURFACEDATA* src, std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                       std::int32_t key, const DrawState* state);

// ---- fills

// Fills with palette colour dwPalNum (PalNumToRGB); the rectangle is cut to the record at all four
// edges. DirectDraw: the fill's result; Direct3D: DD_OK.
HRESULT DDFillRect(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   std::uint32_t dwPalNum);
// DDFillRect over the whole record.
void DDClear(DDSURFACEDATA* lpSD, std::uint32_t dwPalNum);
// Fills with a ready value: a DirectDraw pixel value, or a Direct3D colour 0xAARRGGBB (blended by
// its alpha, except where it is the key value of a keyed record, which clears).
void DDFillRectColor(DDSURFACEDATA* lpSD, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::uint32_t colour);

// ---- locks

// What a DirectDraw lock describes: the size, the row pitch in bytes, the pixels and their format.
struct DDSURFACEDESC2 {
  std::uint32_t dwSize = 124;
  std::int32_t dwWidth = 0;
  std::int32_t dwHeight = 0;
  std::int32_t lPitch = 0;
  void* lpSurface = nullptr;
  DDPixelFormat ddpfPixelFormat;
};

// DirectDraw: locks the whole surface; *pixels is its first pixel for bpp 8, 16, 24 or 32 (the pitch
// stays in desc). False when the surface cannot be locked, and under Direct3D (nothing is locked).
// A successful lock is ended with DDUnlock.
bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* desc, void** pixels, std::int32_t bpp);
void DDUnlock(DDSURFACEDATA* lpSD);

// A lock of a record's whole pixels under either back-end, released when the object goes. A
// Direct3D render target (other than the back buffer) is read into its system-memory copy, which is
// written back when the lock ends.
class SurfaceLock {
 public:
  SurfaceLock() = default;
  ~SurfaceLock() { Unlock(); }
  SurfaceLock(const SurfaceLock&) = delete;
  SurfaceLock& operator=(const SurfaceLock&) = delete;

  // False (with the failed call reported through DebugMesBox) when the pixels cannot be had; then
  // nothing is held. pitchPixels (may be null) gets the row pitch in pixels.
  bool Lock(DDSURFACEDATA* lpSD, void** pixels, std::int32_t* pitchPixels);
  void Unlock();
  // The locked pixels with their size and format; null when nothing is locked.
  cPixelBuffer* Buffer() const { return m_Buffer; }

  DDSURFACEDATA* m_lpSD = nullptr;
  void* m_pPixels = nullptr;

 private:
  cPixelBuffer* m_Buffer = nullptr;
};

// ---- Direct3D scene, render target, virtual back buffer

// False without a device; opens the frame's scene once.
bool SceneBegin();
void SceneEnd();
// Makes the record the device's render target; false for a record that is not one.
bool SetRenderTargetChecked(DDSURFACEDATA* lpSD);
// On: everything drawn to g_BackSurface goes to g_VirBackSurface until it is switched off, which
// copies the virtual back buffer to the back buffer once.
void SetVirBackBuffer(std::int32_t on);
// While the virtual back buffer is on, *p == &g_BackSurface becomes &g_VirBackSurface (true).
bool RedirectToVirBackBuffer(DDSURFACEDATA** p);
// The whole of src onto dst as it is (g_VirBackSurface onto g_BackSurface under Direct3D).
void CopyVirBackBuffer(DDSURFACEDATA* dst, DDSURFACEDATA* src);
// True for g_BackSurface itself while the display is full screen.
bool IsFullscreenBackBuffer(const DDSURFACEDATA* lpSD);

// ---- draw colour (Direct3D only; nothing under DirectDraw)

void SetDrawColor(std::uint32_t argb);
void ResetDrawColor();
void SetDrawColorOp(std::uint32_t op);
void ResetDrawColorOp();
void ResetDrawAlphaOp();

// The state's colour and operation for the draws of a scope, both reset at its end. A null state
// sets nothing; under DirectDraw the calls do nothing anyway.
class cDrawStateScope {
 public:
  explicit cDrawStateScope(const DrawState* state);
  ~cDrawStateScope();
  cDrawStateScope(const cDrawStateScope&) = delete;
  cDrawStateScope& operator=(const cDrawStateScope&) = delete;

 private:
  bool m_Set;
};

// ---- boxes over a full-screen display

// Leaves the full-screen display for a box, shows it, and returns; the box's answer, 0 when the
// display could not make way for it.
std::int32_t DDMesBox(const std::string& text, const std::string& caption, std::uint32_t type);
// On: the display makes way for a dialog (scene ended, cursor shown); off: back to the game (cursor
// hidden). The game's own dialogs are drawn in its frame, so a full-screen display stays full
// screen for them. 1 when done, 0 when it could not be.
std::int32_t DDSetDialogMode(std::int32_t on);
