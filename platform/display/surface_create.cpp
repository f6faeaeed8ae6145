// Creating, loading and releasing surface records, whichever back-end is up.
#include <algorithm>
#include <bit>

#include "platform/display/display.h"
#include "platform/display/surface_backends.h"
#include "platform/host/bmp.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"

void AllocSurfaceParts(DDSURFACEDATA* lpSD) {
  if (g_DisplayParams.useD3D) {
    if (!lpSD->lpDT) lpSD->lpDT = std::make_unique<D3DSurfacePart>();
  } else {
    if (!lpSD->lpDDPart) lpSD->lpDDPart = std::make_unique<DDSurfacePart>();
  }
}

void ShowTextureFailure() {
  if (g_DisplayContext && !g_DisplayContext->textureFailureText.empty()) ErrBox(g_DisplayContext->textureFailureText);
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}

void ListDynamicSurface(DDSURFACEDATA* lpSD) {
  if (lpSD->lpDT->listed) return;
  g_DynamicSurfaces.push_back(lpSD);
  lpSD->lpDT->listed = true;
}

bool DDCreateSurface(DDSURFACEDATA* lpSD, std::int32_t width, std::int32_t height, std::int32_t colourKey,
                     std::int32_t systemMemory, std::int32_t softwareTexture, std::int32_t shared,
                     std::int32_t restoring) {
  if (!lpSD) return false;
  bool made = DisplayIsD3D() ? CreateEmptySurfaceD3D(lpSD, width, height, colourKey, systemMemory, softwareTexture,
                                                     shared, restoring)
                             : CreateEmptySurfaceDD(lpSD, width, height, colourKey, systemMemory);
  // A surface that could not be made is left empty, never half made.
  if (!made && !restoring) DDReleaseSurface(lpSD);
  return made;
}

std::int32_t CreateSurfaceFromFile(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t colourKey,
                                   std::int32_t bpp, std::int32_t systemMemory, std::int32_t softwareTexture,
                                   std::int32_t shared, std::int32_t paletteMap, std::int32_t mirrorCellWidth,
                                   std::int32_t mirrorCellHeight, std::int32_t restoring) {
  if (!lpSD) return CREATESURFACE_ERR;
  std::int32_t result = DisplayIsD3D()
                            ? CreateFileSurfaceD3D(lpSD, fileName, colourKey, bpp, systemMemory, softwareTexture,
                                                   shared, paletteMap, mirrorCellWidth, mirrorCellHeight, restoring)
                            : CreateFileSurfaceDD(lpSD, fileName, colourKey, bpp, systemMemory, paletteMap,
                                                  mirrorCellWidth, mirrorCellHeight);
  // Whatever failed, the record holds no picture rather than part of one.
  if (result != SURFACE_OK && !restoring) DDReleaseSurface(lpSD);
  return result;
}

bool CheckSurfaceResult(std::int32_t code) {
  switch (code) {
    case SURFACE_OK:
      return true;
    case CREATESURFACE_ERR:
      Log("CREATESURFACE_ERR");
      return false;
    case LOADIMAGE_ERR:
      Log("LOADIMAGE_ERR");
      return false;
    case SETCOLORKEY_ERR:
      Log("SETCOLORKEY_ERR");
      return false;
    // A mirror failure or a device's own failure result: the record has no picture either.
    default:
      return false;
  }
}

bool LoadSurfaceList(DDSURFACEDATA* table, const std::int32_t* indices, std::int32_t count) {
  if (count < 1) return true;
  if (!table || !indices || !g_DisplayParams.descriptors) return false;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t i = indices[k];
    if (i < 0 || i >= g_DisplayParams.count) {
      LogF("LoadSurfaceList Err index = %d", i);
      return false;
    }
    DDReleaseSurface(&table[i]);
    const SurfaceDescriptor& d = g_DisplayParams.descriptors[i];
    if (d.name != "E") {
      std::int32_t result =
          CreateSurfaceFromFile(&table[i], d.name, d.colourKey, g_DisplayParams.bpp, d.systemMemory, d.softwareTexture,
                                d.shared, d.paletteMap, d.mirrorCellWidth, d.mirrorCellHeight, 0);
      if (!CheckSurfaceResult(result) && !d.optional) {
        ErrMesBox(SJ("%s の読み込みに失敗！").c_str(), d.name.c_str());
        return false;
      }
    } else if (!DDCreateSurface(&table[i], d.width, d.height, d.colourKey, d.systemMemory, d.softwareTexture, d.shared,
                                0) &&
               !d.optional) {
      MemoryErrBox();
      return false;
    }
  }
  return true;
}

bool LoadSurfaceList(DDSURFACEDATA* table, std::initializer_list<std::int32_t> indices) {
  return LoadSurfaceList(table, indices.begin(), static_cast<std::int32_t>(indices.size()));
}

bool BitmapExceedsSize(std::int32_t* exceeds, const std::string& fileName, std::int32_t maxWidth,
                       std::int32_t maxHeight) {
  if (DisplayIsD3D()) return true;
  if (exceeds) *exceeds = 0;
  std::optional<cBitmap> bitmap = LoadBmpFile(fileName);
  if (!bitmap) return false;
  if (exceeds && (bitmap->Width() > maxWidth || bitmap->Height() > maxHeight)) *exceeds = 1;
  return true;
}

void DDReleaseSurface(DDSURFACEDATA* lpSD) {
  if (!lpSD) return;
  if (lpSD->lpDT) {
    if (lpSD->shared) {
      lpSD->lpDT.reset();
      return;
    }
    D3DSurfacePart& dt = *lpSD->lpDT;
    dt.texture.reset();
    dt.vertexBuffer.reset();
    dt.lpSystemSurface.reset();
    dt.lpSurface.reset();
    const std::int32_t number = dt.textureNumber;
    for (auto it = g_DynamicSurfaces.begin(); it != g_DynamicSurfaces.end();) {
      DDSURFACEDATA* listed = *it;
      if (listed == lpSD || (listed->lpDT && listed->lpDT->textureNumber == number)) {
        if (listed->lpDT) listed->lpDT->listed = false;
        it = g_DynamicSurfaces.erase(it);
      } else {
        ++it;
      }
    }
    lpSD->lpDT.reset();
  }
  lpSD->lpDDPart.reset();
}

void ResolveSharedSurface(DDSURFACEDATA** p) {
  if (DisplayIsD3D() && p && *p && (*p)->shared) *p = (*p)->shared;
}

void RoundTextureSize(std::int32_t* width, std::int32_t* height) {
  constexpr std::int32_t kLargest = std::int32_t{1} << 30;
  std::int32_t w = std::clamp(*width, 1, kLargest);
  std::int32_t h = std::clamp(*height, 1, kLargest);
  if (g_DisplayContext && g_DisplayContext->needsPow2) {
    w = static_cast<std::int32_t>(std::bit_ceil(static_cast<std::uint32_t>(w)));
    h = static_cast<std::int32_t>(std::bit_ceil(static_cast<std::uint32_t>(h)));
  }
  if (g_DisplayContext && g_DisplayContext->squareOnly) w = h = std::max(w, h);
  *width = w;
  *height = h;
}

bool CheckMaxTextureSize(std::int32_t width, std::int32_t height) {
  if (!g_DisplayContext) return true;
  const D3DCaps& caps = g_DisplayContext->caps;
  bool fits = true;
  if (width > caps.maxTextureWidth) {
    ReportLog(SJ("このビデオカードでは横幅%dを超える画像はサポートされていません！").c_str(), caps.maxTextureWidth);
    fits = false;
  }
  if (height > caps.maxTextureHeight) {
    ReportLog(SJ("このビデオカードでは縦幅%dを超える画像はサポートされていません！").c_str(), caps.maxTextureHeight);
    fits = false;
  }
  return fits;
}
