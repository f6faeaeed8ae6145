#pragma once
// The display library's start and end, the choice of back-end and the state every display function
// reads. Two back-ends draw the 640x480 game screen, both into memory: "Direct3D", every surface a
// texture drawn as a textured quad (16 or 32 bits), and "DirectDraw", surfaces with a palette and
// colour keys (8, 16 or 32 bits). Exactly one context exists while the display is up; every display
// function takes the Direct3D branch when g_DisplayContext exists, else the DirectDraw one.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/display/d3d_device.h"
#include "platform/display/ddraw_device.h"
#include "platform/display/surface.h"

class cScreen;

struct DisplayParams {
  std::int32_t useD3D = 0;  // non-zero: Direct3D
  cScreen* hWnd = nullptr;  // the display window
  std::int32_t width = 0;   // 640
  std::int32_t height = 0;  // 480
  std::int32_t bpp = 0;     // 8, 16, 24 or 32
  std::int32_t bytesPerPixel = 0;
  std::int32_t windowed = 0;
  std::int32_t backBufferFlag = 0;  // DirectDraw full screen: 1 = one back buffer, else two
  std::int32_t vsync = 0;
  std::int32_t refreshHz = 0;
  std::int32_t useRefresh = 0;
  DDSURFACEDATA* surfaceTable = nullptr;
  SurfaceDescriptor* descriptors = nullptr;
  std::int32_t count = 0;
};
extern DisplayParams g_DisplayParams;

// Direct3D state.
struct DisplayContext {
  PixelFormat backBufferFormat = PixelFormat::Xrgb8888;
  PixelFormat textureFormat = PixelFormat::Argb8888;
  D3DPresentParams presentParams;
  std::uint32_t adapter = 0;
  std::uint32_t deviceType = 1;  // the adapter's own device
  D3DCaps caps;
  std::int32_t needsPow2 = 0;
  std::int32_t squareOnly = 0;
  std::int32_t virBackOn = 0;
  DDSURFACEDATA* renderTarget = nullptr;
  std::int32_t rawCopy = 0;
  std::uint8_t keyB = 0, keyG = 0, keyR = 0;        // as given to DDSetTransmit in red, green, blue
  std::uint8_t key16B = 0, key16G = 0, key16R = 0;  // the key of 16-bit mode
  std::uint32_t transparent32 = 0;
  std::uint32_t opaqueKey32 = 0;
  std::uint16_t transparent16 = 0;
  std::uint16_t opaqueKey16 = 0;
  std::int32_t inScene = 0;
  std::uint32_t drawColor = 0xFFFFFFFF;
  std::uint32_t colorOp = D3DTOP_MODULATE;
  std::uint32_t alphaOp = D3DTOP_SELECTARG1;
  std::int32_t textureCounter = 0;
  std::int32_t fontCounter = 0;
  std::string textureFailureText;
};

// DirectDraw state.
struct DDContext {
  std::uint8_t keyB = 0, keyG = 0, keyR = 0;        // 32-bit form, set by DDSetTransmit
  std::uint8_t key16B = 0, key16G = 0, key16R = 0;  // 16-bit mode, written by the start-up
  std::int32_t fontCounter = 0;
};

extern std::unique_ptr<DisplayContext> g_DisplayContext;
extern std::unique_ptr<DDContext> g_DDContext;

inline bool DisplayIsD3D() { return g_DisplayContext != nullptr; }

// Two sets of {R, G, B, A shift; R, G, B, A mask}: the Direct3D back buffer of 16-bit mode, then the
// set that pixel packing reads (the texture format, or the DirectDraw display format).
constexpr int kMaskRShift = 0, kMaskGShift = 1, kMaskBShift = 2, kMaskAShift = 3;
constexpr int kMaskR = 4, kMaskG = 5, kMaskB = 6, kMaskA = 7;
constexpr int kBackBufferMasks = 0;
constexpr int kSurfaceMasks = 8;
extern std::array<std::uint32_t, 16> g_ColorMasks;

extern std::shared_ptr<cDirectDraw> g_lpDD;
extern std::unique_ptr<cDirect3D> g_lpD3D;
extern std::unique_ptr<cD3DDevice> lpDevice;
extern std::shared_ptr<cDDPalette> g_lpDDPalette;
extern PixelRect g_ClientRect;  // DirectDraw window mode: the client area
extern std::int32_t g_DesktopBpp;
// 1 while the display is up (the boxes draw through the display then, in full screen).
extern std::int32_t g_DisplayReady;
extern std::uint8_t g_DisplayInitialised;

// The fixed surfaces.
extern DDSURFACEDATA g_PrimarySurface;     // DirectDraw: the shown picture
extern DDSURFACEDATA g_BackSurface;        // the 640x480 surface every scene draws to
extern DDSURFACEDATA g_ScreenCopySurface;  // DirectDraw: a system-memory copy of the screen
extern DDSURFACEDATA g_VirBackSurface;     // Direct3D: the virtual back buffer
extern DDSURFACEDATA g_WorkSurface;        // Direct3D: a screen-sized work texture

// hWnd (null: none) must outlive the display: DDRelease gives it back its windowed state.
bool DDInit(std::int32_t useD3D, cScreen* hWnd, std::int32_t width, std::int32_t height, std::int32_t bpp,
            std::int32_t vsync, std::int32_t windowed, std::int32_t backBufferFlag, std::int32_t refreshHz,
            std::int32_t useRefresh, DDSURFACEDATA* surfaceTable, SurfaceDescriptor* descriptors, std::int32_t count);
// Releases everything of the active back-end and the surface table, whatever state a start left
// them in.
void DDRelease();

// The set-up steps of DDInit.
std::int32_t InitDirect3D(cScreen* hWnd, std::int32_t width, std::int32_t height, std::int32_t bpp,
                          std::int32_t backBufferFlag);
void SetDefaultRenderStates();
std::int32_t InitDDFullscreen(cScreen* hWnd, std::int32_t width, std::int32_t height, std::int32_t bpp,
                              std::int32_t backBufferFlag);
std::int32_t InitDDWindowed(cScreen* hWnd);
// False (and the code's name in the debug log) for a known failure code.
bool LogDisplayError(std::int32_t code);

// The name of a back-buffer format as the report log gives it.
const char* BackBufferFormatName(PixelFormat format);
