// Direct3D surfaces: every record is a texture (a render target, or a system-memory texture when the
// video memory runs out) with its own vertex buffer, or a shared record showing another's texture.
#include "platform/display/bitmap_surface.h"
#include "platform/display/display.h"
#include "platform/display/surface_backends.h"
#include "platform/host/bmp.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

// The render target the context draws to now, as a device surface.
std::shared_ptr<cPixelBuffer> ContextRenderTarget() {
  DDSURFACEDATA* target = g_DisplayContext->renderTarget;
  if (target && target->lpDT && target->lpDT->lpSurface) return target->lpDT->lpSurface;
  std::shared_ptr<cPixelBuffer> backBuffer;
  lpDevice->GetBackBuffer(&backBuffer);
  return backBuffer;
}

// Step 1 of both creations: the record's kind, name and flags, its texture number and vertex buffer.
HRESULT PrepareRecord(DDSURFACEDATA* lpSD, const char* kind, const std::string& fileName, std::int32_t colourKey,
                      std::int32_t softwareTexture, std::int32_t shared, std::int32_t restoring) {
  AllocSurfaceParts(lpSD);
  D3DSurfacePart& dt = *lpSD->lpDT;
  if (restoring) return D3D_OK;
  lpSD->szSurfaceType = kind;
  lpSD->szFileName = fileName;
  dt.software = softwareTexture;
  dt.lpSurface.reset();
  dt.lpSystemSurface.reset();
  dt.texture.reset();
  dt.colourKey = colourKey == 1;
  if (shared) return D3D_OK;
  dt.textureNumber = g_DisplayContext->textureCounter++;
  return lpDevice->CreateVertexBuffer(&dt.vertexBuffer);
}

// Level 0 and its description; a render target also gets its system-memory copy.
HRESULT TakeLevel(DDSURFACEDATA* lpSD, std::int32_t restoring) {
  D3DSurfacePart& dt = *lpSD->lpDT;
  dt.lpSurface = GetSurfaceLevel(dt.texture);
  dt.levelDesc = dt.texture->Desc();
  if (dt.software || restoring) return D3D_OK;
  return lpDevice->CreateOffscreenPlainSurface(dt.levelDesc.width, dt.levelDesc.height, dt.levelDesc.format,
                                               &dt.lpSystemSurface);
}

}  // namespace

bool CreateEmptySurfaceD3D(DDSURFACEDATA* lpSD, std::int32_t width, std::int32_t height, std::int32_t colourKey,
                           std::int32_t systemMemory, std::int32_t softwareTexture, std::int32_t shared,
                           std::int32_t restoring) {
  if (!lpDevice) return false;
  DisplayContext& context = *g_DisplayContext;
  if (FAILED(PrepareRecord(lpSD, "OffScreen", "E", colourKey, softwareTexture, shared, restoring))) {
    ReportLog("CreateVertexBuffer Err");
    return false;
  }
  D3DSurfacePart& dt = *lpSD->lpDT;
  dt.renderTarget = 1;
  if (shared) {
    lpSD->width = lpSD->textureWidth = width;
    lpSD->height = lpSD->textureHeight = height;
    lpSD->systemMemory = systemMemory;
    return true;
  }

  std::int32_t textureWidth = width, textureHeight = height;
  RoundTextureSize(&textureWidth, &textureHeight);
  if (!CheckMaxTextureSize(textureWidth, textureHeight))
    ReportLog("%s", SJ("上記の理由でテクスチャの描画が失敗する可能性があります。(空)").c_str());

  if (!dt.software) {
    HRESULT hr = lpDevice->CreateTexture(textureWidth, textureHeight, D3DUSAGE_RENDERTARGET, context.textureFormat,
                                         D3DPool::Default, &dt.texture);
    if (hr == D3DERR_OUTOFVIDEOMEMORY) {
      ReportLog("%s", SJ("VRAM不足のためシステムメモリにテクスチャを作成します。(空)").c_str());
      dt.software = 1;
    } else if (FAILED(hr)) {
      return false;
    }
  }
  if (dt.software && !restoring) {
    dt.renderTarget = 0;
    HRESULT hr = lpDevice->CreateTexture(textureWidth, textureHeight, D3DUSAGE_DYNAMIC, context.textureFormat,
                                         D3DPool::SystemMem, &dt.texture);
    if (FAILED(hr)) {
      ReportLog("D3DXCreateTexture Err hr = %x", static_cast<unsigned>(hr));
      ShowTextureFailure();
      return false;
    }
  }
  // A system-memory texture survives a reset; one that is missing cannot be taken up again.
  if (!dt.texture) return false;
  if (HRESULT hr = TakeLevel(lpSD, restoring); FAILED(hr)) {
    ReportLog("CreateOffscreenPlainSurface Err hr = %x", static_cast<unsigned>(hr));
    ShowTextureFailure();
    return false;
  }
  lpSD->width = width;
  lpSD->height = height;
  lpSD->textureWidth = dt.levelDesc.width;
  lpSD->textureHeight = dt.levelDesc.height;

  if (dt.renderTarget) {
    lpDevice->SetRenderTarget(dt.lpSurface);
    lpDevice->Clear(nullptr, context.opaqueKey32);
    lpDevice->SetRenderTarget(ContextRenderTarget());
  }
  if (!restoring) ListDynamicSurface(lpSD);
  return true;
}

std::int32_t CreateFileSurfaceD3D(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t colourKey,
                                  std::int32_t bpp, std::int32_t systemMemory, std::int32_t softwareTexture,
                                  std::int32_t shared, std::int32_t paletteMap, std::int32_t mirrorCellWidth,
                                  std::int32_t mirrorCellHeight, std::int32_t restoring) {
  if (!lpDevice) return CREATESURFACE_ERR;
  DisplayContext& context = *g_DisplayContext;
  if (HRESULT hr = PrepareRecord(lpSD, "OffScreenFromFile", fileName, colourKey, softwareTexture, shared, restoring);
      FAILED(hr)) {
    ReportLog("CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
    return CREATESURFACE_ERR;
  }
  D3DSurfacePart& dt = *lpSD->lpDT;
  std::optional<cBitmap> bitmap = LoadBmpFile(fileName);
  if (!bitmap) {
    if (!fileName.empty()) ReportLog("LoadImage Err %s", fileName.c_str());
    return LOADIMAGE_ERR;
  }
  dt.renderTarget = 1;
  if (shared) {
    lpSD->width = lpSD->textureWidth = bitmap->Width();
    lpSD->height = lpSD->textureHeight = bitmap->Height();
    lpSD->mirrorCellWidth = mirrorCellWidth;
    lpSD->mirrorCellHeight = mirrorCellHeight;
    lpSD->systemMemory = systemMemory;
    return SURFACE_OK;
  }

  std::int32_t textureWidth = bitmap->Width(), textureHeight = bitmap->Height();
  RoundTextureSize(&textureWidth, &textureHeight);
  if (!CheckMaxTextureSize(textureWidth, textureHeight))
    ReportLog(SJ("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)").c_str(), fileName.c_str());

  // Pixels of the key colour become transparent black in every file texture; the record's key flag
  // only decides how draws treat it.
  const bool sixteen = bpp == 16;
  const std::uint32_t key = 0xFF000000u | (std::uint32_t{sixteen ? context.key16R : context.keyR} << 16) |
                            (std::uint32_t{sixteen ? context.key16G : context.keyG} << 8) |
                            (sixteen ? context.key16B : context.keyB);
  if (!dt.software) {
    HRESULT hr = CreateTextureFromBitmap(*lpDevice, *bitmap, textureWidth, textureHeight, D3DUSAGE_RENDERTARGET,
                                         context.textureFormat, D3DPool::Default, key, &dt.texture);
    if (hr == D3DERR_OUTOFVIDEOMEMORY) {
      ReportLog(SJ("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)").c_str(), fileName.c_str());
      dt.software = 1;
    } else if (FAILED(hr)) {
      return hr;
    }
  }
  if (dt.software && !restoring) {
    dt.renderTarget = 0;
    HRESULT hr = CreateTextureFromBitmap(*lpDevice, *bitmap, textureWidth, textureHeight, D3DUSAGE_DYNAMIC,
                                         context.textureFormat, D3DPool::SystemMem, key, &dt.texture);
    if (FAILED(hr)) {
      ReportLog("D3DXCreateTextureFromFileEx Err %x %s", static_cast<unsigned>(hr), fileName.c_str());
      ShowTextureFailure();
      return hr;
    }
  }
  if (!dt.texture) return CREATESURFACE_ERR;
  if (HRESULT hr = TakeLevel(lpSD, restoring); FAILED(hr)) {
    ReportLog("CreateOffscreenPlainSurface Err hr = %x %s", static_cast<unsigned>(hr), fileName.c_str());
    ShowTextureFailure();
    return hr;
  }
  lpSD->width = bitmap->Width();
  lpSD->height = bitmap->Height();
  lpSD->textureWidth = dt.levelDesc.width;
  lpSD->textureHeight = dt.levelDesc.height;

  if (mirrorCellWidth != 0 || mirrorCellHeight != 0) {
    DDSURFACEDATA unflipped;
    std::int32_t result = CreateSurfaceFromFile(&unflipped, fileName, colourKey, bpp, systemMemory, softwareTexture, 0,
                                                paletteMap, 0, 0, 0);
    bool mirrored = result == SURFACE_OK && CreateMirror(lpSD, &unflipped, mirrorCellWidth, mirrorCellHeight);
    DDReleaseSurface(&unflipped);
    if (!mirrored) {
      ReportLog("CreateMirror Err");
      return MIRROR_ERR;
    }
  }
  if (!restoring) ListDynamicSurface(lpSD);
  lpSD->mirrorCellWidth = mirrorCellWidth;
  lpSD->mirrorCellHeight = mirrorCellHeight;
  lpSD->systemMemory = systemMemory;
  return SURFACE_OK;
}
