// The start and the end of the display: DDInit with the set-up of either back-end, and DDRelease.
#include <algorithm>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/display_report.h"
#include "platform/display/palette.h"
#include "platform/display/palette_fade.h"
#include "platform/host/box_sink.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"

DisplayParams g_DisplayParams;
std::unique_ptr<DisplayContext> g_DisplayContext;
std::unique_ptr<DDContext> g_DDContext;
std::array<std::uint32_t, 16> g_ColorMasks{};
std::shared_ptr<cDirectDraw> g_lpDD;
std::unique_ptr<cDirect3D> g_lpD3D;
std::unique_ptr<cD3DDevice> lpDevice;
std::shared_ptr<cDDPalette> g_lpDDPalette;
PixelRect g_ClientRect;
std::int32_t g_DesktopBpp = 0;
std::int32_t g_DisplayReady = 0;
std::uint8_t g_DisplayInitialised = 0;

namespace {

struct sErrorName {
  std::int32_t code;
  const char* name;
};

// The set-up failure codes and their names in the debug log.
// clang-format off
constexpr sErrorName kDisplayErrors[] = {
    {1, "CREATEEX_ERR"},
    {2, "SETCOOPLEVEL_ERR"},
    {3, "SETDISPLAYMODE_ERR"},
    {4, "CREATESURFACE_ERR"},
    {5, "GETATTACHEDSURFACE_ERR"},
    {6, "CREATEPALETTE_ERR"},
    {7, "SETPALETTE_ERR"},
    {10, "CLIPPER_ERR"},
    {11, "SETHWND_ERR"},
    {12, "SETCLIPPER_ERR"},
};
// clang-format on

void SetMaskSet(int set, std::uint32_t rShift, std::uint32_t gShift, std::uint32_t bShift, std::uint32_t aShift,
                std::uint32_t rMask, std::uint32_t gMask, std::uint32_t bMask, std::uint32_t aMask) {
  std::uint32_t* m = g_ColorMasks.data() + set;
  m[kMaskRShift] = rShift;
  m[kMaskGShift] = gShift;
  m[kMaskBShift] = bShift;
  m[kMaskAShift] = aShift;
  m[kMaskR] = rMask;
  m[kMaskG] = gMask;
  m[kMaskB] = bMask;
  m[kMaskA] = aMask;
}

// A fixed record that takes a device surface of the screen's size.
void TakeScreenSurface(DDSURFACEDATA& record, std::shared_ptr<cDDSurface> surface) {
  AllocSurfaceParts(&record);
  record.width = record.textureWidth = surface->Pixels().Width();
  record.height = record.textureHeight = surface->Pixels().Height();
  record.systemMemory = surface->SystemMemory();
  record.lpDDPart->surface = std::move(surface);
}

void ReleaseTable() {
  if (!g_DisplayParams.surfaceTable) return;
  for (std::int32_t i = 0; i < g_DisplayParams.count; ++i) DDReleaseSurface(&g_DisplayParams.surfaceTable[i]);
}

}  // namespace

const char* BackBufferFormatName(PixelFormat format) {
  switch (format) {
    case PixelFormat::Xrgb8888:
      return "X8R8G8B8";
    case PixelFormat::Rgb565:
      return "R5G6B5";
    case PixelFormat::Argb1555:
      return "A1R5G5B5";
    case PixelFormat::Argb8888:
      return "A8R8G8B8";
    case PixelFormat::Index8:
      return "P8";
  }
  return "";
}

bool LogDisplayError(std::int32_t code) {
  for (const sErrorName& e : kDisplayErrors) {
    if (e.code == code) {
      Log(e.name);
      return false;
    }
  }
  return true;
}

bool DDInit(std::int32_t useD3D, cScreen* hWnd, std::int32_t width, std::int32_t height, std::int32_t bpp,
            std::int32_t vsync, std::int32_t windowed, std::int32_t backBufferFlag, std::int32_t refreshHz,
            std::int32_t useRefresh, DDSURFACEDATA* surfaceTable, SurfaceDescriptor* descriptors, std::int32_t count) {
  // Whatever an earlier start left is released before anything new is made, so that exactly one
  // context exists afterwards and no object of the old one lives on.
  if (g_DisplayContext || g_DDContext || g_lpDD || g_lpD3D || lpDevice) DDRelease();
  g_DisplayParams = {useD3D,         hWnd,  width,     height,     bpp,          bpp / 8,     windowed,
                     backBufferFlag, vsync, refreshHz, useRefresh, surfaceTable, descriptors, count};
  if (useD3D) {
    if (!InitDirect3D(hWnd, width, height, bpp, backBufferFlag)) return false;
  } else {
    g_DDContext = std::make_unique<DDContext>();
    std::int32_t code = windowed ? InitDDWindowed(hWnd) : InitDDFullscreen(hWnd, width, height, bpp, backBufferFlag);
    if (!LogDisplayError(code)) return false;
  }
  g_DisplayReady = 1;
  g_DisplayInitialised = 1;
  // In full screen the game's boxes make way through the display; DDRelease takes this back.
  if (!windowed) SetFullScreenBox(DDMesBox);
  return true;
}

std::int32_t InitDirect3D(cScreen* hWnd, std::int32_t width, std::int32_t height, std::int32_t bpp, std::int32_t) {
  const int ddi = GetDDIVersion();
  if (ddi < 9) {
    ReportLog(SJ("ビデオカードのドライバがDirectX9をサポートしていません！ %d").c_str(), ddi);
    return 0;
  }
  g_lpD3D = std::make_unique<cDirect3D>();
  g_DisplayContext = std::make_unique<DisplayContext>();
  DisplayContext& context = *g_DisplayContext;
  const bool windowed = g_DisplayParams.windowed != 0;
  // A window with vertical sync would ask the desktop for 60 Hz here; the desktop's mode is never
  // changed on this platform, so its test of the change is refused and nothing is applied.
  context.caps = g_lpD3D->GetDeviceCaps();
  context.needsPow2 = context.caps.texturesPow2;
  context.squareOnly = context.caps.texturesSquareOnly;

  if (bpp == 32) {
    context.backBufferFormat = PixelFormat::Xrgb8888;
    context.textureFormat = PixelFormat::Argb8888;
    SetMaskSet(kSurfaceMasks, 16, 8, 0, 24, 0xFF, 0xFF, 0xFF, 0xFF);
  } else if (bpp == 16) {
    context.backBufferFormat = windowed ? PixelFormat::Argb1555 : PixelFormat::Rgb565;
    context.textureFormat = PixelFormat::Argb1555;
    if (windowed)
      SetMaskSet(kBackBufferMasks, 10, 5, 0, 15, 0x1F, 0x1F, 0x1F, 1);
    else
      SetMaskSet(kBackBufferMasks, 11, 5, 0, 16, 0x1F, 0x3F, 0x1F, 0);
    SetMaskSet(kSurfaceMasks, 10, 5, 0, 15, 0x1F, 0x1F, 0x1F, 1);
  } else {
    return 0;
  }

  D3DPresentParams params;
  params.backBufferWidth = windowed && hWnd ? 0 : width;
  params.backBufferHeight = windowed && hWnd ? 0 : height;
  params.backBufferFormat = context.backBufferFormat;
  params.backBufferCount = 1;
  params.swapEffect = context.caps.alphaFullscreenFlipOrDiscard ? D3DSwapEffect::Discard : D3DSwapEffect::Copy;
  params.windowed = windowed;
  params.lockableBackBuffer = true;
  params.fullScreenRefreshHz = windowed ? 0 : 60;
  params.vsync = g_DisplayParams.vsync != 0;

  HRESULT hr = g_lpD3D->CreateDevice(hWnd, true, params, &lpDevice);
  if (SUCCEEDED(hr)) {
    ReportLog("Device HAL-HARD");
  } else {
    hr = g_lpD3D->CreateDevice(hWnd, false, params, &lpDevice);
    if (SUCCEEDED(hr)) ReportLog("Device HAL-SOFT");
  }
  if (FAILED(hr)) {
    LogF("CreateDevice Err");
    return 0;
  }
  ReportLog("%s", BackBufferFormatName(context.backBufferFormat));

  context.presentParams = params;
  SetDefaultRenderStates();
  context.drawColor = 0xFFFFFFFF;
  context.colorOp = D3DTOP_MODULATE;
  context.alphaOp = D3DTOP_SELECTARG1;

  if (!g_BackSurface.lpDT) g_BackSurface.lpDT = std::make_unique<D3DSurfacePart>();
  D3DSurfacePart& back = *g_BackSurface.lpDT;
  g_BackSurface.width = g_BackSurface.textureWidth = width;
  g_BackSurface.height = g_BackSurface.textureHeight = height;
  g_BackSurface.systemMemory = 0;
  g_BackSurface.szSurfaceType = "BackBuffer";
  back.software = 0;
  back.colourKey = 0;
  back.renderTarget = 1;
  if (hr = lpDevice->CreateVertexBuffer(&back.vertexBuffer); FAILED(hr)) {
    ReportLog("Back CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
    return 0;
  }
  lpDevice->GetBackBuffer(&back.lpSurface);
  back.levelDesc = {back.lpSurface->Format(), D3DUSAGE_RENDERTARGET, D3DPool::Default, back.lpSurface->Width(),
                    back.lpSurface->Height()};
  back.textureNumber = 0;
  context.textureCounter = 1;
  context.fontCounter = 0;

  // The virtual back buffer starts off: drawing goes to the back buffer.
  context.virBackOn = 0;
  context.renderTarget = &g_BackSurface;
  lpDevice->SetRenderTarget(back.lpSurface);
  context.rawCopy = 0;
  DDCreateSurface(&g_VirBackSurface, width, height, 0, 0, 0, 0, 0);
  g_VirBackSurface.szSurfaceType = "VirBackBuffer";
  DDCreateSurface(&g_WorkSurface, width, height, 0, 0, 0, 0, 0);
  g_WorkSurface.szSurfaceType = "WorkSD";

  if (!windowed && hWnd) hWnd->SetCursorVisible(false);
  return 1;
}

void SetDefaultRenderStates() {
  if (!lpDevice) return;
  D3DRenderStates& states = lpDevice->m_RenderStates;
  states.cullMode = D3DCULL_NONE;
  states.zEnable = false;
  states.alphaBlendEnable = true;
  states.srcBlend = D3DBLEND_SRCALPHA;
  states.destBlend = D3DBLEND_INVSRCALPHA;
  states.diffuseMaterialSource = D3DMCS_COLOR1;
  states.colorVertex = true;
  for (D3DSamplerStates& sampler : lpDevice->m_Samplers) {
    sampler.addressU = D3DTADDRESS_WRAP;
    sampler.addressV = D3DTADDRESS_WRAP;
    sampler.minFilter = D3DTEXF_POINT;
    sampler.magFilter = D3DTEXF_POINT;
  }
}

std::int32_t InitDDFullscreen(cScreen* hWnd, std::int32_t width, std::int32_t height, std::int32_t bpp,
                              std::int32_t backBufferFlag) {
  g_lpDD = cDirectDraw::Create(kHostDesktopBpp);
  if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, true))) {
    ReportLog("SetCooperativeLevel Err");
    return 2;
  }
  HRESULT hr = g_lpDD->SetDisplayMode(width, height, bpp, g_DisplayParams.useRefresh ? g_DisplayParams.refreshHz : 0);
  if (FAILED(hr) && g_DisplayParams.useRefresh) hr = g_lpDD->SetDisplayMode(width, height, bpp, 0);
  if (FAILED(hr)) {
    ReportLog("SetDisplayMode Err");
    return 3;
  }
  if (hWnd) hWnd->SetVsync(g_DisplayParams.vsync != 0);

  std::shared_ptr<cDDSurface> primary;
  if (FAILED(g_lpDD->CreatePrimary(backBufferFlag == 1 ? 1 : 2, &primary))) {
    ReportLog("Primary CreateSurface Err");
    return 4;
  }
  TakeScreenSurface(g_PrimarySurface, primary);
  std::shared_ptr<cDDSurface> back;
  if (FAILED(primary->GetAttachedBackBuffer(&back))) {
    ReportLog("GetAttachedSurface Err");
    return 5;
  }
  TakeScreenSurface(g_BackSurface, back);
  if (!DDCreateSurface(&g_ScreenCopySurface, width, height, 0, 1, 0, 0, 0)) return 4;

  // A provisional palette until the palette image replaces it.
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i)
    entries[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), std::uint8_t{0}, std::uint8_t{1}};
  entries[0].peBlue = 255;
  if (FAILED(g_lpDD->CreatePalette(entries, &g_lpDDPalette))) {
    ReportLog("CreatePalette Err");
    return 6;
  }
  if (bpp <= 8) {
    if (FAILED(primary->SetPalette(g_lpDDPalette))) {
      ReportLog("SetPalette Err");
      return 7;
    }
  } else {
    ReadColorMasks(g_ColorMasks.data() + kSurfaceMasks);
  }
  if (hWnd) hWnd->SetCursorVisible(false);
  return 0;
}

std::int32_t InitDDWindowed(cScreen* hWnd) {
  // The window shows frames of any depth (the host converts them), so the desktop is taken at the
  // display's own depth.
  g_DesktopBpp = g_DisplayParams.bpp;
  const std::int32_t clientWidth = hWnd ? hWnd->Width() : g_DisplayParams.width;
  const std::int32_t clientHeight = hWnd ? hWnd->Height() : g_DisplayParams.height;
  g_ClientRect = {0, 0, clientWidth, clientHeight};
  g_lpDD = cDirectDraw::Create(g_DesktopBpp);
  if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, false))) {
    ReportLog("SetCooperativeLevel Err");
    return 2;
  }
  if (hWnd) {
    hWnd->SetFullScreen(false);
    hWnd->SetVsync(g_DisplayParams.vsync != 0);
  }
  std::shared_ptr<cDDSurface> primary;
  if (FAILED(g_lpDD->CreatePrimary(0, &primary))) {
    ReportLog("Primary CreateSurface Err");
    return 4;
  }
  TakeScreenSurface(g_PrimarySurface, primary);
  if (!DDCreateSurface(&g_BackSurface, clientWidth, clientHeight, 0, 0, 0, 0, 0)) return 4;
  if (!DDCreateSurface(&g_ScreenCopySurface, clientWidth, clientHeight, 0, 1, 0, 0, 0)) return 4;

  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) {
    const bool system = i < 10 || i >= 246;
    entries[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(system ? 0 : i), std::uint8_t{0},
                  static_cast<std::uint8_t>(system ? 2 : 1)};
  }
  if (FAILED(g_lpDD->CreatePalette(entries, &g_lpDDPalette))) {
    ReportLog("CreatePalette Err");
    return 6;
  }
  if (g_DesktopBpp <= 8) {
    if (FAILED(primary->SetPalette(g_lpDDPalette))) {
      ReportLog("SetPalette Err");
      return 7;
    }
  } else {
    ReadColorMasks(g_ColorMasks.data() + kSurfaceMasks);
  }
  // The window shows the whole primary, so no clipper stands between them.
  if (hWnd) hWnd->SetCursorVisible(true);
  return 0;
}

void DDRelease() {
  // No box may be drawn through a display that is gone.
  SetFullScreenBox({});
  if (g_lpDD || g_DDContext) {
    ReleaseTable();
    g_lpDDPalette.reset();
    DDReleaseSurface(&g_BackSurface);
    DDReleaseSurface(&g_PrimarySurface);
    DDReleaseSurface(&g_ScreenCopySurface);
    if (g_lpDD) {
      g_lpDD->RestoreDisplayMode();
      if (g_lpDD->LiveObjects() != 0) ShowBox(SJ("解放漏れがあります"), "DirectDraw", MB_ICONERROR);
      g_lpDD.reset();
    }
    g_DDContext.reset();
  }
  if (g_lpD3D || g_DisplayContext || lpDevice) {
    ReleaseTable();
    DDReleaseSurface(&g_WorkSurface);
    DDReleaseSurface(&g_VirBackSurface);
    DDReleaseSurface(&g_BackSurface);
    if (g_DisplayContext && !g_DisplayContext->presentParams.windowed && g_DisplayParams.hWnd)
      g_DisplayParams.hWnd->SetFullScreen(false);
    lpDevice.reset();
    g_lpD3D.reset();
    g_DisplayContext.reset();
  }
  // The colour key was the released display's: a new start has none until it is keyed again, as
  // its fresh context is, so no keyed surface of the next display takes the old key.
  g_TransparentPixel = 0;
  // So was an unfinished fade, whose screen copy was released with the surfaces.
  RewindScreenFades();
  // The table is released; the next start names it again.
  g_DisplayParams.surfaceTable = nullptr;
  g_DisplayParams.descriptors = nullptr;
  g_DisplayParams.count = 0;
  g_DisplayReady = 0;
}
